#include "e2e/whole_program.h"

#include <array>

#include "app/messages.h"
#include "app/templates/templates.h"

namespace qelvo::e2e {

namespace {

constexpr std::array<app::MessageId, 11> kCatalogue = {
    app::MessageId::kSettingError,
    app::MessageId::kNoController,
    app::MessageId::kReadError,
    app::MessageId::kWriteError,
    app::MessageId::kWriteSuccess,
    app::MessageId::kConfirmExit,
    app::MessageId::kVersionNotSupported,
    app::MessageId::kModelNotSupported,
    app::MessageId::kMotorWarning,
    app::MessageId::kModuleNameMismatch,
    app::MessageId::kModuleNameUnreadable,
};

constexpr std::array<int, 5> kPageTemplates = {
    app::kVehiclePageTemplateId, app::kControlPageTemplateId, app::kMotorPageTemplateId,
    app::kMonitorPageTemplateId, app::kComPageTemplateId,
};

}  // namespace

WholeProgram::WholeProgram(const std::string& portPath)
    : connection_(state->link, {portPath}), pages_(backend, *state) {}

app::RunEnd WholeProgram::Run(const std::vector<ui::Answer>& startAnswers, const User& user) {
  windowShown_ = false;
  headless.QueueAnswers({ui::Answer::Yes});
  headless.QueueAnswers(startAnswers);
  headless.OnModal(app::kMainWindowTemplateId, [&](ui::HeadlessDialog& window) {
    windowShown_ = true;
    if (user)
      user(window);
  });
  app::CQelvoUserAppApp program(backend, *state, connection_, pages_);
  const app::RunEnd end = program.Run();
  headless.OnModal(app::kMainWindowTemplateId, nullptr);
  return end;
}

ui::HeadlessDialog* WholeProgram::PageDialog(int pageIndex) const {
  if (pageIndex < 1 || pageIndex > static_cast<int>(kPageTemplates.size()))
    return nullptr;
  return headless.FindDialog(kPageTemplates[pageIndex - 1]);
}

unsigned MessageIdOf(std::u16string_view text) {
  for (app::MessageId id : kCatalogue)
    if (app::MessageOf(id).text == text)
      return static_cast<unsigned>(id);
  return 0;
}

std::vector<unsigned> MessageIds(const ui::HeadlessBackend& headless) {
  std::vector<unsigned> ids;
  for (const ui::MessageRecord& box : headless.Messages())
    ids.push_back(MessageIdOf(box.text));
  return ids;
}

}  // namespace qelvo::e2e
