#include "harness/backup_file_check.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "cli/backup_file.h"
#include "link/commands.h"

namespace qelvo::fuzz {

namespace {

Violation CheckWrittenReadsBack(const cli::Backup& backup, const std::string& what) {
  const std::string text = cli::FormatBackup(backup, {});
  const cli::BackupParseResult again = cli::ParseBackup(text);
  if (!again.backup)
    return what + " was written and then refused: " + again.error;
  if (again.backup->image != backup.image)
    return what + " was written and read back with other bytes";
  return std::nullopt;
}

}  // namespace

Violation CheckBackupFile(std::span<const std::uint8_t> data) {
  const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
  const cli::BackupParseResult parsed = cli::ParseBackup(text);
  if (!parsed.backup && parsed.error.empty())
    return std::string("a refused backup came without a message");
  if (parsed.backup) {
    if (!cli::StartsLikeBackup(text))
      return std::string("a text that does not start like a backup was read as one");
    if (Violation v = CheckWrittenReadsBack(*parsed.backup, "an accepted backup"))
      return v;
  }

  cli::Backup made;
  made.image = link::FreshImage();
  std::copy_n(data.begin(), std::min(data.size(), made.image.size()), made.image.begin());
  made.header = cli::DescribeImage(made.image, 165, std::string(text.substr(0, 40)));
  return CheckWrittenReadsBack(made, "a backup of any 512 bytes");
}

}  // namespace qelvo::fuzz
