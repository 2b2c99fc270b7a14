#include "sim/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "link/commands.h"
#include "link/serial_port.h"
#include "sim_exchange.h"
#include "support/temp_dir.h"

namespace qelvo::sim {
namespace {

using namespace testing;
using namespace std::chrono_literals;

// A client as plain as can be: open, raw mode, exclusive, like the program's serial port.
class Client {
 public:
  explicit Client(const std::string& path)
      : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
    if (fd_ < 0) {
      return;
    }
    termios settings{};
    ::tcgetattr(fd_, &settings);
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B19200);
    ::cfsetospeed(&settings, B19200);
    ::tcsetattr(fd_, TCSANOW, &settings);
    ::ioctl(fd_, TIOCEXCL);
    ::tcflush(fd_, TCIOFLUSH);
  }
  ~Client() { Close(); }
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  bool open() const { return fd_ >= 0; }
  void Close() {
    if (fd_ >= 0) {
      ::ioctl(fd_, TIOCNXCL);
      ::close(fd_);
      fd_ = -1;
    }
  }
  bool Send(const Bytes& bytes) {
    return ::write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }
  // Up to `size` bytes within `timeout`; `failed` tells of EIO or a hang-up.
  Bytes Receive(std::size_t size, std::chrono::milliseconds timeout = 1000ms) {
    Bytes bytes;
    const auto deadline = Clock::now() + timeout;
    while (bytes.size() < size && Clock::now() < deadline) {
      pollfd p{fd_, POLLIN, 0};
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (::poll(&p, 1, static_cast<int>(std::max(left.count(), 1L))) <= 0) {
        continue;
      }
      std::uint8_t byte = 0;
      const ssize_t got = ::read(fd_, &byte, 1);
      if (got == 1) {
        bytes.push_back(byte);
      } else if (got < 0 && errno != EAGAIN) {
        failed = true;
        break;
      } else if (p.revents & POLLHUP) {
        failed = true;
        break;
      }
    }
    return bytes;
  }
  Bytes Exchange(const Bytes& request, std::size_t replySize) {
    return Send(request) ? Receive(replySize) : Bytes{};
  }

  bool failed = false;

 private:
  int fd_ = -1;
};

const char* kHandshakeReply = "11 03 00 00 01 15";

class PtyServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    linkPath = (temp.path() / "qelvo-sim").string();
    auto started = PtyServer::Start(controller, linkPath);
    ASSERT_TRUE(started.server) << started.error;
    server = std::move(started.server);
  }

  std::string LinkTarget() const {
    std::error_code error;
    return std::filesystem::read_symlink(linkPath, error).string();
  }

  test_support::TempDir temp;
  std::string linkPath;
  SimulatedController controller;
  std::unique_ptr<PtyServer> server;
};

TEST_F(PtyServerTest, AClientOpensExchangesClosesAndReopens) {
  EXPECT_EQ(server->PortPath(), linkPath);
  EXPECT_EQ(LinkTarget(), server->SlavePath());
  for (int round = 0; round < 3; ++round) {
    Client client(linkPath);
    ASSERT_TRUE(client.open()) << "round " << round << ": " << std::strerror(errno);
    EXPECT_EQ(Hex(client.Exchange(MakeFrame(0x11), 6)), kHandshakeReply) << "round " << round;
    EXPECT_EQ(Hex(client.Exchange(ReadBlockRequest(0x1F0), 19)).size(), 19u * 3 - 1);
  }
}

TEST_F(PtyServerTest, WithoutALinkTheSlaveIsThePort) {
  SimulatedController other;
  auto started = PtyServer::Start(other);
  ASSERT_TRUE(started.server) << started.error;
  EXPECT_EQ(started.server->PortPath(), started.server->SlavePath());
  Client client(started.server->PortPath());
  EXPECT_EQ(Hex(client.Exchange(MakeFrame(0x11), 6)), kHandshakeReply);
}

TEST_F(PtyServerTest, AClientThatDiesHoldingThePortDoesNotLockOutTheNext) {
  const std::string slave = server->SlavePath();
  // Root passes an exclusive port by, so the lock-out only shows for another user.
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chmod(slave.c_str(), 0666), 0);
  }
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (root && ::setuid(65534) != 0) {
      ::_exit(10);
    }
    const int first = ::open(slave.c_str(), O_RDWR | O_NOCTTY);
    if (first < 0 || ::ioctl(first, TIOCEXCL) != 0) {
      ::_exit(11);
    }
    ::close(first);  // without giving the exclusive mark back
    for (int attempt = 0; attempt < 100; ++attempt) {
      const int second = ::open(slave.c_str(), O_RDWR | O_NOCTTY);
      if (second >= 0) {
        ::_exit(0);
      }
      if (errno != EBUSY) {
        ::_exit(12);
      }
      ::usleep(10000);
    }
    ::_exit(13);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(PtyServerTest, ThePortVanishesMidWriteAndComesBackAtTheLink) {
  const link::CalibrationImage original = controller.StoredBlock();
  Faults faults;
  faults.vanishAfterWriteBlocks = 2;
  controller.SetFaults(faults);
  {
    Client client(linkPath);
    EXPECT_EQ(Hex(client.Exchange(MakeFrame(0xF1), 3)), "F1 00 F1");
    EXPECT_EQ(Hex(client.Exchange(WriteBlockRequest(0, Bytes(13, 1)), 3)), "F3 00 F3");
    EXPECT_EQ(Hex(client.Exchange(WriteBlockRequest(13, Bytes(13, 2)), 3)), "F3 00 F3");
    client.Send(WriteBlockRequest(26, Bytes(13, 3)));
    EXPECT_TRUE(client.Receive(3).empty());
    EXPECT_TRUE(client.failed);
    ASSERT_TRUE(server->WaitFor(true, 1s));
    EXPECT_TRUE(server->SlavePath().empty());
    EXPECT_FALSE(std::filesystem::is_symlink(linkPath));
    Client meanwhile(linkPath);
    EXPECT_FALSE(meanwhile.open());
  }
  ASSERT_TRUE(server->ComeBack());
  EXPECT_FALSE(server->SlavePath().empty());
  EXPECT_EQ(LinkTarget(), server->SlavePath());
  Client client(linkPath);
  ASSERT_TRUE(client.open());
  EXPECT_EQ(Hex(client.Exchange(MakeFrame(0x11), 6)), kHandshakeReply);
  EXPECT_EQ(controller.StoredBlock(), original);
  // The next write starts afresh: the blocks of the broken one are not committed with it.
  EXPECT_EQ(Hex(client.Exchange(MakeFrame(0xF1), 3)), "F1 00 F1");
  EXPECT_EQ(Hex(client.Exchange(MakeFrame(0xF4), 3)), "F4 00 F4");
  EXPECT_EQ(controller.StoredBlock(), original);
}

TEST_F(PtyServerTest, ThePortComesBackByItselfAfterTheTimeAway) {
  ASSERT_TRUE(server->Vanish(80ms));
  EXPECT_TRUE(server->vanished());
  ASSERT_TRUE(server->WaitFor(false, 2s));
  Client client(linkPath);
  EXPECT_EQ(Hex(client.Exchange(MakeFrame(0x11), 6)), kHandshakeReply);
}

bool Handshake(link::Link& wire) {
  link::PutRequest(wire, 0x11);
  link::SendPacket(wire);
  return link::ReceivePacket(wire) && wire.receive[4] == 1;
}

TEST_F(PtyServerTest, TheSerialPortReadsTheBlockAndFindsThePortAgainAfterItCameBack) {
  auto port = link::SerialPort::Open(linkPath);
  ASSERT_TRUE(port);
  EXPECT_TRUE(port->Configure().ok());
  ASSERT_TRUE(port->Reopen());
  EXPECT_TRUE(port->Configure().ok());
  link::Link wire;
  wire.port = port.get();
  ASSERT_TRUE(Handshake(wire));
  link::CalibrationImage image = link::FreshImage();
  ASSERT_TRUE(link::ReadImage(wire, image));
  EXPECT_EQ(image, controller.StoredBlock());
  EXPECT_EQ(link::CheckModel(wire, image), link::ModelCheck::Match);

  ASSERT_TRUE(server->Vanish());
  EXPECT_FALSE(Handshake(wire));
  ASSERT_TRUE(server->ComeBack());
  EXPECT_TRUE(Handshake(wire));
}

TEST_F(PtyServerTest, APacedReplyTakesItsTimeOnTheLine) {
  controller.SetPaced(true);
  Client client(linkPath);
  const auto sent = Clock::now();
  ASSERT_TRUE(client.Send(ReadBlockRequest(0)));
  EXPECT_EQ(client.Receive(19).size(), 19u);
  // 6 request bytes and 19 reply bytes at 0.52 ms each.
  EXPECT_GE(Clock::now() - sent, 9ms);
}

TEST(PtyServerStartTest, AFileAtTheLinkPathIsLeftAlone) {
  test_support::TempDir temp;
  const auto path = temp.path() / "not-a-link";
  std::ofstream(path) << "keep me";
  SimulatedController controller;
  const auto started = PtyServer::Start(controller, path.string());
  EXPECT_FALSE(started.server);
  EXPECT_NE(started.error.find("is not a symbolic link"), std::string::npos) << started.error;
  std::ifstream in(path);
  std::string text;
  std::getline(in, text);
  EXPECT_EQ(text, "keep me");
}

TEST(PtyServerStartTest, AStaleLinkIsReplaced) {
  test_support::TempDir temp;
  const auto path = temp.path() / "qelvo-sim";
  std::filesystem::create_symlink("/dev/null-gone", path);
  SimulatedController controller;
  auto started = PtyServer::Start(controller, path.string());
  ASSERT_TRUE(started.server) << started.error;
  EXPECT_EQ(std::filesystem::read_symlink(path).string(), started.server->SlavePath());
}

TEST(PtyServerStopTest, StopsPromptlyWithARequestPendingAndRemovesTheLink) {
  test_support::TempDir temp;
  const std::string path = (temp.path() / "qelvo-sim").string();
  SimulatedController controller;
  Faults faults;
  faults.delay = 10s;
  controller.SetFaults(faults);
  auto started = PtyServer::Start(controller, path);
  ASSERT_TRUE(started.server) << started.error;
  Client client(path);
  ASSERT_TRUE(client.Send(MakeFrame(0x11)));
  std::this_thread::sleep_for(20ms);
  const auto before = Clock::now();
  started.server.reset();
  EXPECT_LT(Clock::now() - before, 500ms);
  EXPECT_FALSE(std::filesystem::is_symlink(path));
  EXPECT_TRUE(client.Receive(1, 50ms).empty());
}

}  // namespace
}  // namespace qelvo::sim
