#include <chrono>
#include <ctime>
#include <ostream>

#include "cli/backup_file.h"
#include "cli/backup_name.h"
#include "cli/command.h"
#include "cli/image_file.h"
#include "cli/loaded_controller.h"
#include "cli/messages.h"
#include "cli/page_listing.h"

namespace qelvo::cli {
namespace {

std::tm LocalTimeNow() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  ::localtime_r(&now, &local);
  return local;
}

std::string CreatedText(const std::tm& local) {
  char text[40];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %z", &local);
  return text;
}

}  // namespace

int RunBackup(CommandContext& context) {
  ImageSource source;
  std::string error;
  if (!TakeConnectionOptions(context.words, source.connection, error))
    return UsageError(context, "backup", error);
  std::string outputPath;
  for (std::size_t i = 0; i < context.words.size(); ++i) {
    if ((context.words[i] == "-o" || context.words[i] == "--output") &&
        i + 1 < context.words.size()) {
      outputPath = context.words[++i];
    } else {
      return UsageError(context, "backup", "unexpected '" + context.words[i] + "'");
    }
  }

  // A controller no table describes is refused, as the window refuses it: its backup could
  // not be restored.
  std::optional<LoadedImage> loaded = LoadImage(source, context.err);
  if (!loaded)
    return kExitFailure;

  const std::tm now = LocalTimeNow();
  const Backup backup{
      DescribeImage(loaded->image, loaded->tables->calibrationTableId, CreatedText(now)),
      loaded->image};
  const std::string text = FormatBackup(backup, ListShownRows(*loaded->tables, loaded->image));
  if (outputPath.empty())
    outputPath = DefaultBackupName(loaded->image, now);
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                            text.size());
  if (!WriteFileAtomically(outputPath, bytes, error)) {
    context.err << error << "\n";
    return kExitFailure;
  }
  context.out << "Backup of " << ModuleNameText(loaded->image) << " written to " << outputPath
              << "\n";
  return kExitSuccess;
}

}  // namespace qelvo::cli
