#include <ostream>

#include "cli/command.h"
#include "cli/messages.h"
#include "link/port_list.h"

namespace qelvo::cli {

int RunPorts(CommandContext& context) {
  if (!context.words.empty())
    return UsageError(context, "ports", "takes no arguments");
  for (const std::string& path : link::EnumeratePorts())
    context.out << path << "\n";
  return kExitSuccess;
}

}  // namespace qelvo::cli
