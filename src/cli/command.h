#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace qelvo::cli {

// What a command gets: the words after its name, and the three standard streams.
struct CommandContext {
  std::vector<std::string> words;
  std::ostream& out;
  std::ostream& err;
  std::istream& in;
};

int RunPorts(CommandContext& context);
int RunRead(CommandContext& context);
int RunWrite(CommandContext& context);
int RunSim(CommandContext& context);
int RunTable(CommandContext& context);
int RunShow(CommandContext& context);
int RunMonitor(CommandContext& context);
int RunZero(CommandContext& context);
int RunSet(CommandContext& context);
int RunBackup(CommandContext& context);
int RunRestore(CommandContext& context);
int RunDiff(CommandContext& context);

// Reports a usage error of `command` and returns the usage exit status.
int UsageError(CommandContext& context, std::string_view command, std::string_view problem);

}  // namespace qelvo::cli
