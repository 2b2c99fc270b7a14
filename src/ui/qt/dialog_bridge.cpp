#include "ui/qt/dialog_bridge.h"

#include <QEvent>
#include <QLineEdit>

#include "ui/qt/qt_dialog.h"

namespace qelvo::ui {

void DialogBridge::Clicked(int id) {
  if (owner_)
    owner_->ButtonClicked(id);
}

bool DialogBridge::eventFilter(QObject* watched, QEvent* event) {
  if (!owner_)
    return false;
  switch (event->type()) {
    case QEvent::FocusIn:
      if (qobject_cast<QLineEdit*>(watched))
        owner_->EditFocused(watched);
      break;
    case QEvent::Show:
    case QEvent::Hide:
      if (watched == owner_->Widget())
        owner_->WindowShownOrHidden();
      break;
    default:
      break;
  }
  return false;
}

}  // namespace qelvo::ui
