#include <algorithm>
#include <cctype>
#include <istream>
#include <ostream>

#include "cli/command.h"
#include "cli/connection.h"
#include "cli/controller_write.h"
#include "cli/image_difference.h"
#include "cli/image_or_backup.h"
#include "cli/loaded_controller.h"
#include "cli/messages.h"

namespace qelvo::cli {
namespace {

constexpr std::string_view kQuestion = "Write these changes to the controller? [y/N] ";
constexpr std::size_t kModuleNameBytes = 8;

bool SameModuleName(const link::CalibrationImage& a, const link::CalibrationImage& b) {
  return std::equal(a.begin(), a.begin() + kModuleNameBytes, b.begin());
}

// Only a clear yes writes; an empty line, anything else or the end of the input is a no.
bool UserAgrees(std::istream& in, std::ostream& out) {
  out << kQuestion << std::flush;
  std::string answer;
  if (!std::getline(in, answer)) {
    out << "\n";
    return false;
  }
  const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
  const auto first = std::find_if_not(answer.begin(), answer.end(), blank);
  const auto last = std::find_if_not(answer.rbegin(), answer.rend(), blank).base();
  std::string word;
  for (auto c = first; c < last; ++c)
    word += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
  return word == "y" || word == "yes";
}

}  // namespace

int RunRestore(CommandContext& context) {
  ConnectionOptions connection;
  std::string error;
  if (!TakeConnectionOptions(context.words, connection, error))
    return UsageError(context, "restore", error);
  std::vector<std::string>& words = context.words;
  const bool yes =
      (std::erase(words, std::string("--yes")) + std::erase(words, std::string("-y"))) > 0;
  const bool verify = std::erase(words, std::string("--verify")) > 0;
  if (words.size() != 1)
    return UsageError(context, "restore", "needs one backup FILE");

  // The file, and whether this program can read its settings, are settled before any port
  // is touched.
  const ImageOrBackup file = ReadImageOrBackup(words[0]);
  if (!file.image) {
    context.err << file.error << "\n";
    return kExitFailure;
  }
  if (!file.backup) {
    context.err << words[0] << " is a raw image, not a backup: 'qelvo write' writes it.\n";
    return kExitFailure;
  }
  const link::CalibrationImage& restored = *file.image;
  const TablesForImage backupTables = LoadTablesFor(restored);
  if (!backupTables.tables) {
    context.err << backupTables.error << "\n";
    return kExitFailure;
  }

  auto session = ControllerSession::Open(connection, context.err, error);
  if (!session) {
    context.err << error << "\n";
    return kExitFailure;
  }
  link::CalibrationImage held = link::FreshImage();
  if (!link::ReadImage(session->link(), held)) {
    context.err << kReadError << "\n";
    return kExitFailure;
  }
  if (!SameModuleName(held, restored)) {
    context.err << kModuleNameMismatch << "\n"
                << "The backup is of " << ModuleNameText(restored) << ", the controller is "
                << ModuleNameText(held) << ".\n";
    return kExitFailure;
  }
  // Another software version may give the same bytes other meanings.
  const TablesForImage heldTables = LoadTablesFor(held);
  const int backupTable = backupTables.tables->calibrationTableId;
  if (!heldTables.tables || heldTables.tables->calibrationTableId != backupTable) {
    context.err << "The backup's settings are those of table " << backupTable
                << "; the controller's software "
                << (heldTables.tables
                        ? "uses table " + std::to_string(heldTables.tables->calibrationTableId)
                        : "has none (" + heldTables.error + ")")
                << ". Nothing written.\n";
    return kExitFailure;
  }

  const ImageDifference difference = CompareImages(backupTables.tables.get(), held, restored);
  if (difference.identical) {
    context.out << "The controller already holds this backup; nothing to write.\n";
    return kExitSuccess;
  }
  context.out << "Changes to " << ModuleNameText(held) << " (controller -> backup):\n";
  PrintRowChanges(difference, "  ", context.out);
  if (difference.otherBytes != 0)
    context.out << "  Other bytes differing: " << difference.otherBytes << "\n";
  if (!yes && !UserAgrees(context.in, context.out)) {
    context.err << "Nothing written.\n";
    return kExitFailure;
  }
  const WriteVerification verification{verify, backupTables.tables.get()};
  return WriteToController(session->link(), restored, context.out, context.err, verification)
             ? kExitSuccess
             : kExitFailure;
}

}  // namespace qelvo::cli
