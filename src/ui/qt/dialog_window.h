#pragma once

#include <QDialog>

#include "ui/dialog.h"

class QCloseEvent;
class QKeyEvent;

namespace qelvo::ui {

// A window of its own (top-level or pop-up). Its keys and close box go to the owner, who
// decides: Esc does not reject, Enter presses no default button, the close box closes nothing.
class DialogWindow final : public QDialog {
 public:
  DialogWindow(QWidget* parent, Qt::WindowFlags flags, DialogEvents& events);
  // The owner is going away; from now on the window tells nobody.
  void Detach() { events_ = nullptr; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  DialogEvents* events_;
};

}  // namespace qelvo::ui
