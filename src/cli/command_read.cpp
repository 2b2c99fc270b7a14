#include <ostream>

#include "cli/command.h"
#include "cli/connection.h"
#include "cli/hex_dump.h"
#include "cli/image_file.h"
#include "cli/messages.h"
#include "link/commands.h"

namespace qelvo::cli {

int RunRead(CommandContext& context) {
  ConnectionOptions connection;
  std::string error;
  if (!TakeConnectionOptions(context.words, connection, error))
    return UsageError(context, "read", error);
  std::string outputPath;
  for (std::size_t i = 0; i < context.words.size(); ++i) {
    if ((context.words[i] == "-o" || context.words[i] == "--output") &&
        i + 1 < context.words.size()) {
      outputPath = context.words[++i];
    } else {
      return UsageError(context, "read", "unexpected '" + context.words[i] + "'");
    }
  }

  auto session = ControllerSession::Open(connection, context.err, error);
  if (!session) {
    context.err << error << "\n";
    return kExitFailure;
  }
  link::CalibrationImage image = link::FreshImage();
  if (!link::ReadImage(session->link(), image)) {
    context.err << kReadError << "\n";
    return kExitFailure;
  }
  if (outputPath.empty()) {
    context.out << HexDump(image);
    return kExitSuccess;
  }
  if (!WriteFileAtomically(outputPath, image, error)) {
    context.err << error << "\n";
    return kExitFailure;
  }
  return kExitSuccess;
}

}  // namespace qelvo::cli
