#include "cli/cli.h"

#include <array>
#include <istream>
#include <ostream>

#include "cli/command.h"
#include "cli/messages.h"
#include "sim/options.h"

namespace qelvo::cli {
namespace {

struct CommandEntry {
  std::string_view name;
  int (*run)(CommandContext&);
  std::string_view synopsis;
};

constexpr auto kCommands = std::to_array<CommandEntry>({
    {"ports", RunPorts, "ports                      the serial ports of this machine"},
    {"read", RunRead, "read [-o FILE]             read the controller's 512-byte block"},
    {"write", RunWrite, "write FILE                 check the module name, write FILE, commit"},
    {"show", RunShow,
     "show [--image FILE]        the controller's identity and every shown setting"},
    {"table", RunTable,
     "table ID [--voltage CLASS] [--controller-voltage V]  a description table as TSV"},
    {"sim", RunSim, "sim [--link PATH] [options] serve a simulated controller on a pty"},
    {"monitor", RunMonitor,
     "monitor [--count N] [--csv FILE]  live values, status and faults every 200 ms"},
    {"zero", RunZero,
     "zero [--store]              read the zero points three times; --store writes the lowest"},
    {"set", RunSet,
     "set NAME=VALUE... [--image FILE]  change settings with the pages' range checks, write"},
    {"backup", RunBackup,
     "backup [-o FILE]           the controller's block in a checked text file"},
    {"restore", RunRestore,
     "restore FILE [--yes]       list what a backup changes, ask, check the model, write"},
    {"diff", RunDiff,
     "diff A B                   the rows that differ; A, B: files or 'controller'"},
});

void PrintUsage(std::ostream& out) {
  out << "Usage: qelvo COMMAND [options]\n\nCommands:\n";
  for (const CommandEntry& command : kCommands)
    out << "  " << command.synopsis << "\n";
  out << "\n--verify (write, restore, set, zero --store): after the Commit, read the block\n"
         "back and compare it with what was written.\n";
  out << "\nWhere the controller is (every command that talks to one):\n"
         "  --port PATH                a serial port to try (repeatable; replaces the list)\n"
         "  --simulate[=FAMILY:VERSION] an in-process simulated controller\n"
         "  --trace FILE               every frame sent and received, with times\n"
         "\nSimulated controller options:\n"
      << sim::SimOptionsHelp();
}

}  // namespace

int UsageError(CommandContext& context, std::string_view command, std::string_view problem) {
  context.err << "qelvo " << command << ": " << problem << "\n"
              << "Try 'qelvo --help'.\n";
  return kExitUsage;
}

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           std::istream& in) {
  if (args.empty()) {
    PrintUsage(err);
    return kExitUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintUsage(out);
    return kExitSuccess;
  }
  for (const CommandEntry& command : kCommands) {
    if (args[0] != command.name)
      continue;
    CommandContext context{{args.begin() + 1, args.end()}, out, err, in};
    return command.run(context);
  }
  err << "qelvo: unknown command '" << args[0] << "'. Try 'qelvo --help'.\n";
  return kExitUsage;
}

}  // namespace qelvo::cli
