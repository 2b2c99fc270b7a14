#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/page_listing.h"
#include "link/commands.h"

namespace qelvo::cli {

// A backup is a text file: a first line naming the format and its version, a header of
// "Key: value" lines, the 512 bytes as 32 hex lines "0000: 41 51 ...", a "CRC-32:" line over
// the 512 bytes, and the shown rows as comments. Only the bytes count; of the header, the
// module name must agree with bytes 0..7.
inline constexpr std::string_view kBackupMagic = "QELVO-BACKUP";
inline constexpr int kBackupFormatVersion = 1;
inline constexpr std::string_view kBackupExtension = ".qbk";

// What the header says, for a person; the texts as they stand in the file.
struct BackupHeader {
  std::string created;  // "2026-12-10 11:45:00 +0100"
  std::string program;  // "qelvo 0.1.0"
  std::string moduleName;
  std::string userName;
  std::string serialNumber;     // bytes 12..15 in hex
  std::string softwareVersion;  // bytes 16..19 in hex
  std::string family;
  std::string voltageClass;
  std::string table;  // the calibration table the rows were read with
};

struct Backup {
  BackupHeader header;
  link::CalibrationImage image{};
};

// The header of a backup of `image`, read with calibration table `tableId` at `created`.
BackupHeader DescribeImage(const link::CalibrationImage& image, int tableId,
                           const std::string& created);

// The file's text; `rows` (ListShownRows of the image) become comments.
std::string FormatBackup(const Backup& backup, std::span<const ListedRow> rows);

// Whether the text's first line claims to be a backup (of any version).
bool StartsLikeBackup(std::string_view text);

struct BackupParseResult {
  std::optional<Backup> backup;
  std::string error;  // what is wrong, with its line number where it has one
};

// Reads any text without fault: a damaged, truncated or edited backup is refused, never
// half read.
BackupParseResult ParseBackup(std::string_view text);

}  // namespace qelvo::cli
