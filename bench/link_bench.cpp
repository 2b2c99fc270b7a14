// The controller link against the simulated controller, paced at 19200 baud, over a
// pseudo-terminal: each procedure's time next to what the protocol itself costs on the line.
//
//   link_bench [--repeat N] [--realtime]
//
// --repeat: runs of each procedure (default 5). --realtime: the benchmark and the simulated
// controller run at real-time priority, so that a busy machine's scheduling stays out of
// the figures (needs the right to; without it the run goes on at normal priority).

#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench/exchange_model.h"
#include "bench/process_figures.h"
#include "link/commands.h"
#include "link/connect.h"
#include "link/packet.h"
#include "sim/controller.h"
#include "sim/pty_server.h"

namespace {

using namespace qelvo;
using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;
using namespace std::chrono_literals;

constexpr int kDefaultRepeat = 5;
constexpr int kMaxRepeat = 1000;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
// Low among the real-time priorities: above every normal thread, below the kernel's own.
constexpr int kRealtimePriority = 10;

// The tool adds nothing of its own beyond scheduling noise; giving up on silence may run late
// by a little more, as it is ten polls in a row.
constexpr double kTargetRatio = 1.03;
constexpr double kSilenceTargetRatio = 1.02;

// Settles the line after the first configuration pass of a connect.
constexpr auto kConnectSettlePause = 20ms;

struct Procedure {
  std::string name;
  // Runs the procedure once; false when it did not end as it should.
  std::function<bool()> run;
  // A pause it takes outside its exchanges.
  std::chrono::milliseconds fixedPause{0};
  double targetRatio = kTargetRatio;
  // The controller hears nothing while this one runs.
  bool silentController = false;
  // Runs before each timed run, outside the time.
  std::function<void()> before;
};

sim::Faults SilentController() {
  sim::Faults faults;
  faults.silent = true;
  return faults;
}

Procedure Timed(std::string name, std::function<bool()> run) {
  Procedure procedure;
  procedure.name = std::move(name);
  procedure.run = std::move(run);
  return procedure;
}

struct Figures {
  double meanMs = 0;
  double minMs = std::numeric_limits<double>::infinity();
  bench::LineTime model;  // the mean over the runs
  bool failed = false;
};

Figures Measure(const Procedure& procedure, int repeat, bench::ExchangeRecorder& recorder) {
  Figures figures;
  for (int i = 0; i < repeat; ++i) {
    if (procedure.before)
      procedure.before();
    recorder.Clear();
    const auto start = Clock::now();
    const bool ok = procedure.run();
    const double ms = Millis(Clock::now() - start).count();
    figures.failed = figures.failed || !ok;
    figures.meanMs += ms / repeat;
    figures.minMs = std::min(figures.minMs, ms);
    bench::LineTime model = bench::ModelOf(recorder.exchanges());
    model += bench::FixedPause(procedure.fixedPause);
    figures.model.sequentialMs += model.sequentialMs / repeat;
    figures.model.overlappedMs += model.overlappedMs / repeat;
  }
  return figures;
}

void PrintHeader(int repeat, bool realtime) {
  std::printf(
      "controller link, 19200 baud 8N1, paced simulated controller on a pseudo-terminal, "
      "%d runs each, %s priority\n",
      repeat, realtime ? "real-time" : "normal");
  if (const auto load = bench::LoadAverage())
    std::printf("load average over the last minute: %.2f on %ld cores\n", *load,
                ::sysconf(_SC_NPROCESSORS_ONLN));
  std::printf(
      "model: frame bytes at 0.5208 ms, the commands' pauses, 5 ms before each read, +20 ms\n"
      "after a reply under 19 bytes; 'overlapped' lets the pauses run while bytes are on the "
      "wire\n\n");
  std::printf("%-26s %9s %9s %9s %7s %11s %7s %9s\n", "operation", "mean ms", "min ms", "model ms",
              "ratio", "overlap ms", "ratio", "target");
}

void PrintRow(const Procedure& procedure, const Figures& f) {
  const double ratio = f.meanMs / f.model.sequentialMs;
  const double overlapRatio = f.meanMs / f.model.overlappedMs;
  const bool met = !f.failed && std::max(ratio, overlapRatio) <= procedure.targetRatio;
  std::printf("%-26s %9.2f %9.2f %9.2f %7.3f %11.2f %7.3f   <= %.2f  %s\n", procedure.name.c_str(),
              f.meanMs, f.minMs, f.model.sequentialMs, ratio, f.model.overlappedMs, overlapRatio,
              procedure.targetRatio, f.failed ? "FAILED" : (met ? "met" : "missed"));
}

// Threads started afterwards, the simulated controller's among them, inherit it.
bool TakeRealtimePriority() {
  sched_param param{};
  param.sched_priority = kRealtimePriority;
  return ::sched_setscheduler(0, SCHED_FIFO, &param) == 0;
}

bool ParseRepeat(std::string_view text, int& repeat) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || value < 1 || value > kMaxRepeat)
    return false;
  repeat = value;
  return true;
}

int Usage(const char* program) {
  std::fprintf(stderr, "usage: %s [--repeat N] [--realtime]   (N from 1 to %d, default %d)\n",
               program, kMaxRepeat, kDefaultRepeat);
  return kExitUsage;
}

int Run(int repeat, bool realtime) {
  if (realtime && !TakeRealtimePriority()) {
    std::fprintf(stderr, "no real-time priority (%s); running at normal priority\n",
                 std::strerror(errno));
    realtime = false;
  }
  sim::SimulatedController controller;
  controller.SetPaced(true);
  auto started = sim::PtyServer::Start(controller);
  if (!started.server) {
    std::fprintf(stderr, "cannot start the simulated controller: %s\n", started.error.c_str());
    return kExitFailed;
  }
  const std::string path = started.server->PortPath();

  bench::ExchangeRecorder recorder;
  link::Link link;
  link.trace = recorder.Hook();

  PrintHeader(repeat, realtime);
  bool allOk = true;
  const auto measureAndPrint = [&](const Procedure& procedure) {
    if (procedure.silentController)
      controller.SetFaults(SilentController());
    const Figures figures = Measure(procedure, repeat, recorder);
    controller.SetFaults(sim::Faults{});
    PrintRow(procedure, figures);
    allOk = allOk && !figures.failed;
  };

  // Each connect has the port to itself and lets it go again.
  Procedure connect = Timed("connect (one port)", [&] {
    link::Connector connector(link, {path});
    const bool connected = connector.ConnectController();
    link.port = nullptr;  // the connector closes its port as it goes
    return connected;
  });
  connect.fixedPause = kConnectSettlePause;
  measureAndPrint(connect);

  // The rest run over one connection, as in the program.
  link::Connector connector(link, {path});
  if (!connector.ConnectController()) {
    std::fprintf(stderr, "no controller answered on %s\n", path.c_str());
    return kExitFailed;
  }
  link::CalibrationImage image = link::FreshImage();
  link::MonitorBuffer monitor{};
  std::vector<Procedure> procedures;

  procedures.push_back(Timed("ReadImage", [&] { return link::ReadImage(link, image); }));
  procedures.push_back(Timed("model check + WriteImage", [&] {
    return link::CheckModel(link, image) == link::ModelCheck::Match &&
           link::WriteImage(link, image);
  }));
  procedures.push_back(
      Timed("monitor tick (3 blocks)", [&] { return link::ExchangeMonitorBlocks(link, monitor); }));
  procedures.push_back(
      Timed("zero-point reading", [&] { return link::ReadZeroPoints(link).has_value(); }));
  // The request goes out before the clock starts: what is timed is the receive giving up.
  Procedure silence = Timed("ReceivePacket, silent",
                            [&] { return link.port != nullptr && !link::ReceivePacket(link); });
  silence.targetRatio = kSilenceTargetRatio;
  silence.silentController = true;
  silence.before = [&] {
    link::PutRequest(link, link::command::kMonitorBlock1);
    link::SendPacket(link);
  };
  procedures.push_back(silence);

  for (const Procedure& procedure : procedures)
    measureAndPrint(procedure);
  return allOk ? 0 : kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
  int repeat = kDefaultRepeat;
  bool realtime = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--repeat" && i + 1 < argc) {
      if (!ParseRepeat(argv[++i], repeat))
        return Usage(argv[0]);
    } else if (arg.starts_with("--repeat=")) {
      if (!ParseRepeat(arg.substr(arg.find('=') + 1), repeat))
        return Usage(argv[0]);
    } else if (arg == "--realtime") {
      realtime = true;
    } else {
      return Usage(argv[0]);
    }
  }
  return Run(repeat, realtime);
}
