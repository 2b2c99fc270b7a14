#include <ostream>

#include "cli/backup_file.h"
#include "cli/command.h"
#include "cli/controller_write.h"
#include "cli/image_file.h"
#include "cli/image_or_backup.h"
#include "cli/loaded_controller.h"
#include "cli/messages.h"
#include "cli/page_listing.h"
#include "cli/setting_change.h"
#include "cli/setting_name.h"

namespace qelvo::cli {
namespace {

constexpr std::string_view kArrow = " \u2192 ";
constexpr std::string_view kNothingWritten = "Nothing was written.";

struct Assignment {
  std::string name;
  std::string value;
};

// NAME=VALUE, split at the first '=', so a value may hold '=' but a caption may not: such a
// row is named by its address.
bool TakeAssignments(const std::vector<std::string>& words, std::vector<Assignment>& assignments,
                     std::string& error) {
  for (const std::string& word : words) {
    const std::size_t equals = word.find('=');
    if (equals == std::string::npos || equals == 0) {
      error = "'" + word + "' is no NAME=VALUE";
      return false;
    }
    assignments.push_back({word.substr(0, equals), word.substr(equals + 1)});
  }
  if (assignments.empty()) {
    error = "needs at least one NAME=VALUE";
    return false;
  }
  return true;
}

}  // namespace

int RunSet(CommandContext& context) {
  ImageSource source;
  std::string error;
  std::vector<Assignment> assignments;
  const bool verify = std::erase(context.words, std::string("--verify")) > 0;
  if (!TakeImageSource(context.words, source, error) ||
      !TakeAssignments(context.words, assignments, error))
    return UsageError(context, "set", error);
  if (verify && !source.imagePath.empty())
    return UsageError(context, "set", "--verify reads a controller back, not a file");

  // The file is written back in the form it came in: a raw image or a backup.
  std::optional<BackupHeader> backupHeader;
  if (!source.imagePath.empty()) {
    ImageOrBackup file = ReadImageOrBackup(source.imagePath);
    if (!file.image) {
      context.err << file.error << "\n";
      return kExitFailure;
    }
    backupHeader = std::move(file.backup);
  }
  std::optional<LoadedImage> loaded = LoadImage(source, context.err);
  if (!loaded)
    return kExitFailure;

  // Every value is checked before anything is written, so a refused one leaves it all alone.
  const std::vector<ListedRow> rows = ListShownRows(*loaded->tables, loaded->image);
  link::CalibrationImage image = loaded->image;
  std::vector<std::string> applied;
  bool refused = false;
  for (const Assignment& assignment : assignments) {
    const SettingLookup lookup = FindShownSetting(*loaded->tables, rows, assignment.name);
    if (lookup.row == nullptr) {
      context.err << lookup.error << "\n";
      refused = true;
      continue;
    }
    const SettingChange change =
        ApplySetting(*loaded->tables, *lookup.row, assignment.value, image);
    if (!change.applied) {
      context.err << change.refusal << "\n";
      refused = true;
      continue;
    }
    applied.push_back(lookup.row->caption + ": " + change.oldValue + std::string(kArrow) +
                      change.newValue);
  }
  if (refused) {
    context.err << kNothingWritten << "\n";
    return kExitFailure;
  }
  for (const std::string& line : applied)
    context.out << line << "\n";
  if (image == loaded->image) {
    context.out << "Every value is as it was: nothing to write.\n";
    return kExitSuccess;
  }

  if (!source.imagePath.empty()) {
    std::string text(image.begin(), image.end());
    if (backupHeader)
      text = FormatBackup({*backupHeader, image}, ListShownRows(*loaded->tables, image));
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    if (!WriteFileAtomically(source.imagePath, bytes, error)) {
      context.err << error << "\n";
      return kExitFailure;
    }
    return kExitSuccess;
  }
  return WriteToController(loaded->session->link(), image, context.out, context.err,
                           {verify, loaded->tables.get()})
             ? kExitSuccess
             : kExitFailure;
}

}  // namespace qelvo::cli
