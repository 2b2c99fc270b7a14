#include <sys/ioctl.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <iostream>
#include <memory>
#include <optional>

#include "cli/command.h"
#include "cli/loaded_controller.h"
#include "cli/messages.h"
#include "cli/monitor_render.h"
#include "cli/monitor_view.h"
#include "cli/stop_signals.h"
#include "cli/tick_csv_log.h"
#include "cli/tick_stamp.h"
#include "monitor/monitor_tick.h"
#include "monitor/tick_schedule.h"

namespace qelvo::cli {
namespace {

struct MonitorOptions {
  ImageSource source;
  long long count = 0;  // 0: until a stop signal
  std::string csvPath;
};

bool ParseCount(const std::string& text, long long& count) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), count);
  return ec == std::errc() && end == text.data() + text.size() && count > 0;
}

// Empty with a message in `error` when a word is wrong.
std::optional<MonitorOptions> TakeMonitorOptions(std::vector<std::string> words,
                                                 std::string& error) {
  MonitorOptions options;
  if (!TakeConnectionOptions(words, options.source.connection, error))
    return std::nullopt;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const bool hasValue = i + 1 < words.size();
    if (words[i] == "--count") {
      if (!hasValue || !ParseCount(words[++i], options.count)) {
        error = "--count needs a positive whole number";
        return std::nullopt;
      }
    } else if (words[i] == "--csv") {
      if (!hasValue) {
        error = "--csv needs a FILE";
        return std::nullopt;
      }
      options.csvPath = words[++i];
    } else {
      error = "unexpected '" + words[i] + "'";
      return std::nullopt;
    }
  }
  return options;
}

// Only the process's own standard output can be a terminal; a stream a caller hands in is
// written line by line.
bool DrawsOnTerminal(const std::ostream& out) {
  return &out == &std::cout && ::isatty(STDOUT_FILENO) == 1;
}

// The terminal's size now; the usual 24 by 80 when it does not say.
TerminalSize CurrentTerminalSize() {
  TerminalSize size;
  winsize window{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &window) == 0 && window.ws_row > 0 && window.ws_col > 0)
    size = {window.ws_row, window.ws_col};
  return size;
}

}  // namespace

int RunMonitor(CommandContext& context) {
  std::string error;
  std::optional<MonitorOptions> options = TakeMonitorOptions(context.words, error);
  if (!options)
    return UsageError(context, "monitor", error);

  // Before the simulated controller's thread starts, so that only the watcher takes them.
  const BlockedStopSignals signals;
  const IgnoredBrokenPipe brokenPipe;
  std::optional<LoadedImage> loaded = LoadImage(options->source, context.err);
  if (!loaded)
    return kExitFailure;
  const catalogue::DescriptionTables& tables = *loaded->tables;
  link::Link& link = loaded->session->link();
  // A stop signal cancels a waiting exchange, so a silent controller does not hold it up.
  StopSignalWatcher stop([&link] {
    if (link.port != nullptr)
      link.port->Cancel();
  });

  MonitorView view(tables);
  std::unique_ptr<TickCsvLog> log;
  if (!options->csvPath.empty()) {
    log = TickCsvLog::Create(options->csvPath, view, error);
    if (!log) {
      context.err << error << "\n";
      return kExitFailure;
    }
  }

  const bool terminal = DrawsOnTerminal(context.out);
  monitor::MonitorTick tick;
  bool anyAnswered = false;
  bool logFailed = false;
  long long ticks = 0;
  const auto start = std::chrono::steady_clock::now();
  // The first tick falls due one period after the start, as on the page.
  for (std::int64_t index = 1; options->count == 0 || ticks < options->count;) {
    if (stop.WaitUntil(start + index * monitor::kTickPeriod))
      break;
    const TickStamp stamp =
        MakeTickStamp(std::chrono::system_clock::now(), std::chrono::steady_clock::now() - start);
    const monitor::TickTexts texts = tick.RunTick(link, tables);
    // A tick the stop signal broke off shows a failure that is none.
    if (stop.StopRequested())
      break;
    anyAnswered = anyAnswered || texts.answered;
    view.Update(texts, tick.buffer());
    if (terminal)
      context.out << TerminalFrame(view, stamp, CurrentTerminalSize(), ticks == 0);
    else
      context.out << PlainLine(view, stamp);
    context.out.flush();
    ++ticks;
    if (log && !log->Append(view, stamp, error)) {
      context.err << error << "\n";
      logFailed = true;
      break;
    }
    if (!context.out)
      break;
    index = monitor::NextTickIndex(index, std::chrono::steady_clock::now() - start,
                                   monitor::kTickPeriod);
  }

  if (log && !logFailed && !log->Finish(error)) {
    context.err << error << "\n";
    logFailed = true;
  }
  if (logFailed)
    return kExitFailure;
  if (ticks > 0 && !anyAnswered) {
    context.err << kNoController << "\n";
    return kExitFailure;
  }
  return kExitSuccess;
}

}  // namespace qelvo::cli
