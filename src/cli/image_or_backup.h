#pragma once

#include <optional>
#include <string>

#include "cli/backup_file.h"
#include "link/commands.h"

namespace qelvo::cli {

// An image read from a file: a backup, or a raw 512-byte image.
struct ImageOrBackup {
  std::optional<link::CalibrationImage> image;
  std::optional<BackupHeader> backup;  // set when the file was a backup
  std::string error;                   // why the file was refused, its path first
};

// A file whose first line names the backup format is read as a backup and refused if damaged;
// any other file must be exactly 512 bytes.
ImageOrBackup ReadImageOrBackup(const std::string& path);

}  // namespace qelvo::cli
