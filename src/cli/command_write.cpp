#include <ostream>

#include "cli/command.h"
#include "cli/connection.h"
#include "cli/controller_write.h"
#include "cli/image_file.h"
#include "cli/messages.h"

namespace qelvo::cli {

int RunWrite(CommandContext& context) {
  ConnectionOptions connection;
  std::string error;
  if (!TakeConnectionOptions(context.words, connection, error))
    return UsageError(context, "write", error);
  if (context.words.size() != 1)
    return UsageError(context, "write", "needs one FILE");

  // The file is checked before any port is touched.
  ImageFileResult file = ReadImageFile(context.words[0]);
  if (!file.image) {
    context.err << file.error << "\n";
    return kExitFailure;
  }
  auto session = ControllerSession::Open(connection, context.err, error);
  if (!session) {
    context.err << error << "\n";
    return kExitFailure;
  }
  return WriteToController(session->link(), *file.image, context.out, context.err) ? kExitSuccess
                                                                                   : kExitFailure;
}

}  // namespace qelvo::cli
