#include "support/pty_pair.h"

#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>

namespace qelvo::test_support {

namespace {

using Clock = std::chrono::steady_clock;

void CloseFd(int& fd) {
  if (fd >= 0) {
    ::close(fd);
    fd = -1;
  }
}

}  // namespace

std::unique_ptr<PtyPair> PtyPair::Open(const std::string& linkPath) {
  std::unique_ptr<PtyPair> pty(new PtyPair);
  std::array<char, 128> name{};
  if (::openpty(&pty->master_, &pty->slave_, name.data(), nullptr, nullptr) != 0) {
    return nullptr;
  }
  pty->slaveName_ = name.data();
  if (!linkPath.empty()) {
    std::error_code error;
    std::filesystem::remove(linkPath, error);
    std::filesystem::create_symlink(pty->slaveName_, linkPath, error);
    if (error) {
      return nullptr;
    }
    pty->linkPath_ = linkPath;
  }
  return pty;
}

PtyPair::~PtyPair() {
  if (!linkPath_.empty()) {
    std::error_code error;
    const auto target = std::filesystem::read_symlink(linkPath_, error);
    if (!error && target == slaveName_) {
      std::filesystem::remove(linkPath_, error);
    }
  }
  CloseFd(slave_);
  CloseFd(master_);
}

const std::string& PtyPair::path() const {
  return linkPath_.empty() ? slaveName_ : linkPath_;
}

bool PtyPair::WriteMaster(std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

int PtyPair::ReadMaster(std::span<std::uint8_t> dst, std::chrono::milliseconds timeout,
                        std::chrono::milliseconds quiet) {
  const auto end = Clock::now() + timeout;
  std::size_t got = 0;
  while (got < dst.size()) {
    auto deadline = end;
    if (got > 0) {
      deadline = std::min(end, Clock::now() + quiet);
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
      break;
    }
    pollfd p{master_, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) {
      continue;
    }
    if (ready <= 0) {
      break;
    }
    const ssize_t n = ::read(master_, dst.data() + got, dst.size() - got);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
      continue;
    }
    if (n <= 0) {
      // No slave open at the moment: the master reads EIO until one is.
      return got > 0 ? static_cast<int>(got) : -1;
    }
    got += static_cast<std::size_t>(n);
  }
  return static_cast<int>(got);
}

void PtyPair::CloseMaster() {
  CloseFd(master_);
}

void PtyPair::CloseSlave() {
  CloseFd(slave_);
}

}  // namespace qelvo::test_support
