// The live monitor against the simulated controller at 19200 baud over a pseudo-terminal:
// tick period and lateness, how long the user-interface thread is kept from its events,
// CPU use and how fast leaving the page stops a monitor whose controller fell silent.
//
// The controller runs in a child process so that the CPU figure is the program's alone.
//
//   monitor_bench [--ticks N]    (default 300 ticks, one minute)

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "catalogue/builtin_tables.h"
#include "catalogue/parser.h"
#include "link/commands.h"
#include "link/serial_port.h"
#include "monitor/monitor_page.h"
#include "monitor/tick_schedule.h"
#include "sim/controller.h"
#include "sim/pty_server.h"
#include "ui/headless/headless_backend.h"

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;
using namespace std::chrono_literals;

constexpr int kDefaultTicks = 300;
constexpr int kStopRepeats = 5;
// Long enough after a show for the first tick to be waiting for its reply.
constexpr auto kIntoSilentTick = 350ms;
constexpr int kSilenceSignal = SIGUSR1;

// ---- The controller's process ----

[[noreturn]] void ServeController(const std::string& linkPath) {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, kSilenceSignal);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  qelvo::sim::SimulatedController controller;
  controller.SetPaced(true);
  auto started = qelvo::sim::PtyServer::Start(controller, linkPath);
  if (!started.server) {
    std::fprintf(stderr, "simulated controller: %s\n", started.error.c_str());
    std::_Exit(1);
  }
  for (;;) {
    int signal = 0;
    sigwait(&signals, &signal);
    if (signal != kSilenceSignal)
      break;
    qelvo::sim::Faults silent;
    silent.silent = true;
    controller.SetFaults(silent);
  }
  started.server.reset();
  std::_Exit(0);
}

// ---- The user-interface thread's view ----

// The headless backend, timing every task posted to the user-interface thread.
class TimingBackend final : public qelvo::ui::Backend {
 public:
  std::unique_ptr<qelvo::ui::Dialog> CreateDialog(const qelvo::ui::DialogTemplate& tmpl,
                                                  qelvo::ui::DialogEvents& events,
                                                  qelvo::ui::Dialog* parent,
                                                  std::optional<qelvo::ui::Rect> place) override {
    return inner_.CreateDialog(tmpl, events, parent, place);
  }
  qelvo::ui::Answer ShowMessage(std::u16string_view text, qelvo::ui::Buttons buttons,
                                qelvo::ui::Icon icon) override {
    return inner_.ShowMessage(text, buttons, icon);
  }
  void Post(std::function<void()> task) override {
    inner_.Post([this, task = std::move(task)] {
      const auto start = Clock::now();
      task();
      longestTask_ = std::max(longestTask_, Clock::now() - start);
      ++tasks_;
    });
  }

  // One turn of the event loop: waits briefly for tasks and runs those queued.
  void Turn() {
    inner_.WaitForPosted(50ms);
    inner_.RunPosted();
  }
  Clock::duration longestTask() const { return longestTask_; }
  int tasks() const { return tasks_; }

 private:
  qelvo::ui::HeadlessBackend inner_;
  Clock::duration longestTask_{};  // user-interface thread only
  int tasks_ = 0;
};

// When each tick sent its first request.
class TickLog {
 public:
  void Sent(std::span<const std::uint8_t> frame, Clock::time_point when) {
    if (frame.empty() || frame[0] != qelvo::link::command::kMonitorBlock1)
      return;
    std::lock_guard lock(mutex_);
    starts_.push_back(when);
  }
  std::vector<Clock::time_point> Starts() const {
    std::lock_guard lock(mutex_);
    return starts_;
  }
  std::size_t Count() const {
    std::lock_guard lock(mutex_);
    return starts_.size();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<Clock::time_point> starts_;
};

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty())
    return 0;
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
  return values[index];
}

qelvo::ui::DialogTemplate PageTemplate() {
  qelvo::ui::DialogTemplate tmpl;
  tmpl.id = 110;
  tmpl.width = 400;
  tmpl.height = 300;
  auto control = [](int id, qelvo::ui::ControlKind kind, bool visible) {
    qelvo::ui::ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.visible = visible;
    return c;
  };
  tmpl.controls.push_back(control(1001, qelvo::ui::ControlKind::Label, true));
  for (int id = 1010; id <= 1103; id += 2) {
    tmpl.controls.push_back(control(id, qelvo::ui::ControlKind::Label, false));
    tmpl.controls.push_back(control(id + 1, qelvo::ui::ControlKind::Edit, false));
  }
  tmpl.controls.push_back(control(1104, qelvo::ui::ControlKind::Label, true));
  tmpl.controls.push_back(control(1105, qelvo::ui::ControlKind::Edit, true));
  return tmpl;
}

bool WaitForPath(const std::string& path, std::chrono::milliseconds timeout) {
  const auto until = Clock::now() + timeout;
  while (!std::filesystem::exists(path)) {
    if (Clock::now() > until)
      return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

void PrintFigure(const char* what, double value, const char* unit, const char* target) {
  std::printf("%-46s %10.3f %-4s (target %s)\n", what, value, unit, target);
}

int Run(int ticks) {
  const std::string linkPath =
      (std::filesystem::temp_directory_path() / ("qelvo-monitor-bench-" + std::to_string(getpid())))
          .string();
  const pid_t child = fork();
  if (child < 0) {
    std::perror("fork");
    return 1;
  }
  if (child == 0)
    ServeController(linkPath);
  auto stopChild = [child] {
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
  };

  auto tables = std::make_unique<qelvo::catalogue::DescriptionTables>();
  const auto text = qelvo::catalogue::BuiltinTableText(qelvo::catalogue::kMonitorTableId);
  if (text.empty() || !qelvo::catalogue::ParseMonitorTable(text, *tables).ok) {
    std::fprintf(stderr, "the built-in monitor table did not load\n");
    stopChild();
    return 1;
  }
  if (!WaitForPath(linkPath, 5s)) {
    std::fprintf(stderr, "the simulated controller did not start\n");
    stopChild();
    return 1;
  }
  auto port = qelvo::link::SerialPort::Open(linkPath);
  if (!port || !port->Configure().ok()) {
    std::fprintf(stderr, "cannot open %s\n", linkPath.c_str());
    stopChild();
    return 1;
  }

  TickLog log;
  qelvo::link::Link link;
  link.port = port.get();
  link.trace = [&log](qelvo::link::TraceDirection direction, std::span<const std::uint8_t> frame,
                      Clock::time_point when) {
    if (direction == qelvo::link::TraceDirection::Sent)
      log.Sent(frame, when);
  };

  TimingBackend backend;
  qelvo::ui::DialogTemplate parentTemplate;
  parentTemplate.id = 102;
  parentTemplate.style = qelvo::ui::WindowStyle::TopLevel;
  qelvo::ui::DialogEvents parentEvents;
  auto parent = backend.CreateDialog(parentTemplate, parentEvents, nullptr, std::nullopt);
  parent->Show();
  const qelvo::ui::DialogTemplate pageTemplate = PageTemplate();
  const bool imageValid = true;
  qelvo::monitor::CMonitor1Dlg page(
      pageTemplate, qelvo::monitor::MonitorContext{backend, link, *tables, imageValid});
  page.CreateWindow(backend, *parent, {91, 62, 400, 300});

  std::printf("monitor: %d ticks against the simulated controller at 19200 baud\n", ticks);
  const double cpuBefore = CpuSeconds();
  const auto shownAt = Clock::now();
  page.Show();
  while (log.Count() < static_cast<std::size_t>(ticks))
    backend.Turn();
  // The last tick's texts, then the stop.
  const auto lastStart = log.Starts().back();
  while (Clock::now() < lastStart + 50ms)
    backend.Turn();
  const auto wall = Clock::now() - shownAt;
  const double cpu = CpuSeconds() - cpuBefore;
  page.Hide();
  backend.Turn();

  const std::vector<Clock::time_point> starts = log.Starts();
  const auto period = qelvo::monitor::kTickPeriod;
  std::vector<double> lateness;
  for (const auto& start : starts) {
    const auto sinceShow = start - shownAt;
    lateness.push_back(Millis(sinceShow % period).count());
  }
  const double meanPeriod =
      Millis(starts.back() - starts.front()).count() / static_cast<double>(starts.size() - 1);
  const auto skipped = (starts.back() - shownAt) / period - static_cast<long>(starts.size());

  // Leaving the page while a tick waits for a controller that fell silent.
  kill(child, kSilenceSignal);
  std::this_thread::sleep_for(100ms);
  Clock::duration longestStop{};
  for (int i = 0; i < kStopRepeats; ++i) {
    page.Show();
    const auto until = Clock::now() + kIntoSilentTick;
    while (Clock::now() < until)
      backend.Turn();
    const auto before = Clock::now();
    page.Hide();
    longestStop = std::max(longestStop, Clock::now() - before);
    backend.Turn();
  }
  page.DestroyWindow();
  stopChild();

  std::printf("ticks %zu, skipped %ld, posted tasks run %d\n", starts.size(),
              static_cast<long>(std::max<long>(skipped, 0)), backend.tasks());
  PrintFigure("mean tick period", meanPeriod, "ms", "200 +/- 0.5 ms");
  PrintFigure("99th-percentile lateness", Percentile(lateness, 0.99), "ms", "< 5 ms");
  PrintFigure("longest lateness", Percentile(lateness, 1.0), "ms", "-");
  PrintFigure("longest posted task on the UI thread", Millis(backend.longestTask()).count(), "ms",
              "< 20 ms");
  PrintFigure("CPU while monitoring", 100.0 * cpu / std::chrono::duration<double>(wall).count(),
              "%", "< 2 % of a core");
  PrintFigure("leaving the page, controller silent (longest)", Millis(longestStop).count(), "ms",
              "< 50 ms");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int ticks = kDefaultTicks;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--ticks") == 0 && i + 1 < argc) {
      ticks = std::atoi(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: %s [--ticks N]\n", argv[0]);
      return 2;
    }
  }
  if (ticks < 2) {
    std::fprintf(stderr, "--ticks needs a number of at least 2\n");
    return 2;
  }
  return Run(ticks);
}
