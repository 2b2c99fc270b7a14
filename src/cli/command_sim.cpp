#include <charconv>
#include <ostream>

#include "cli/command.h"
#include "cli/messages.h"
#include "cli/stop_signals.h"
#include "sim/options.h"
#include "sim/pty_server.h"

namespace qelvo::cli {
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
