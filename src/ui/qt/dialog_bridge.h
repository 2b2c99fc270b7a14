#pragma once

#include <QObject>

namespace qelvo::ui {

class QtDialog;

// Carries Qt's events and signals of one dialog's widgets to the dialog. It outlives the
// dialog by a turn of the event loop, so a handler that destroys the dialog from inside a
// signal is safe; detached, it passes nothing on.
class DialogBridge final : public QObject {
 public:
  explicit DialogBridge(QtDialog& owner) : owner_(&owner) {}
  void Detach() { owner_ = nullptr; }
  void Clicked(int id);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QtDialog* owner_;
};

}  // namespace qelvo::ui
