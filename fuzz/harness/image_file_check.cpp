#include "harness/image_file_check.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <sstream>
#include <string>
#include <string_view>

#include "cli/backup_file.h"
#include "cli/cli.h"
#include "cli/image_file.h"
#include "cli/image_or_backup.h"
#include "link/commands.h"

namespace qelvo::fuzz {

namespace {

// An anonymous in-memory file: nothing is left on disk, whatever happens.
class MemoryFile {
 public:
  MemoryFile() : fd_(::memfd_create("qelvo-fuzz-image", MFD_CLOEXEC)) {}
  ~MemoryFile() {
    if (fd_ >= 0)
      ::close(fd_);
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  bool Write(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (fd_ >= 0 && done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n <= 0)
        return false;
      done += static_cast<std::size_t>(n);
    }
    return fd_ >= 0;
  }
  std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

 private:
  int fd_;
};

constexpr int kExitSuccess = 0;

}  // namespace

Violation CheckImageFile(std::span<const std::uint8_t> data) {
  MemoryFile file;
  if (!file.Write(data))
    return std::nullopt;  // the machine could not hold the file; nothing to judge
  const std::string path = file.Path();

  const cli::ImageFileResult read = cli::ReadImageFile(path);
  const bool exact = data.size() == link::kImageSize;
  if (read.image.has_value() != exact) {
    return "a file of " + std::to_string(data.size()) + " bytes was " +
           (exact ? "refused" : "read as an image");
  }
  if (!exact && read.error.empty())
    return std::string("a refused image file came without a message");
  if (exact && !std::ranges::equal(*read.image, data))
    return std::string("the image read differs from the file");

  // The commands that take a file read a backup too; anything else must be a raw image.
  const cli::ImageOrBackup either = cli::ReadImageOrBackup(path);
  const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
  if (cli::StartsLikeBackup(text)) {
    const cli::BackupParseResult parsed = cli::ParseBackup(text);
    if (either.image.has_value() != parsed.backup.has_value())
      return std::string("a backup file was judged otherwise than its text");
    if (parsed.backup && *either.image != parsed.backup->image)
      return std::string("a backup file gave other bytes than its text");
  } else if (either.image.has_value() != exact ||
             (exact && !std::ranges::equal(*either.image, data))) {
    return std::string("a raw file was read otherwise as an image or backup than as an image");
  }
  if (!either.image && either.error.empty())
    return std::string("a refused file came without a message");

  const std::array<std::string, 3> args = {"show", "--image", path};
  std::ostringstream out;
  std::ostringstream err;
  std::istringstream in;
  const int status = cli::RunCli(args, out, err, in);
  if (status != kExitSuccess && err.str().empty())
    return "qelvo show failed with status " + std::to_string(status) + " and no message";
  if (status == kExitSuccess && !either.image)
    return std::string("qelvo show showed a file it cannot read");
  return std::nullopt;
}

}  // namespace qelvo::fuzz
