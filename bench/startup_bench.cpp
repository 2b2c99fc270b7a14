// Start-up to the Vehicle page against the simulated controller paced at 19200 baud: the
// application's own start-up on the headless dialogs (the GUI's code path without Qt), and
// the GUI itself on Qt's offscreen platform when it is built and can report its start-up.
// Beside the time: what the line itself takes for the connect and the read, the resident
// memory once started and the CPU used while idle.
//
//   startup_bench [--idle SECONDS] [--gui PATH | --no-gui]

#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "bench/child_process.h"
#include "bench/exchange_model.h"
#include "bench/headless_startup.h"
#include "bench/process_figures.h"
#include "bench/trace_file.h"
#include "link/commands.h"
#include "sim/controller.h"
#include "sim/pty_server.h"

namespace {

using namespace qelvo;
using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;
using namespace std::chrono_literals;

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kDefaultIdleSeconds = 3;
constexpr int kMaxIdleSeconds = 60;

// A start-up takes about a second; one that has not got there by then is stuck.
constexpr auto kStartupDeadline = 20s;
constexpr auto kEndGrace = 2s;

// Hidden: the benchmark runs the headless start-up as a process of its own.
constexpr std::string_view kHeadlessChild = "--headless-child";
// The GUI answers the motor warning itself and says when the Vehicle page is first shown.
constexpr std::string_view kGuiReportOption = "--report-startup";
constexpr std::string_view kGuiShownLine = "Vehicle page shown";

// Pauses the start-up takes beside its exchanges: the line settles after the first
// configuration pass of each port tried, and the main window waits after connecting.
constexpr auto kConnectSettlePause = 20ms;
constexpr auto kAfterConnectPause = 100ms;

constexpr double kExcessTargetMs = 250;
constexpr double kResidentTargetMb = 80;
constexpr double kIdleCpuTargetPercent = 1;
constexpr double kKbPerMb = 1024;
constexpr double kPercent = 100;

#ifdef QELVO_GUI_PROGRAM
constexpr const char* kBuiltGui = QELVO_GUI_PROGRAM;
#else
constexpr const char* kBuiltGui = "";
#endif

// What the line takes for a start-up, from the frames it traced.
struct StartupModel {
  bench::LineTime connect;
  bench::LineTime afterConnect;
  bench::LineTime read;
  // Measured: from the first request to the last reply, and the settle pause before it.
  double firstToLastFrameMs = 0;
  bench::LineTime beforeFirstFrame;

  bench::LineTime Total() const {
    bench::LineTime total = connect;
    total += afterConnect;
    total += read;
    return total;
  }
};

std::optional<StartupModel> ModelFromTrace(const std::string& traceFile) {
  bench::ExchangeRecorder recorder;
  if (!bench::ReadTraceFile(traceFile, recorder) || recorder.exchanges().empty())
    return std::nullopt;
  StartupModel model;
  model.afterConnect = bench::FixedPause(kAfterConnectPause);
  model.firstToLastFrameMs = Millis(*recorder.lastFrame() - *recorder.firstFrame()).count();
  model.beforeFirstFrame = bench::FixedPause(kConnectSettlePause);
  for (const bench::ExchangeRecord& exchange : recorder.exchanges()) {
    if (exchange.command == link::command::kHandshake) {
      model.connect += bench::FixedPause(kConnectSettlePause);
      model.connect += bench::ModelOf(exchange);
    } else {
      model.read += bench::ModelOf(exchange);
    }
  }
  return model;
}

// One program's start-up as measured.
struct Startup {
  std::string what;
  std::string failure;  // empty when it reached the Vehicle page
  double totalMs = 0;
  std::optional<double> toMainMs;
  std::optional<StartupModel> model;
  std::optional<double> residentMb;
  std::optional<double> idleCpuPercent;
};

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() /
          ("qelvo-startup-bench-" + std::to_string(::getpid()) + "-" + name))
      .string();
}

void RemoveFile(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

std::string FirstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

// The lines of a report, by name ("name value").
struct Reports {
  std::map<std::string, std::string> values;

  void Add(const bench::ChildProcess::Line& line) {
    const auto space = line.text.find(' ');
    const std::string name = line.text.substr(0, space);
    values[name] = space == std::string::npos ? std::string() : line.text.substr(space + 1);
  }
  std::optional<double> Number(const std::string& name) const {
    const auto found = values.find(name);
    if (found == values.end())
      return std::nullopt;
    double value = 0;
    const std::string& text = found->second;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size())
      return std::nullopt;
    return value;
  }
};

// Why a program ended before it got to the Vehicle page.
std::string EndedEarly(bench::ChildProcess& child) {
  const auto status = child.Wait(Clock::now() + kEndGrace);
  if (!status)
    return "no Vehicle page within " + std::to_string(kStartupDeadline.count()) + " s";
  std::string why = "it ended with status " + std::to_string(*status);
  const std::string error = FirstLine(child.errorOutput());
  return error.empty() ? why : why + ": " + error;
}

// From a time of ours to a steady-clock reading of the child's (the same clock).
double MsBetween(Clock::time_point from, double childNanoseconds) {
  const auto to = Clock::time_point(std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double, std::nano>(childNanoseconds)));
  return Millis(to - from).count();
}

Startup RunHeadless(const std::string& port, std::chrono::milliseconds idle) {
  Startup result;
  result.what = "headless";
  const std::string trace = TempPath("headless.trace");
  std::string error;
  auto child = bench::ChildProcess::Start(
      {"/proc/self/exe", std::string(kHeadlessChild), port, trace, std::to_string(idle.count())},
      {}, error);
  if (!child) {
    result.failure = error;
    return result;
  }
  Reports reports;
  const auto deadline = Clock::now() + kStartupDeadline + idle;
  while (const auto line = child->ReadLine(deadline))
    reports.Add(*line);

  const auto shown = reports.Number("shown");
  if (reports.values.contains("failed")) {
    result.failure = reports.values["failed"];
  } else if (!shown) {
    result.failure = EndedEarly(*child);
  } else {
    child->Wait(Clock::now() + kEndGrace);
    result.totalMs = MsBetween(child->startedAt(), *shown);
    if (const auto main = reports.Number("main"))
      result.toMainMs = MsBetween(child->startedAt(), *main);
    if (const auto kb = reports.Number("rss_kb"))
      result.residentMb = *kb / kKbPerMb;
    const auto cpu = reports.Number("idle_cpu_s");
    const auto wall = reports.Number("idle_wall_s");
    if (cpu && wall && *wall > 0) {
      result.idleCpuPercent = kPercent * *cpu / *wall;
    }
    result.model = ModelFromTrace(trace);
  }
  RemoveFile(trace);
  return result;
}

// Empty with `note` set when the program cannot report its start-up.
std::optional<Startup> RunGui(const std::string& program, std::chrono::milliseconds idle,
                              std::string& note) {
  Startup result;
  result.what = "GUI (offscreen)";
  const std::string trace = TempPath("gui.trace");
  std::string error;
  auto child = bench::ChildProcess::Start(
      {program, "--simulate", "--trace", trace, std::string(kGuiReportOption)},
      {"QT_QPA_PLATFORM=offscreen"}, error);
  if (!child) {
    result.failure = error;
    return result;
  }
  std::optional<Clock::time_point> shownAt;
  const auto deadline = Clock::now() + kStartupDeadline;
  while (const auto line = child->ReadLine(deadline)) {
    if (line->text == kGuiShownLine) {
      shownAt = line->when;
      break;
    }
  }
  if (!shownAt) {
    result.failure = EndedEarly(*child);
    child->End(kEndGrace);
    RemoveFile(trace);
    const auto status = child->Wait(Clock::now());
    if (status == kExitUsage && child->errorOutput().find(kGuiReportOption) != std::string::npos) {
      note = "GUI: not timed, " + program + " has no " + std::string(kGuiReportOption) +
             " option to report its start-up";
      return std::nullopt;
    }
    return result;
  }
  result.totalMs = Millis(*shownAt - child->startedAt()).count();
  if (const auto kb = bench::ResidentKb(child->pid()))
    result.residentMb = static_cast<double>(*kb) / kKbPerMb;
  const auto cpuBefore = bench::CpuSeconds(child->pid());
  const auto idleFrom = Clock::now();
  std::this_thread::sleep_for(idle);
  const auto cpuAfter = bench::CpuSeconds(child->pid());
  const double wall = std::chrono::duration<double>(Clock::now() - idleFrom).count();
  if (cpuBefore && cpuAfter) {
    result.idleCpuPercent = kPercent * std::max(0.0, *cpuAfter - *cpuBefore) / wall;
  }
  result.model = ModelFromTrace(trace);
  child->End(kEndGrace);
  RemoveFile(trace);
  return result;
}

// ---- The table ----

using Cell = std::optional<double>;

void PrintRow(const char* what, const char* unit, const std::vector<Cell>& cells,
              const char* target) {
  std::printf("%-40s %-4s", what, unit);
  for (const Cell& cell : cells) {
    if (cell)
      std::printf(" %16.2f", *cell);
    else
      std::printf(" %16s", "-");
  }
  std::printf("   %s\n", target);
}

template <typename Field>
std::vector<Cell> Cells(const std::vector<Startup>& runs, Field field) {
  std::vector<Cell> cells;
  for (const Startup& run : runs)
    cells.push_back(run.failure.empty() ? field(run) : Cell());
  return cells;
}

Cell ModelPart(const Startup& run, bench::LineTime StartupModel::*part) {
  if (!run.model)
    return std::nullopt;
  return ((*run.model).*part).overlappedMs;
}

void PrintTable(const std::vector<Startup>& runs, std::chrono::milliseconds idle) {
  std::printf("start-up to the Vehicle page, simulated controller paced at 19200 baud 8N1\n");
  if (const auto load = bench::LoadAverage())
    std::printf("load average over the last minute: %.2f on %ld cores\n", *load,
                ::sysconf(_SC_NPROCESSORS_ONLN));
  std::printf(
      "line model: frame bytes at 0.5208 ms, the commands' pauses, 5 ms before each "
      "read, +20 ms after\na reply under 19 bytes, pauses running while bytes are on "
      "the wire (link_bench's 'overlapped')\n\n");
  std::printf("%-40s %-4s", "", "");
  for (const Startup& run : runs)
    std::printf(" %16s", run.what.c_str());
  std::printf("   target\n");

  PrintRow("process start to the Vehicle page", "ms",
           Cells(runs, [](const Startup& r) -> Cell { return r.totalMs; }), "");
  PrintRow("  process start to main()", "ms",
           Cells(runs, [](const Startup& r) { return r.toMainMs; }), "");
  PrintRow("  connect, line model", "ms",
           Cells(runs, [](const Startup& r) { return ModelPart(r, &StartupModel::connect); }), "");
  PrintRow("  pause after connecting", "ms",
           Cells(runs, [](const Startup& r) { return ModelPart(r, &StartupModel::afterConnect); }),
           "");
  PrintRow("  read, line model", "ms",
           Cells(runs, [](const Startup& r) { return ModelPart(r, &StartupModel::read); }), "");
  PrintRow("  line model in all", "ms",
           Cells(runs,
                 [](const Startup& r) -> Cell {
                   if (!r.model)
                     return std::nullopt;
                   return r.model->Total().overlappedMs;
                 }),
           "");
  PrintRow("  line model in all, sequential", "ms",
           Cells(runs,
                 [](const Startup& r) -> Cell {
                   if (!r.model)
                     return std::nullopt;
                   return r.model->Total().sequentialMs;
                 }),
           "");
  PrintRow("  first request to last reply, measured", "ms",
           Cells(runs,
                 [](const Startup& r) -> Cell {
                   if (!r.model)
                     return std::nullopt;
                   return r.model->firstToLastFrameMs;
                 }),
           "");
  PrintRow("  the program's own (all the rest)", "ms",
           Cells(runs,
                 [](const Startup& r) -> Cell {
                   if (!r.model)
                     return std::nullopt;
                   return r.totalMs - r.model->firstToLastFrameMs -
                          r.model->beforeFirstFrame.overlappedMs;
                 }),
           "");
  char excessTarget[32];
  std::snprintf(excessTarget, sizeof excessTarget, "<= +%.0f ms", kExcessTargetMs);
  PrintRow("excess over the line model", "ms",
           Cells(runs,
                 [](const Startup& r) -> Cell {
                   if (!r.model)
                     return std::nullopt;
                   return r.totalMs - r.model->Total().overlappedMs;
                 }),
           excessTarget);
  char residentTarget[32];
  std::snprintf(residentTarget, sizeof residentTarget, "< %.0f MB", kResidentTargetMb);
  PrintRow("resident memory after start-up", "MB",
           Cells(runs, [](const Startup& r) { return r.residentMb; }), residentTarget);
  char idleWhat[64];
  std::snprintf(idleWhat, sizeof idleWhat, "CPU while idle for %.1f s",
                std::chrono::duration<double>(idle).count());
  char idleTarget[32];
  std::snprintf(idleTarget, sizeof idleTarget, "< %.0f %% of a core", kIdleCpuTargetPercent);
  PrintRow(idleWhat, "%", Cells(runs, [](const Startup& r) { return r.idleCpuPercent; }),
           idleTarget);

  for (const Startup& run : runs) {
    if (!run.failure.empty())
      std::printf("%s: did not reach the Vehicle page: %s\n", run.what.c_str(),
                  run.failure.c_str());
  }
}

// ---- Options ----

struct Options {
  std::chrono::milliseconds idle = std::chrono::seconds(kDefaultIdleSeconds);
  std::string gui = kBuiltGui;
  bool ok = true;
};

bool ParseSeconds(std::string_view text, std::chrono::milliseconds& idle) {
  int seconds = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (error != std::errc{} || end != text.data() + text.size() || seconds < 1 ||
      seconds > kMaxIdleSeconds)
    return false;
  idle = std::chrono::seconds(seconds);
  return true;
}

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc && options.ok; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--idle" && i + 1 < argc) {
      options.ok = ParseSeconds(argv[++i], options.idle);
    } else if (arg == "--gui" && i + 1 < argc) {
      options.gui = argv[++i];
      options.ok = !options.gui.empty();
    } else if (arg == "--no-gui") {
      options.gui.clear();
    } else {
      options.ok = false;
    }
  }
  return options;
}

int Usage(const char* program) {
  std::fprintf(stderr,
               "usage: %s [--idle SECONDS] [--gui PATH | --no-gui]\n"
               "  --idle   how long to watch the idle program, 1 to %d s (default %d)\n"
               "  --gui    the window program to time (default: the one built here)\n",
               program, kMaxIdleSeconds, kDefaultIdleSeconds);
  return kExitUsage;
}

std::optional<std::chrono::milliseconds> Milliseconds(std::string_view text) {
  long long ms = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), ms);
  if (error != std::errc{} || end != text.data() + text.size() || ms < 0)
    return std::nullopt;
  return std::chrono::milliseconds(ms);
}

int Run(const Options& options) {
  sim::SimulatedController controller;
  controller.SetPaced(true);
  auto started = sim::PtyServer::Start(controller);
  if (!started.server) {
    std::fprintf(stderr, "cannot start the simulated controller: %s\n", started.error.c_str());
    return kExitFailed;
  }
  std::vector<Startup> runs;
  runs.push_back(RunHeadless(started.server->PortPath(), options.idle));

  std::string guiNote;
  if (options.gui.empty()) {
    guiNote = "GUI: not timed (no window program built, or --no-gui)";
  } else if (::access(options.gui.c_str(), X_OK) != 0) {
    guiNote = "GUI: not timed, " + options.gui + " is not there";
  } else {
    if (auto gui = RunGui(options.gui, options.idle, guiNote))
      runs.push_back(*gui);
  }
  PrintTable(runs, options.idle);
  if (!guiNote.empty())
    std::printf("%s\n", guiNote.c_str());

  bool allReached = true;
  for (const Startup& run : runs)
    allReached = allReached && run.failure.empty();
  return allReached ? 0 : kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && argv[1] == kHeadlessChild) {
    const auto idle = Milliseconds(argv[4]);
    if (!idle)
      return kExitUsage;
    return bench::RunHeadlessStartup(argv[2], argv[3], *idle);
  }
  const Options options = ParseOptions(argc, argv);
  if (!options.ok)
    return Usage(argv[0]);
  return Run(options);
}
