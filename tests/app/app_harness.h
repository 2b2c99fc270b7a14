#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/controller_connection.h"
#include "app/main_window.h"
#include "app/page_factory.h"
#include "app/run_state.h"
#include "sim/controller.h"
#include "sim/pty_server.h"
#include "ui/headless/headless_backend.h"
#include "ui/page_window.h"

namespace qelvo::app::testing {

// The notifications of every page in one log, in order: "1+" page 1 shown, "4-" page 4 hidden.
using NotificationLog = std::vector<std::string>;

// What a fake page knows and records; it outlives the page.
struct FakePageRecord {
  bool valid = true;  // what PageValid answers
  int reloads = 0;    // TablesReloaded calls
  int templateId = 0;
  ui::Rect place{};
};

// A page that records its notifications; whether it accepted its values is up to the test.
class FakePage final : public ui::PageWindow {
 public:
  FakePage(int index, const ui::DialogTemplate& tmpl, FakePageRecord& record, NotificationLog& log)
      : index_(index), template_(tmpl), record_(record), log_(log) {}

  void CreateWindow(ui::Backend& backend, ui::Dialog& parent, ui::Rect place) override;
  void OnShown(bool shown) override;
  bool PageValid() const override { return record_.valid; }
  void TablesReloaded() override { ++record_.reloads; }

 private:
  int index_;
  const ui::DialogTemplate& template_;
  FakePageRecord& record_;
  NotificationLog& log_;
};

class FakePageFactory final : public PageFactory {
 public:
  std::unique_ptr<ui::PageWindow> MakePage(int pageIndex, const ui::DialogTemplate& tmpl) override;

  // By page index 1..5.
  std::array<FakePageRecord, 6> records{};
  NotificationLog log;
  std::vector<int> templateIds;  // in the order the pages were asked for
};

// A connection whose outcome the test decides; counts its attempts.
class FakeConnection final : public ControllerConnection {
 public:
  bool ConnectController() override;

  int calls = 0;
  int answersFromCall = 0;                   // 0: never answers
  std::vector<std::string> badSettingPorts;  // reported at every attempt
};

// The simulated controller on a pseudo-terminal, unpaced so the tests run quickly.
class SimulatedLine {
 public:
  explicit SimulatedLine(const sim::Identity& identity = {});
  sim::SimulatedController& controller() { return *controller_; }
  std::string path() const { return server_->PortPath(); }

  // Requests of this command since the log was cleared.
  int Count(std::uint8_t command) const;
  // Every request's command byte since the log was cleared.
  std::vector<std::uint8_t> Commands() const;
  void ClearLog() { controller_->ClearRequestLog(); }

 private:
  std::unique_ptr<sim::SimulatedController> controller_;
  std::unique_ptr<sim::PtyServer> server_;
};

// A main window on the headless dialogs with fake pages.
struct AppHarness {
  AppHarness();
  // The connection goes to a simulated controller of this identity.
  void UseSimulator(const sim::Identity& identity = {});

  // Runs the main window; `whileShown` acts as the user once it is shown. Returns the
  // modal run's record.
  ui::ModalRecord RunMainWindow(const std::function<void(ui::HeadlessDialog&)>& whileShown);

  // The texts of every message box shown, in order.
  std::vector<std::u16string> MessageTexts() const;

  ui::HeadlessBackend backend;
  std::unique_ptr<RunState> state;
  FakePageFactory pages;
  FakeConnection fakeConnection;
  std::unique_ptr<SimulatedLine> line;
  std::unique_ptr<SerialConnection> serialConnection;
  std::unique_ptr<CQelvoUserAppDlg> mainWindow;

  ControllerConnection& connection();
};

}  // namespace qelvo::app::testing
