#include "link/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "link/unique_fd.h"

namespace qelvo::link {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr speed_t kBaudRate = B19200;

// Read and write time-outs of the line.
constexpr milliseconds kReadIntervalTimeout{20};
constexpr milliseconds kReadTotalPerByte{5};
constexpr milliseconds kReadTotalConstant{50};
constexpr milliseconds kWriteTotalPerByte{20};
constexpr milliseconds kWriteTotalConstant{50};

enum class Wake { Ready, TimedOut, Cancelled, Gone, Failed };

bool IsDeviceGone(int error) {
  return error == EIO || error == ENXIO || error == ENODEV || error == EBADF;
}

bool IsCancelled(int cancelFd) {
  pollfd p{cancelFd, POLLIN, 0};
  return ::poll(&p, 1, 0) > 0;
}

// Waits until fd is ready for events, the deadline passes or the port is cancelled. fd may be
// -1 for a plain cancellable sleep.
Wake WaitFor(int fd, short events, int cancelFd, Clock::time_point deadline) {
  for (;;) {
    const auto left = deadline - Clock::now();
    // Rounded up, so a wait never ends before its deadline.
    const auto ms = std::chrono::ceil<milliseconds>(left).count();
    std::array<pollfd, 2> fds = {pollfd{cancelFd, POLLIN, 0}, pollfd{fd, events, 0}};
    const nfds_t count = fd >= 0 ? 2 : 1;
    const int ready = ::poll(fds.data(), count, static_cast<int>(std::max<long long>(ms, 0)));
    if (ready < 0) {
      if (errno == EINTR) {
        continue;
      }
      return Wake::Failed;
    }
    if (fds[0].revents != 0) {
      return Wake::Cancelled;
    }
    if (ready == 0) {
      if (Clock::now() >= deadline) {
        return Wake::TimedOut;
      }
      continue;
    }
    // Data that came before a hang-up is still read; the next wait reports the hang-up.
    if ((fds[1].revents & events) != 0) {
      return Wake::Ready;
    }
    return Wake::Gone;  // POLLHUP, POLLERR or POLLNVAL alone
  }
}

// Raw mode whatever the driver reported: the handshake command 0x11 is XON and 0x13 is XOFF,
// and CR/LF translation or echo would corrupt frames. Hardware flow control and the modem
// lines keep the driver's setting.
void MakeRaw(termios& t) {
  t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL |
                                      IXON | IXOFF | IXANY | INPCK);
  t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB);
  t.c_cflag |= CS8 | CLOCAL | CREAD;
  // Reads wait in poll(), never in the driver.
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
}

// Opens the device and takes it for this program alone. Root passes TIOCEXCL by, so the lock
// is what turns a second opener away.
UniqueFd OpenExclusive(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!fd.valid() || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    return {};
  }
  ::ioctl(fd.get(), TIOCEXCL);  // a device that is no terminal fails in Configure()
  return fd;
}

}  // namespace

struct SerialPort::State {
  UniqueFd fd;  // invalid while the device is gone
  UniqueFd cancel;
  bool configured = false;  // a reopened device gets the same settings again

  void Close() {
    if (fd.valid()) {
      // A pty slave keeps the exclusive mark after the last close; give it back.
      ::ioctl(fd.get(), TIOCNXCL);
      fd.reset();
    }
  }

  // The Win32 driver takes a request for 512-byte queues; a POSIX tty has fixed buffers, so
  // there is nothing to ask for.
  static bool RequestQueues() { return true; }

  bool SetLineSettings() {
    termios t{};
    if (::tcgetattr(fd.get(), &t) != 0) {
      return false;
    }
    MakeRaw(t);
    return ::cfsetispeed(&t, kBaudRate) == 0 && ::cfsetospeed(&t, kBaudRate) == 0 &&
           ::tcsetattr(fd.get(), TCSANOW, &t) == 0;
  }

  // The time-outs live in Read() and Write(); they hold only on a non-blocking descriptor.
  bool SetTimeouts() {
    const int flags = ::fcntl(fd.get(), F_GETFL);
    return flags >= 0 &&
           ((flags & O_NONBLOCK) != 0 || ::fcntl(fd.get(), F_SETFL, flags | O_NONBLOCK) == 0);
  }

  bool Purge() { return ::tcflush(fd.get(), TCIOFLUSH) == 0; }

  ConfigureResult Apply() {
    ConfigureResult result;
    result.queues = RequestQueues();
    result.lineSettings = SetLineSettings();
    result.timeouts = SetTimeouts();
    result.purge = Purge();
    return result;
  }

  // A device that vanished is opened again, with the same settings, before it is used.
  bool EnsureOpen(const std::string& path) {
    if (fd.valid()) {
      return true;
    }
    fd = OpenExclusive(path);
    if (!fd.valid()) {
      return false;
    }
    if (configured && !Apply().ok()) {
      Close();
      return false;
    }
    return true;
  }
};

std::unique_ptr<SerialPort> SerialPort::Open(const std::string& path) {
  auto state = std::make_unique<State>();
  state->cancel = UniqueFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
  if (!state->cancel.valid()) {
    return nullptr;
  }
  state->fd = OpenExclusive(path);
  if (!state->fd.valid()) {
    return nullptr;
  }
  return std::unique_ptr<SerialPort>(new SerialPort(std::move(state), path));
}

SerialPort::SerialPort(std::unique_ptr<State> state, std::string path)
    : state_(std::move(state)), path_(std::move(path)) {}

SerialPort::~SerialPort() {
  state_->Close();
}

ConfigureResult SerialPort::Configure() {
  if (!state_->fd.valid()) {
    state_->fd = OpenExclusive(path_);
    if (!state_->fd.valid()) {
      return ConfigureResult{
          .queues = true, .lineSettings = false, .timeouts = false, .purge = false};
    }
  }
  state_->configured = true;
  return state_->Apply();
}

bool SerialPort::Reopen() {
  state_->Close();
  state_->fd = OpenExclusive(path_);
  return state_->fd.valid();
}

bool SerialPort::IsOpen() const {
  return state_->fd.valid();
}

int SerialPort::Read(std::span<std::uint8_t> dst) {
  if (!state_->EnsureOpen(path_)) {
    return -1;
  }
  const auto start = Clock::now();
  const auto total = start + kReadTotalConstant + kReadTotalPerByte * static_cast<int>(dst.size());
  std::size_t got = 0;
  Clock::time_point lastByte{};
  while (got < dst.size()) {
    const auto deadline = got == 0 ? total : std::min(total, lastByte + kReadIntervalTimeout);
    switch (WaitFor(state_->fd.get(), POLLIN, state_->cancel.get(), deadline)) {
      case Wake::TimedOut:
        return static_cast<int>(got);
      case Wake::Cancelled:
      case Wake::Failed:
        return -1;
      case Wake::Gone:
        state_->Close();
        return -1;
      case Wake::Ready:
        break;
    }
    const ssize_t n = ::read(state_->fd.get(), dst.data() + got, dst.size() - got);
    if (n > 0) {
      got += static_cast<std::size_t>(n);
      lastByte = Clock::now();
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      continue;
    }
    // Readable but nothing to read: a hung-up terminal reads as end of file.
    if (n == 0 || IsDeviceGone(errno)) {
      state_->Close();
    }
    return -1;
  }
  return static_cast<int>(got);
}

bool SerialPort::Write(std::span<const std::uint8_t> src) {
  if (!state_->EnsureOpen(path_) || IsCancelled(state_->cancel.get())) {
    return false;
  }
  const auto deadline =
      Clock::now() + kWriteTotalConstant + kWriteTotalPerByte * static_cast<int>(src.size());
  std::size_t done = 0;
  while (done < src.size()) {
    const ssize_t n = ::write(state_->fd.get(), src.data() + done, src.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0 && errno != EAGAIN) {
      if (IsDeviceGone(errno)) {
        state_->Close();
      }
      return false;
    }
    switch (WaitFor(state_->fd.get(), POLLOUT, state_->cancel.get(), deadline)) {
      case Wake::Ready:
        break;
      case Wake::Gone:
        state_->Close();
        return false;
      case Wake::TimedOut:
      case Wake::Cancelled:
      case Wake::Failed:
        return false;
    }
  }
  return true;
}

bool SerialPort::Purge() {
  if (!state_->EnsureOpen(path_)) {
    return false;
  }
  if (state_->Purge()) {
    return true;
  }
  if (IsDeviceGone(errno)) {
    state_->Close();
  }
  return false;
}

bool SerialPort::Pause(std::chrono::milliseconds duration) {
  return WaitFor(-1, 0, state_->cancel.get(), Clock::now() + duration) == Wake::TimedOut;
}

void SerialPort::Cancel() {
  const std::uint64_t one = 1;
  // The counter only grows; a failed write means it is already far from zero.
  [[maybe_unused]] const ssize_t n = ::write(state_->cancel.get(), &one, sizeof one);
}

void SerialPort::Resume() {
  std::uint64_t count = 0;
  [[maybe_unused]] const ssize_t n = ::read(state_->cancel.get(), &count, sizeof count);
}

}  // namespace qelvo::link
