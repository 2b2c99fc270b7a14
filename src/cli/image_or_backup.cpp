#include "cli/image_or_backup.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

namespace qelvo::cli {
namespace {

// Far more than a backup with comments for every row takes; a larger file is neither, and
// reading stops there rather than filling memory from a device or a huge file.
constexpr std::size_t kLargestFile = 1 << 20;

}  // namespace

ImageOrBackup ReadImageOrBackup(const std::string& path) {
  ImageOrBackup result;
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    result.error = "Cannot read " + path + ": " + std::generic_category().message(errno);
    return result;
  }
  std::string text(kLargestFile + 1, '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (file.bad()) {
    result.error = "Cannot read " + path + ": " + std::generic_category().message(errno);
    return result;
  }
  text.resize(static_cast<std::size_t>(file.gcount()));

  if (StartsLikeBackup(text)) {
    if (text.size() > kLargestFile) {
      result.error = path + " is too large to be a backup.";
      return result;
    }
    BackupParseResult parsed = ParseBackup(text);
    if (!parsed.backup) {
      result.error = path + ", " + parsed.error + ".";
      return result;
    }
    result.image = parsed.backup->image;
    result.backup = std::move(parsed.backup->header);
    return result;
  }
  if (text.size() != link::kImageSize) {
    result.error = path + " is not a controller image: it must be exactly 512 bytes, " +
                   (text.size() > link::kImageSize ? std::string("it is longer")
                                                   : "it has " + std::to_string(text.size())) +
                   ".";
    return result;
  }
  link::CalibrationImage image;
  std::memcpy(image.data(), text.data(), image.size());
  result.image = image;
  return result;
}

}  // namespace qelvo::cli
