#include "app/app_harness.h"

#include <gtest/gtest.h>

#include "app/templates/templates.h"

namespace qelvo::app::testing {

void FakePage::CreateWindow(ui::Backend& backend, ui::Dialog& parent, ui::Rect place) {
  record_.templateId = template_.id;
  record_.place = place;
  window_ = backend.CreateDialog(template_, *this, &parent, place);
}

void FakePage::OnShown(bool shown) {
  log_.push_back(std::to_string(index_) + (shown ? "+" : "-"));
}

std::unique_ptr<ui::PageWindow> FakePageFactory::MakePage(int pageIndex,
                                                          const ui::DialogTemplate& tmpl) {
  templateIds.push_back(tmpl.id);
  return std::make_unique<FakePage>(pageIndex, tmpl, records.at(pageIndex), log);
}

bool FakeConnection::ConnectController() {
  ++calls;
  for (const auto& port : badSettingPorts)
    if (onSettingError)
      onSettingError(port);
  return answersFromCall != 0 && calls >= answersFromCall;
}

SimulatedLine::SimulatedLine(const sim::Identity& identity)
    : controller_(std::make_unique<sim::SimulatedController>(identity)) {
  controller_->SetPaced(false);
  auto started = sim::PtyServer::Start(*controller_);
  if (!started.server)
    ADD_FAILURE() << "simulator did not start: " << started.error;
  server_ = std::move(started.server);
}

int SimulatedLine::Count(std::uint8_t command) const {
  int n = 0;
  for (const auto& r : controller_->RequestLog())
    if (r.command() == command)
      ++n;
  return n;
}

std::vector<std::uint8_t> SimulatedLine::Commands() const {
  std::vector<std::uint8_t> commands;
  for (const auto& r : controller_->RequestLog())
    commands.push_back(r.command());
  return commands;
}

AppHarness::AppHarness() : state(std::make_unique<RunState>()) {}

void AppHarness::UseSimulator(const sim::Identity& identity) {
  line = std::make_unique<SimulatedLine>(identity);
  serialConnection =
      std::make_unique<SerialConnection>(state->link, std::vector<std::string>{line->path()});
}

ControllerConnection& AppHarness::connection() {
  if (serialConnection)
    return *serialConnection;
  return fakeConnection;
}

ui::ModalRecord AppHarness::RunMainWindow(
    const std::function<void(ui::HeadlessDialog&)>& whileShown) {
  mainWindow = std::make_unique<CQelvoUserAppDlg>(backend, *state, connection(), pages);
  backend.OnModal(kMainWindowTemplateId, whileShown);
  mainWindow->DoModal();
  backend.OnModal(kMainWindowTemplateId, nullptr);
  const auto& runs = backend.ModalRuns();
  return runs.empty() ? ui::ModalRecord{} : runs.back();
}

std::vector<std::u16string> AppHarness::MessageTexts() const {
  std::vector<std::u16string> texts;
  for (const auto& m : backend.Messages())
    texts.push_back(m.text);
  return texts;
}

}  // namespace qelvo::app::testing
