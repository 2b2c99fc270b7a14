#include "sim/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <system_error>

namespace qelvo::sim {
namespace {

constexpr std::chrono::milliseconds kRequestTimeout{2000};
constexpr std::chrono::milliseconds kComeBackRetry{100};
// Should the master ever report a hang-up, it is left alone this long rather than polled in
// a busy loop.
constexpr std::chrono::milliseconds kQuietAfterHangUp{10};
constexpr std::size_t kReadChunk = 256;
constexpr const char* kLinkTempSuffix = ".new";

std::string SystemError(const std::string& what) {
  return what + ": " + std::generic_category().message(errno);
}

bool IsSymlink(const std::string& path, bool& exists) {
  struct stat info {};
  exists = ::lstat(path.c_str(), &info) == 0;
  return exists && S_ISLNK(info.st_mode);
}

std::string LinkTarget(const std::string& path) {
  std::array<char, PATH_MAX> target{};
  const ssize_t size = ::readlink(path.c_str(), target.data(), target.size() - 1);
  return size > 0 ? std::string(target.data(), static_cast<std::size_t>(size)) : std::string();
}

// Points the link at the slave in one step, so that a client never finds it missing.
bool PointLink(const std::string& linkPath, const std::string& slavePath, std::string& error) {
  bool exists = false;
  if (!IsSymlink(linkPath, exists) && exists) {
    error = linkPath + " exists and is not a symbolic link; it is left as it is";
    return false;
  }
  const std::string temp = linkPath + kLinkTempSuffix;
  ::unlink(temp.c_str());
  if (::symlink(slavePath.c_str(), temp.c_str()) != 0) {
    error = SystemError("cannot create the link " + temp);
    return false;
  }
  if (::rename(temp.c_str(), linkPath.c_str()) != 0) {
    error = SystemError("cannot create the link " + linkPath);
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

// Only a link that still points at our slave is ours to remove.
void RemoveLink(const std::string& linkPath, const std::string& slavePath) {
  bool exists = false;
  if (!linkPath.empty() && IsSymlink(linkPath, exists) && LinkTarget(linkPath) == slavePath) {
    ::unlink(linkPath.c_str());
  }
}

bool MakeRaw(int fd) {
  termios settings{};
  if (::tcgetattr(fd, &settings) != 0) {
    return false;
  }
  ::cfmakeraw(&settings);
  ::cfsetispeed(&settings, B19200);
  ::cfsetospeed(&settings, B19200);
  return ::tcsetattr(fd, TCSANOW, &settings) == 0;
}

}  // namespace

PtyServer::StartResult PtyServer::Start(SimulatedController& controller,
                                        const std::string& linkPath) {
  std::unique_ptr<PtyServer> server(new PtyServer(controller, linkPath));
  std::string error;
  server->wake_.Reset(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
  if (!server->wake_.valid()) {
    return {nullptr, SystemError("cannot create an event descriptor")};
  }
  if (!server->OpenTerminal(error)) {
    return {nullptr, error};
  }
  server->firstSlavePath_ = server->slavePath_;
  server->thread_ = std::thread([s = server.get()] { s->Run(); });
  return {std::move(server), {}};
}

PtyServer::PtyServer(SimulatedController& controller, std::string linkPath)
    : controller_(controller), linkPath_(std::move(linkPath)) {}

PtyServer::~PtyServer() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  Wake();
  if (thread_.joinable()) {
    thread_.join();
  }
  CloseTerminal();
}

std::string PtyServer::PortPath() const {
  return linkPath_.empty() ? firstSlavePath_ : linkPath_;
}

std::string PtyServer::SlavePath() const {
  std::lock_guard lock(mutex_);
  return slavePath_;
}

bool PtyServer::vanished() const {
  std::lock_guard lock(mutex_);
  return away_;
}

std::string PtyServer::lastError() const {
  std::lock_guard lock(mutex_);
  return lastError_;
}

bool PtyServer::Vanish(std::chrono::milliseconds away) {
  return Ask(Request::Vanish, away, true);
}

bool PtyServer::ComeBack() {
  return Ask(Request::ComeBack, {}, false);
}

bool PtyServer::WaitFor(bool away, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return away_ == away; });
}

bool PtyServer::Ask(Request request, std::chrono::milliseconds away, bool expectAway) {
  {
    std::lock_guard lock(mutex_);
    request_ = request;
    requestedAway_ = away;
  }
  Wake();
  return WaitFor(expectAway, kRequestTimeout);
}

void PtyServer::Wake() const {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(wake_.get(), &one, sizeof one);
}

bool PtyServer::OpenTerminal(std::string& error) {
  UniqueFd master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!master.valid()) {
    error = SystemError("cannot create a pseudo-terminal");
    return false;
  }
  std::array<char, PATH_MAX> name{};
  if (::grantpt(master.get()) != 0 || ::unlockpt(master.get()) != 0 ||
      ::ptsname_r(master.get(), name.data(), name.size()) != 0) {
    error = SystemError("cannot unlock the pseudo-terminal");
    return false;
  }
  const std::string slavePath = name.data();
  UniqueFd slave(::open(slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (!slave.valid()) {
    error = SystemError("cannot open " + slavePath);
    return false;
  }
  if (!MakeRaw(slave.get())) {
    error = SystemError("cannot set " + slavePath + " to raw mode");
    return false;
  }
  // Watched only after our own open, so every close seen is a client's.
  UniqueFd closeWatch(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
  if (closeWatch.valid() && ::inotify_add_watch(closeWatch.get(), slavePath.c_str(),
                                                IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
    closeWatch.Reset();
  }
  if (!linkPath_.empty() && !PointLink(linkPath_, slavePath, error)) {
    return false;
  }
  master_ = std::move(master);
  slave_ = std::move(slave);
  closeWatch_ = std::move(closeWatch);
  unsent_.clear();
  masterQuietUntil_.reset();
  std::lock_guard lock(mutex_);
  slavePath_ = slavePath;
  away_ = false;
  return true;
}

void PtyServer::CloseTerminal() {
  std::string slavePath;
  {
    std::lock_guard lock(mutex_);
    slavePath = std::exchange(slavePath_, {});
  }
  closeWatch_.Reset();
  master_.Reset();
  slave_.Reset();
  RemoveLink(linkPath_, slavePath);
}

void PtyServer::GoAway(std::chrono::milliseconds away) {
  CloseTerminal();
  controller_.ResetLine();
  comeBackAt_.reset();
  if (away > std::chrono::milliseconds::zero()) {
    comeBackAt_ = Clock::now() + away;
  }
  std::lock_guard lock(mutex_);
  away_ = true;
  changed_.notify_all();
}

void PtyServer::TryComeBack() {
  std::string error;
  if (OpenTerminal(error)) {
    comeBackAt_.reset();
    std::lock_guard lock(mutex_);
    lastError_.clear();
    changed_.notify_all();
    return;
  }
  comeBackAt_ = Clock::now() + kComeBackRetry;
  std::lock_guard lock(mutex_);
  lastError_ = error;
}

void PtyServer::Run() {
  for (;;) {
    Request request = Request::None;
    std::chrono::milliseconds away{0};
    bool isAway = false;
    {
      std::lock_guard lock(mutex_);
      if (stop_) {
        return;
      }
      request = std::exchange(request_, Request::None);
      away = requestedAway_;
      isAway = away_;
    }
    if (request == Request::Vanish && !isAway) {
      GoAway(away);
    } else if ((request == Request::ComeBack && isAway) ||
               (isAway && comeBackAt_ && Clock::now() >= *comeBackAt_)) {
      TryComeBack();
    }
    ServeOutput();
    if (masterQuietUntil_ && Clock::now() >= *masterQuietUntil_) {
      masterQuietUntil_.reset();
    }

    std::array<pollfd, 3> fds{};
    nfds_t count = 0;
    fds[count++] = {wake_.get(), POLLIN, 0};
    const int masterIndex = master_.valid() && !masterQuietUntil_ ? static_cast<int>(count) : -1;
    if (masterIndex >= 0) {
      fds[count++] = {master_.get(), static_cast<short>(POLLIN | (unsent_.empty() ? 0 : POLLOUT)),
                      0};
    }
    const int watchIndex = closeWatch_.valid() ? static_cast<int>(count) : -1;
    if (watchIndex >= 0) {
      fds[count++] = {closeWatch_.get(), POLLIN, 0};
    }

    const auto wait = NextWait();
    timespec timeout{};
    if (wait) {
      timeout.tv_sec = static_cast<time_t>(wait->count() / 1'000'000'000);
      timeout.tv_nsec = static_cast<long>(wait->count() % 1'000'000'000);
    }
    if (::ppoll(fds.data(), count, wait ? &timeout : nullptr, nullptr) < 0) {
      continue;  // EINTR
    }
    if ((fds[0].revents & POLLIN) != 0) {
      std::uint64_t value = 0;
      [[maybe_unused]] const ssize_t got = ::read(wake_.get(), &value, sizeof value);
    }
    if (masterIndex >= 0) {
      const short events = fds[masterIndex].revents;
      if ((events & POLLIN) != 0) {
        ServeInput();
      } else if ((events & (POLLHUP | POLLERR)) != 0) {
        masterQuietUntil_ = Clock::now() + kQuietAfterHangUp;
      }
    }
    if (watchIndex >= 0 && (fds[watchIndex].revents & POLLIN) != 0) {
      ClearExclusiveAfterClose();
    }
  }
}

std::optional<std::chrono::nanoseconds> PtyServer::NextWait() const {
  std::optional<Clock::time_point> wakeAt;
  const auto earliest = [&](Clock::time_point when) {
    if (!wakeAt || when < *wakeAt) {
      wakeAt = when;
    }
  };
  if (master_.valid() && unsent_.empty()) {
    if (const auto due = controller_.NextOutputDue()) {
      earliest(*due);
    }
  }
  if (comeBackAt_) {
    earliest(*comeBackAt_);
  }
  if (masterQuietUntil_) {
    earliest(*masterQuietUntil_);
  }
  if (!wakeAt) {
    return std::nullopt;
  }
  return std::max(std::chrono::nanoseconds::zero(), *wakeAt - Clock::now());
}

void PtyServer::ServeInput() {
  std::array<std::uint8_t, kReadChunk> buffer{};
  for (;;) {
    const ssize_t got = ::read(master_.get(), buffer.data(), buffer.size());
    if (got <= 0) {
      return;
    }
    controller_.Receive(std::span(buffer.data(), static_cast<std::size_t>(got)), Clock::now());
    if (controller_.TakeVanish()) {
      GoAway(controller_.faults().vanishFor);
      return;
    }
  }
}

void PtyServer::ServeOutput() {
  if (!master_.valid()) {
    return;
  }
  if (unsent_.empty()) {
    std::array<std::uint8_t, kReadChunk> due{};
    const std::size_t count = controller_.TakeOutput(Clock::now(), due);
    unsent_.assign(due.begin(), due.begin() + static_cast<long>(count));
  }
  if (unsent_.empty()) {
    return;
  }
  const ssize_t written = ::write(master_.get(), unsent_.data(), unsent_.size());
  if (written > 0) {
    unsent_.erase(unsent_.begin(), unsent_.begin() + written);
  }
}

// A client that took the port exclusively and closed it (or died) must not lock the next
// one out: on a real port the exclusive flag ends with the last close, but here our own
// descriptor keeps the terminal open.
void PtyServer::ClearExclusiveAfterClose() {
  alignas(inotify_event) std::array<char, 4096> events{};
  bool closed = false;
  for (;;) {
    const ssize_t got = ::read(closeWatch_.get(), events.data(), events.size());
    if (got <= 0) {
      break;
    }
    closed = true;
  }
  if (closed && slave_.valid()) {
    ::ioctl(slave_.get(), TIOCNXCL);
  }
}

}  // namespace qelvo::sim
