#include "cli/image_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <utility>
#include <vector>

namespace qelvo::cli {
namespace {

std::string SystemError(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::generic_category().message(errno);
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0)
      ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

}  // namespace

ImageFileResult ReadImageFile(const std::string& path) {
  ImageFileResult result;
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    result.error = SystemError("Cannot read", path);
    return result;
  }
  // One byte more than an image, so a longer file is told apart from an exact one.
  std::vector<std::uint8_t> bytes(link::kImageSize + 1);
  std::size_t total = 0;
  while (total < bytes.size()) {
    const ssize_t n = ::read(fd.get(), bytes.data() + total, bytes.size() - total);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0) {
      result.error = SystemError("Cannot read", path);
      return result;
    }
    if (n == 0)
      break;
    total += static_cast<std::size_t>(n);
  }
  if (total != link::kImageSize) {
    result.error = path + " is not a controller image: it must be exactly 512 bytes, " +
                   (total > link::kImageSize ? std::string("it is longer")
                                             : "it has " + std::to_string(total)) +
                   ".";
    return result;
  }
  link::CalibrationImage image;
  std::memcpy(image.data(), bytes.data(), image.size());
  result.image = image;
  return result;
}

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::string& error) {
  std::string temp = path + ".XXXXXX";
  FileDescriptor fd(::mkstemp(temp.data()));
  if (fd.get() < 0) {
    error = SystemError("Cannot write", path);
    return false;
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0) {
      error = SystemError("Cannot write", path);
      ::unlink(temp.c_str());
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  // mkstemp creates the file 0600; an image or log is an ordinary file of the user's.
  ::fchmod(fd.get(), 0644);
  if (::fsync(fd.get()) != 0 || ::close(fd.release()) != 0 ||
      ::rename(temp.c_str(), path.c_str()) != 0) {
    error = SystemError("Cannot write", path);
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace qelvo::cli
