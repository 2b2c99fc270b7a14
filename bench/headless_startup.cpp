#include "bench/headless_startup.h"

#include <cstdio>
#include <memory>
#include <thread>

#include "app/application.h"
#include "app/controller_connection.h"
#include "app/pages/standard_page_factory.h"
#include "app/run_state.h"
#include "app/templates/templates.h"
#include "bench/process_figures.h"
#include "link/trace_log.h"
#include "ui/headless/headless_backend.h"

namespace qelvo::bench {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kExitFailed = 1;
// Message texts are shown in the failure line up to this many characters.
constexpr std::size_t kShownMessageLength = 60;

void Report(const char* name, const std::string& value) {
  std::printf("%s %s\n", name, value.c_str());
  std::fflush(stdout);
}

// Latin text as it is; anything else as '?', which is enough to tell a message.
std::string Narrow(std::u16string_view text) {
  std::string narrow;
  for (char16_t c : text.substr(0, kShownMessageLength))
    narrow.push_back(c < 0x80 && c >= 0x20 ? static_cast<char>(c) : '?');
  return narrow;
}

}  // namespace

long long SteadyNanoseconds(Clock::time_point when) {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(when.time_since_epoch()).count();
}

int RunHeadlessStartup(const std::string& port, const std::string& traceFile,
                       std::chrono::milliseconds idle) {
  Report("main", std::to_string(SteadyNanoseconds(Clock::now())));

  std::string error;
  const auto trace = link::TraceLog::Create(traceFile, error);
  if (!trace) {
    Report("failed", error);
    return kExitFailed;
  }
  auto state = std::make_unique<app::RunState>();
  state->link.trace = trace->Hook();

  ui::HeadlessBackend backend;
  backend.QueueAnswers({ui::Answer::Yes});  // the motor warning
  app::SerialConnection connection(state->link, {port});
  app::StandardPageFactory pages(backend, *state);

  bool reached = false;
  backend.OnModal(app::kMainWindowTemplateId, [&](ui::HeadlessDialog& mainWindow) {
    const auto shownAt = Clock::now();
    const ui::HeadlessDialog* vehicle = backend.FindDialog(app::kVehiclePageTemplateId);
    if (vehicle == nullptr || !vehicle->IsShown()) {
      Report("failed", "the main window came up without the Vehicle page");
      mainWindow.EndModal(ui::kResultCancel);
      return;
    }
    reached = true;
    Report("shown", std::to_string(SteadyNanoseconds(shownAt)));
    Report("rss_kb", std::to_string(OwnResidentKb().value_or(-1)));

    // The user-interface thread waits here as in its event loop; any other thread runs on.
    const double cpuBefore = OwnCpuSeconds();
    const auto idleFrom = Clock::now();
    std::this_thread::sleep_for(idle);
    const double wall = std::chrono::duration<double>(Clock::now() - idleFrom).count();
    Report("idle_cpu_s", std::to_string(OwnCpuSeconds() - cpuBefore));
    Report("idle_wall_s", std::to_string(wall));
    mainWindow.EndModal(ui::kResultCancel);
  });

  app::CQelvoUserAppApp(backend, *state, connection, pages).Run();
  if (reached)
    return 0;
  std::string why = "the start-up ended before the main window came up";
  for (const ui::MessageRecord& message : backend.Messages())
    why += "; message \"" + Narrow(message.text) + "\"";
  Report("failed", why);
  return kExitFailed;
}

}  // namespace qelvo::bench
