#include "link/serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <fstream>
#include <thread>

#include "support/make_frame.h"
#include "support/pty_pair.h"
#include "support/temp_dir.h"

namespace qelvo::link {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using test_support::Bytes;
using test_support::Hex;
using test_support::PtyPair;
using test_support::TempDir;

milliseconds Since(Clock::time_point start) {
  return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
}

struct SerialPortTest : ::testing::Test {
  void SetUp() override {
    pty = PtyPair::Open((dir.path() / "ttyQELVO0").string());
    ASSERT_NE(pty, nullptr);
    port = SerialPort::Open(pty->path());
    ASSERT_NE(port, nullptr);
    ASSERT_TRUE(port->Configure().ok());
  }

  Bytes ReadFromPort(std::size_t size = kReadSize) {
    Bytes buffer(size);
    const int n = port->Read(buffer);
    buffer.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
    return buffer;
  }

  Bytes ReadFromMaster(std::size_t size) {
    Bytes buffer(size);
    const int n = pty->ReadMaster(buffer, milliseconds(500));
    buffer.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
    return buffer;
  }

  static constexpr std::size_t kReadSize = 19;
  TempDir dir;
  std::unique_ptr<PtyPair> pty;
  std::unique_ptr<SerialPort> port;
};

TEST_F(SerialPortTest, IsHeldExclusivelyUntilClosed) {
  EXPECT_EQ(SerialPort::Open(pty->path()), nullptr);
  EXPECT_EQ(SerialPort::Open(pty->slaveName()), nullptr) << "the same device by another name";
  port.reset();
  EXPECT_NE(SerialPort::Open(pty->path()), nullptr);
}

TEST(SerialPortOpenTest, AMissingDeviceDoesNotOpen) {
  TempDir dir;
  EXPECT_EQ(SerialPort::Open((dir.path() / "ttyNONE").string()), nullptr);
}

TEST(SerialPortOpenTest, AFileThatIsNoTerminalFailsTheLineSettings) {
  TempDir dir;
  const auto file = dir.path() / "not-a-port";
  std::ofstream(file) << "x";
  auto port = SerialPort::Open(file.string());
  ASSERT_NE(port, nullptr);
  const ConfigureResult result = port->Configure();
  EXPECT_FALSE(result.ok());
  EXPECT_FALSE(result.lineSettings);
}

TEST_F(SerialPortTest, ControlCharactersPassUnchangedBothWays) {
  // XON, XOFF, CR, LF, ^C, ^Z, DEL: each would be swallowed or changed by a cooked terminal.
  const Bytes control = {0x11, 0x13, 0x0D, 0x0A, 0x03, 0x1A, 0x7F, 0x00, 0xFF};
  ASSERT_TRUE(pty->WriteMaster(control));
  EXPECT_EQ(Hex(ReadFromPort()), Hex(control));
  EXPECT_EQ(Hex(ReadFromMaster(control.size())), "") << "no echo";

  ASSERT_TRUE(port->Write(control));
  EXPECT_EQ(Hex(ReadFromMaster(control.size())), Hex(control));
}

TEST_F(SerialPortTest, ConfigureSets19200And8N1AndKeepsHardwareFlowControl) {
  termios t{};
  ASSERT_EQ(::tcgetattr(pty->masterFd(), &t), 0);
  t.c_cflag |= CRTSCTS | PARENB | CSTOPB;
  ASSERT_EQ(::tcsetattr(pty->masterFd(), TCSANOW, &t), 0);
  ASSERT_TRUE(port->Configure().ok());

  ASSERT_EQ(::tcgetattr(pty->masterFd(), &t), 0);
  EXPECT_EQ(::cfgetospeed(&t), B19200);
  EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB), 0u);
  EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL), 0u);
}

TEST_F(SerialPortTest, ReadReturnsAsSoonAs19BytesHaveArrived) {
  // The line never falls quiet, so only the byte count can end the read before 145 ms.
  std::atomic<bool> stop{false};
  std::thread device([&] {
    pty->WriteMaster(Bytes(19, 0x19));
    while (!stop) {
      std::this_thread::sleep_for(milliseconds(5));
      pty->WriteMaster(Bytes{0x01});
    }
  });
  const auto start = Clock::now();
  const Bytes got = ReadFromPort();
  const auto elapsed = Since(start);
  stop = true;
  device.join();
  EXPECT_EQ(Hex(got), Hex(Bytes(19, 0x19)));
  EXPECT_LT(elapsed, milliseconds(100));
}

TEST_F(SerialPortTest, ReadReturns20MillisecondsAfterTheLastByte) {
  std::thread device([&] {
    const std::uint8_t first[] = {1, 2};
    const std::uint8_t second[] = {3, 4, 5};
    std::this_thread::sleep_for(milliseconds(10));
    pty->WriteMaster(first);
    std::this_thread::sleep_for(milliseconds(10));
    pty->WriteMaster(second);
  });
  const auto start = Clock::now();
  const Bytes got = ReadFromPort();
  const auto elapsed = Since(start);
  device.join();
  EXPECT_EQ(Hex(got), "01 02 03 04 05") << "a gap shorter than 20 ms does not end the read";
  EXPECT_GE(elapsed, milliseconds(35));
  EXPECT_LT(elapsed, milliseconds(140));
}

TEST_F(SerialPortTest, ReadOfASilentLineReturnsNothingAfter145Milliseconds) {
  const auto start = Clock::now();
  EXPECT_EQ(ReadFromPort().size(), 0u);
  const auto elapsed = Since(start);
  EXPECT_GE(elapsed, milliseconds(140));
  EXPECT_LT(elapsed, milliseconds(400));
}

TEST_F(SerialPortTest, ATricklingLineStillEndsTheReadAfter145Milliseconds) {
  std::atomic<bool> stop{false};
  std::thread device([&] {
    const std::uint8_t one[] = {0x55};
    while (!stop) {
      pty->WriteMaster(one);
      std::this_thread::sleep_for(milliseconds(15));
    }
  });
  const auto start = Clock::now();
  const Bytes got = ReadFromPort();
  const auto elapsed = Since(start);
  stop = true;
  device.join();
  EXPECT_LT(got.size(), 19u);
  EXPECT_GE(elapsed, milliseconds(140));
  EXPECT_LT(elapsed, milliseconds(400));
}

TEST_F(SerialPortTest, CancelEndsAWaitingReadAtOnceUntilResumed) {
  std::thread canceller([&] {
    std::this_thread::sleep_for(milliseconds(30));
    port->Cancel();
  });
  auto start = Clock::now();
  Bytes buffer(19);
  EXPECT_EQ(port->Read(buffer), -1);
  EXPECT_LT(Since(start), milliseconds(100));
  canceller.join();

  start = Clock::now();
  EXPECT_FALSE(port->Pause(milliseconds(500)));
  EXPECT_FALSE(port->Write(Bytes{1}));
  EXPECT_EQ(port->Read(buffer), -1);
  EXPECT_LT(Since(start), milliseconds(100));
  EXPECT_TRUE(port->IsOpen()) << "cancelling does not close the port";

  port->Resume();
  EXPECT_TRUE(port->Pause(milliseconds(1)));
  ASSERT_TRUE(pty->WriteMaster(Bytes{7}));
  EXPECT_EQ(Hex(ReadFromPort()), "07");
}

TEST_F(SerialPortTest, PauseWaitsItsTime) {
  const auto start = Clock::now();
  EXPECT_TRUE(port->Pause(milliseconds(50)));
  EXPECT_GE(Since(start), milliseconds(50));
}

TEST_F(SerialPortTest, PurgeDiscardsWhatIsWaiting) {
  ASSERT_TRUE(pty->WriteMaster(Bytes{1, 2, 3}));
  std::this_thread::sleep_for(milliseconds(10));
  EXPECT_TRUE(port->Purge());
  EXPECT_EQ(ReadFromPort().size(), 0u);
}

TEST_F(SerialPortTest, AWriteThatCannotGoOutGivesUpAfter20MillisecondsPerBytePlus50) {
  // Nobody reads the master side: fill the line's buffer until it takes no more.
  const int filler = ::open(pty->slaveName().c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY);
  ASSERT_GE(filler, 0);
  const Bytes block(4096, 0x55);
  // The driver moves bytes on to the master's side in the background, so keep filling until
  // a whole round takes nothing.
  for (bool tookSome = true; tookSome;) {
    tookSome = false;
    while (::write(filler, block.data(), block.size()) > 0) {
      tookSome = true;
    }
    std::this_thread::sleep_for(milliseconds(50));
  }
  ::close(filler);

  const auto start = Clock::now();
  EXPECT_FALSE(port->Write(Bytes(19, 0x01)));
  const auto elapsed = Since(start);
  EXPECT_GE(elapsed, milliseconds(430));
  EXPECT_LT(elapsed, milliseconds(1500));
  EXPECT_TRUE(port->IsOpen());
}

TEST_F(SerialPortTest, AVanishedDeviceFailsAtOnceAndIsReopenedWhenItComesBack) {
  pty->CloseMaster();
  auto start = Clock::now();
  EXPECT_EQ(ReadFromPort().size(), 0u);
  Bytes buffer(19);
  EXPECT_EQ(port->Read(buffer), -1);
  EXPECT_FALSE(port->IsOpen());
  EXPECT_FALSE(port->Write(Bytes{1, 2, 3}));
  EXPECT_FALSE(port->Purge());
  EXPECT_LT(Since(start), milliseconds(100));

  // The same path comes back, as a replugged adapter does, with a cooked terminal behind it.
  auto back = PtyPair::Open(pty->path());
  ASSERT_NE(back, nullptr);
  EXPECT_TRUE(port->Purge()) << "the next operation reopens the path";
  EXPECT_TRUE(port->IsOpen());
  ASSERT_TRUE(back->WriteMaster(Bytes{0x11, 0x0D, 0x13}));
  EXPECT_EQ(Hex(ReadFromPort()), "11 0D 13") << "with the same raw settings";
  EXPECT_EQ(SerialPort::Open(back->path()), nullptr) << "and exclusively again";
}

TEST_F(SerialPortTest, AWriteToAVanishedDeviceFails) {
  pty->CloseMaster();
  const auto start = Clock::now();
  EXPECT_FALSE(port->Write(Bytes{1, 2, 3}));
  EXPECT_FALSE(port->IsOpen());
  EXPECT_LT(Since(start), milliseconds(100));
}

TEST_F(SerialPortTest, ReopenOpensTheSamePathAgain) {
  EXPECT_TRUE(port->Reopen());
  EXPECT_TRUE(port->IsOpen());
  EXPECT_EQ(SerialPort::Open(pty->path()), nullptr);
  ASSERT_TRUE(pty->WriteMaster(Bytes{0x42}));
  EXPECT_EQ(Hex(ReadFromPort()), "42");
}

}  // namespace
}  // namespace qelvo::link
