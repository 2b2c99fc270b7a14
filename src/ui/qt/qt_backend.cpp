#include "ui/qt/qt_backend.h"

#include <QMetaObject>
#include <QObject>
#include <QPixmap>
#include <utility>

#include "ui/qt/message_box.h"
#include "ui/qt/qt_dialog.h"

namespace qelvo::ui {

QtBackend::QtBackend() : receiver_(std::make_unique<QObject>()) {}

QtBackend::~QtBackend() = default;

std::unique_ptr<Dialog> QtBackend::CreateDialog(const DialogTemplate& tmpl, DialogEvents& events,
                                                Dialog* parent, std::optional<Rect> place) {
  return std::make_unique<QtDialog>(tmpl, events, parent, place);
}

Answer QtBackend::ShowMessage(std::u16string_view text, Buttons buttons, Icon icon) {
  return RunMessageBox(text, buttons, icon);
}

void QtBackend::Post(std::function<void()> task) {
  if (!task)
    return;
  QMetaObject::invokeMethod(
      receiver_.get(), [task = std::move(task)] { task(); }, Qt::QueuedConnection);
}

bool QtBackend::SavePicture(const Dialog& dialog, const QString& path) {
  const auto* qtDialog = dynamic_cast<const QtDialog*>(&dialog);
  if (!qtDialog || !qtDialog->Widget())
    return false;
  return qtDialog->Widget()->grab().save(path, "PNG");
}

}  // namespace qelvo::ui
