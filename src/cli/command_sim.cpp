#include <signal.h>
#include <time.h>

#include <charconv>
#include <ostream>

#include "cli/command.h"
#include "cli/messages.h"
#include "sim/options.h"
#include "sim/pty_server.h"

namespace qelvo::cli {
namespace {

// Blocks SIGINT and SIGTERM for the whole process while alive, so that they can be waited
// for instead of ending the program before the pty and its link are cleaned up.
class BlockedStopSignals {
 public:
  BlockedStopSignals() {
    sigemptyset(&set_);
    sigaddset(&set_, SIGINT);
    sigaddset(&set_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set_, &previous_);
  }
  ~BlockedStopSignals() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
  BlockedStopSignals(const BlockedStopSignals&) = delete;
  BlockedStopSignals& operator=(const BlockedStopSignals&) = delete;

  // Waits for a stop signal, or for `seconds` when positive.
  void Wait(int seconds) const {
    if (seconds > 0) {
      const timespec limit{seconds, 0};
      sigtimedwait(&set_, nullptr, &limit);
    } else {
      int signal = 0;
      sigwait(&set_, &signal);
    }
  }

 private:
  sigset_t set_{};
  sigset_t previous_{};
};

}  // namespace

int RunSim(CommandContext& context) {
  // --seconds N ends the run by itself (scripts and tests); the rest are simulator options.
  int seconds = 0;
  std::vector<std::string> words;
  for (std::size_t i = 0; i < context.words.size(); ++i) {
    if (context.words[i] == "--seconds" && i + 1 < context.words.size()) {
      const std::string& value = context.words[++i];
      auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), seconds);
      if (ec != std::errc() || end != value.data() + value.size() || seconds <= 0)
        return UsageError(context, "sim", "--seconds needs a positive whole number");
    } else {
      words.push_back(context.words[i]);
    }
  }
  sim::SimOptionsResult parsed = sim::ParseSimOptions(words);
  if (!parsed.ok())
    return UsageError(context, "sim", parsed.error);

  BlockedStopSignals signals;
  auto controller = sim::MakeController(parsed.options);
  auto started = sim::PtyServer::Start(*controller, parsed.options.linkPath);
  if (!started.server) {
    context.err << "Cannot start the simulated controller: " << started.error << "\n";
    return kExitFailure;
  }
  context.out << started.server->PortPath() << std::endl;
  signals.Wait(seconds);
  return kExitSuccess;
}

}  // namespace qelvo::cli
