#include "ui/qt/dialog_window.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace qelvo::ui {

DialogWindow::DialogWindow(QWidget* parent, Qt::WindowFlags flags, DialogEvents& events)
    : QDialog(parent, flags), events_(&events) {}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  // A focused push button has taken Enter and Space before they arrive here.
  switch (event->key()) {
    case Qt::Key_Escape:
      if (!plain)
        break;
      event->accept();
      if (events_)
        events_->OnCancelKey();
      return;
    case Qt::Key_Enter:
    case Qt::Key_Return:
      if (!plain)
        break;
      event->accept();
      if (events_)
        events_->OnOkKey();
      return;
    default:
      break;
  }
  // Past QDialog's own handling, which would reject or press the default button.
  QWidget::keyPressEvent(event);  // NOLINT(bugprone-parent-virtual-call)
}

void DialogWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (events_)
    events_->OnCloseRequested();
}

}  // namespace qelvo::ui
