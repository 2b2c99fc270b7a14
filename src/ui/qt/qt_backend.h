#pragma once

#include <QString>
#include <memory>

#include "ui/dialog.h"

class QObject;

namespace qelvo::ui {

// The dialog layer on Qt Widgets. Make it on the user-interface thread once a QApplication
// exists; let it go before the application does and after every thread that posts to it has
// stopped. Its dialogs may outlive it.
class QtBackend final : public Backend {
 public:
  QtBackend();
  ~QtBackend() override;
  QtBackend(const QtBackend&) = delete;
  QtBackend& operator=(const QtBackend&) = delete;

  // The dialog made is a QtDialog.
  std::unique_ptr<Dialog> CreateDialog(const DialogTemplate& tmpl, DialogEvents& events,
                                       Dialog* parent = nullptr,
                                       std::optional<Rect> place = std::nullopt) override;
  Answer ShowMessage(std::u16string_view text, Buttons buttons, Icon icon) override;
  // Queued to the user-interface thread's event loop; safe from any thread.
  void Post(std::function<void()> task) override;

  // Renders a dialog of this backend, shown or not, into a PNG file; false when the dialog
  // is not a QtDialog or the file cannot be written.
  static bool SavePicture(const Dialog& dialog, const QString& path);

 private:
  std::unique_ptr<QObject> receiver_;  // lives on the user-interface thread
};

}  // namespace qelvo::ui
