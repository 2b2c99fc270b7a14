#include <ostream>

#include "cli/command.h"
#include "cli/connection.h"
#include "cli/controller_write.h"
#include "cli/image_or_backup.h"
#include "cli/loaded_controller.h"
#include "cli/messages.h"

namespace qelvo::cli {

int RunWrite(CommandContext& context) {
  ConnectionOptions connection;
  std::string error;
  if (!TakeConnectionOptions(context.words, connection, error))
    return UsageError(context, "write", error);
  std::vector<std::string>& words = context.words;
  const bool verify = std::erase(words, std::string("--verify")) > 0;
  if (words.size() != 1)
    return UsageError(context, "write", "needs one FILE");

  // The file is checked before any port is touched.
  ImageOrBackup file = ReadImageOrBackup(words[0]);
  if (!file.image) {
    context.err << file.error << "\n";
    return kExitFailure;
  }
  // An image no table describes is still written as the window would; its check then
  // compares bytes only.
  const TablesForImage tables = verify ? LoadTablesFor(*file.image) : TablesForImage{};
  auto session = ControllerSession::Open(connection, context.err, error);
  if (!session) {
    context.err << error << "\n";
    return kExitFailure;
  }
  const WriteVerification verification{verify, tables.tables.get()};
  return WriteToController(session->link(), *file.image, context.out, context.err, verification)
             ? kExitSuccess
             : kExitFailure;
}

}  // namespace qelvo::cli
