#include "ui/headless/headless_backend.h"

#include <algorithm>
#include <utility>

namespace qelvo::ui {

HeadlessBackend::~HeadlessBackend() {
  for (HeadlessDialog* dialog : live_)
    dialog->BackendGone();
}

std::unique_ptr<Dialog> HeadlessBackend::CreateDialog(const DialogTemplate& tmpl,
                                                      DialogEvents& events, Dialog* parent,
                                                      std::optional<Rect> place) {
  auto dialog = std::make_unique<HeadlessDialog>(*this, tmpl, events, parent, place);
  live_.push_back(dialog.get());
  return dialog;
}

Answer HeadlessBackend::ShowMessage(std::u16string_view text, Buttons buttons, Icon icon) {
  return script_.AnswerBox(text, buttons, icon);
}

void HeadlessBackend::Post(std::function<void()> task) {
  posted_.Post(std::move(task));
}

void HeadlessBackend::OnModal(int templateId, ModalHandler handler) {
  if (handler)
    modalHandlers_[templateId] = std::move(handler);
  else
    modalHandlers_.erase(templateId);
}

ModalHandler HeadlessBackend::ModalHandlerFor(int templateId) const {
  const auto it = modalHandlers_.find(templateId);
  return it == modalHandlers_.end() ? ModalHandler() : it->second;
}

HeadlessDialog* HeadlessBackend::FindDialog(int templateId) const {
  for (auto it = live_.rbegin(); it != live_.rend(); ++it)
    if ((*it)->Template().id == templateId)
      return *it;
  return nullptr;
}

void HeadlessBackend::Forget(HeadlessDialog* dialog) {
  live_.erase(std::remove(live_.begin(), live_.end(), dialog), live_.end());
}

}  // namespace qelvo::ui
