#include "link/connect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <optional>
#include <thread>

#include "link/commands.h"
#include "support/make_frame.h"
#include "support/pty_pair.h"
#include "support/temp_dir.h"

namespace qelvo::link {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using test_support::Bytes;
using test_support::MakeFrame;
using test_support::PtyPair;
using test_support::TempDir;

// Plays a device on a pty's master side: counts the handshake requests it sees and answers
// each with `reply`, or stays silent.
class HandshakeDevice {
 public:
  HandshakeDevice(PtyPair& pty, std::optional<Bytes> reply)
      : pty_(pty), reply_(std::move(reply)), thread_([this] { Run(); }) {}
  ~HandshakeDevice() {
    stop_ = true;
    thread_.join();
  }

  int handshakes() const { return handshakes_; }

 private:
  void Run() {
    const Bytes request = {0x11, 0x00, 0x11};
    Bytes seen;
    std::array<std::uint8_t, 64> chunk;
    while (!stop_) {
      const int n = pty_.ReadMaster(chunk, milliseconds(10), milliseconds(2));
      if (n <= 0) {
        continue;
      }
      seen.insert(seen.end(), chunk.begin(), chunk.begin() + n);
      for (auto at = std::ranges::search(seen, request); !at.empty();
           at = std::ranges::search(seen, request)) {
        seen.erase(seen.begin(), at.end());
        ++handshakes_;
        if (reply_) {
          pty_.WriteMaster(*reply_);
        }
      }
    }
  }

  PtyPair& pty_;
  std::optional<Bytes> reply_;
  std::atomic<bool> stop_{false};
  std::atomic<int> handshakes_{0};
  std::thread thread_;
};

// A controller's handshake reply: payload byte 2 is its kind.
Bytes Reply(std::uint8_t kind, std::uint8_t command = command::kHandshake) {
  return MakeFrame(command, {0x00, 0x07, kind, 0x00});
}

struct Device {
  std::unique_ptr<PtyPair> pty;
  std::unique_ptr<HandshakeDevice> device;
};

Device MakeDevice(std::optional<Bytes> reply) {
  Device d;
  d.pty = PtyPair::Open();
  if (d.pty) {
    d.device = std::make_unique<HandshakeDevice>(*d.pty, std::move(reply));
  }
  return d;
}

TEST(IsHandshakeReplyTest, OnlyPayloadByte2Counts) {
  struct Case {
    std::uint8_t command;
    std::uint8_t kind;
    bool accepted;
  };
  const Case cases[] = {
      {0x11, 1, true},  {0x11, 2, true},  {0x99, 1, true},     {0x00, 2, true},
      {0x11, 0, false}, {0x11, 3, false}, {0x11, 0xFF, false},
  };
  for (const auto& c : cases) {
    PacketBuffer receive{};
    receive[0] = c.command;
    receive[4] = c.kind;
    EXPECT_EQ(IsHandshakeReply(receive), c.accepted)
        << "command " << int(c.command) << " kind " << int(c.kind);
  }
}

TEST(ConnectorTest, TakesTheFirstPortThatAnswersAndKeepsOnlyItOpen) {
  TempDir dir;
  Device silent = MakeDevice(std::nullopt);
  Device kind0 = MakeDevice(Reply(0));
  Device kind3 = MakeDevice(Reply(3));
  Device kind1 = MakeDevice(Reply(1, 0x99));  // taken whatever its command byte
  Device kind2 = MakeDevice(Reply(2));
  for (const Device* d : {&silent, &kind0, &kind3, &kind1, &kind2}) {
    ASSERT_NE(d->pty, nullptr);
  }
  const std::vector<std::string> ports = {(dir.path() / "ttyMISSING").string(),
                                          silent.pty->path(),
                                          kind0.pty->path(),
                                          kind3.pty->path(),
                                          kind1.pty->path(),
                                          kind2.pty->path()};
  Link link;
  Connector connector(link, ports);
  std::vector<std::string> settingErrors;
  connector.onSettingError = [&](const std::string& path) { settingErrors.push_back(path); };

  ASSERT_TRUE(connector.ConnectController());
  EXPECT_TRUE(connector.connected());
  EXPECT_EQ(connector.portNames(), ports) << "a given list replaces discovery";
  ASSERT_NE(connector.port(), nullptr);
  EXPECT_EQ(connector.port()->path(), kind1.pty->path());
  EXPECT_EQ(link.port, connector.port());
  EXPECT_TRUE(settingErrors.empty());

  EXPECT_EQ(silent.device->handshakes(), 1);
  EXPECT_EQ(kind0.device->handshakes(), 1);
  EXPECT_EQ(kind3.device->handshakes(), 1);
  EXPECT_EQ(kind1.device->handshakes(), 1);
  EXPECT_EQ(kind2.device->handshakes(), 0) << "nothing after the chosen port is tried";

  EXPECT_NE(SerialPort::Open(silent.pty->path()), nullptr) << "a failed port is closed";
  EXPECT_EQ(SerialPort::Open(kind1.pty->path()), nullptr) << "the chosen port stays held";
}

TEST(ConnectorTest, ASecondCallAfterAConnectReturnsAtOnceTouchingNothing) {
  Device controller = MakeDevice(Reply(2));
  ASSERT_NE(controller.pty, nullptr);
  Link link;
  Connector connector(link, {controller.pty->path()});
  ASSERT_TRUE(connector.ConnectController());
  SerialPort* kept = connector.port();

  const auto start = Clock::now();
  EXPECT_TRUE(connector.ConnectController());
  EXPECT_LT(Clock::now() - start, milliseconds(20));
  EXPECT_EQ(connector.port(), kept);
  EXPECT_TRUE(kept->IsOpen());
  std::this_thread::sleep_for(milliseconds(30));
  EXPECT_EQ(controller.device->handshakes(), 1);
}

TEST(ConnectorTest, NoAnsweringPortLeavesItUnconnectedAndARetryTriesAgain) {
  TempDir dir;
  const std::string path = (dir.path() / "ttyQELVO").string();
  Link link;
  Connector connector(link, {path});
  {
    auto mute = PtyPair::Open(path);
    ASSERT_NE(mute, nullptr);
    HandshakeDevice device(*mute, Reply(0));
    EXPECT_FALSE(connector.ConnectController());
    EXPECT_EQ(device.handshakes(), 1);
  }
  EXPECT_FALSE(connector.connected());
  EXPECT_EQ(connector.port(), nullptr);
  EXPECT_EQ(link.port, nullptr);

  auto answering = PtyPair::Open(path);
  ASSERT_NE(answering, nullptr);
  HandshakeDevice device(*answering, Reply(1));
  EXPECT_TRUE(connector.ConnectController());
  EXPECT_EQ(device.handshakes(), 1);
}

TEST(ConnectorTest, ReportsAPortWhoseSettingsFailAndCarriesOn) {
  TempDir dir;
  const std::string notAPort = (dir.path() / "not-a-port").string();
  std::ofstream(notAPort) << "";
  Device controller = MakeDevice(Reply(1));
  ASSERT_NE(controller.pty, nullptr);
  Link link;
  Connector connector(link, {notAPort, controller.pty->path()});
  std::vector<std::string> settingErrors;
  connector.onSettingError = [&](const std::string& path) { settingErrors.push_back(path); };

  EXPECT_TRUE(connector.ConnectController());
  EXPECT_EQ(settingErrors, std::vector<std::string>{notAPort});
  EXPECT_EQ(connector.port()->path(), controller.pty->path());
}

}  // namespace
}  // namespace qelvo::link
