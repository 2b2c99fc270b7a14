#include "sim/controller.h"

#include <gtest/gtest.h>

#include "sim/default_image.h"
#include "sim_exchange.h"

namespace qelvo::sim {
namespace {

using namespace testing;
using namespace std::chrono_literals;

class ControllerTest : public ::testing::Test {
 protected:
  SimulatedController controller{Identity{}, 1, kStart};
};

TEST_F(ControllerTest, AnswersTheFixedCommands) {
  struct Case {
    const char* what;
    Bytes request;
    const char* reply;
  };
  const Case cases[] = {
      {"handshake", MakeFrame(0x11), "11 03 00 00 01 15"},
      {"prepare", MakeFrame(0xF1), "F1 00 F1"},
      {"commit", MakeFrame(0xF4), "F4 00 F4"},
      {"write block", WriteBlockRequest(0, Bytes(13, 0x41)), "F3 00 F3"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Hex(Exchange(controller, c.request)), c.reply) << c.what;
  }
}

TEST_F(ControllerTest, ReadBlockReturnsStoredBytesAndFFPastTheEnd) {
  link::CalibrationImage block{};
  for (std::size_t k = 0; k < block.size(); ++k) {
    block[k] = static_cast<std::uint8_t>(k * 7);
  }
  controller.SetStoredBlock(block);
  for (const std::size_t address : {0, 256, 0x1F0, 500}) {
    Bytes expected;
    for (std::size_t k = 0; k < 16; ++k) {
      expected.push_back(address + k < 512 ? block[address + k] : 0xFF);
    }
    EXPECT_EQ(Hex(Exchange(controller, ReadBlockRequest(address))), Hex(MakeFrame(0xF2, expected)))
        << "address " << address;
  }
}

TEST_F(ControllerTest, MonitorBlocksCarryTheThirdsOfTheLiveData) {
  const Clock::time_point at = kStart + 12345ms;
  const link::MonitorBuffer live = controller.MonitorAt(at);
  for (std::uint8_t block = 0; block < 3; ++block) {
    const std::uint8_t command = 0x3A + block;
    const Bytes reply = Exchange(controller, MakeFrame(command), at);
    EXPECT_EQ(Hex(reply), Hex(MakeFrame(command, std::span(live).subspan(16 * block, 16))));
  }
}

TEST_F(ControllerTest, ZeroPointsLieNearTheirCentresHighByteFirst) {
  const link::ZeroPoints centres{1000, 2000, 3000, 4000, 500};
  controller.SetZeroPointCentres(centres);
  bool varied = false;
  Bytes first;
  for (int reading = 0; reading < 20; ++reading) {
    const Bytes reply = Exchange(controller, MakeFrame(0x35));
    ASSERT_EQ(reply.size(), 13u);
    EXPECT_EQ(Hex(Bytes(reply.begin(), reply.begin() + 2)), "35 0A");
    EXPECT_EQ(Hex(reply), Hex(MakeFrame(0x35, std::span(reply).subspan(2, 10))));
    for (std::size_t k = 0; k < 5; ++k) {
      const int value = reply[2 + 2 * k] * 256 + reply[3 + 2 * k];
      EXPECT_NEAR(value, centres[k], 3) << "value " << k;
    }
    varied = varied || (!first.empty() && reply != first);
    if (first.empty()) {
      first = reply;
    }
  }
  EXPECT_TRUE(varied);
}

TEST(ControllerSeedTest, TheSameSeedGivesTheSameZeroPoints) {
  SimulatedController a(Identity{}, 7, kStart);
  SimulatedController b(Identity{}, 7, kStart);
  SimulatedController c(Identity{}, 8, kStart);
  Bytes fromA, fromB, fromC;
  for (int reading = 0; reading < 5; ++reading) {
    for (auto [controller, bytes] : {std::pair{&a, &fromA}, {&b, &fromB}, {&c, &fromC}}) {
      const Bytes reply = Exchange(*controller, MakeFrame(0x35));
      bytes->insert(bytes->end(), reply.begin(), reply.end());
    }
  }
  EXPECT_EQ(fromA, fromB);
  EXPECT_NE(fromA, fromC);
}

TEST_F(ControllerTest, WritesStayStagedUntilCommit) {
  const link::CalibrationImage original = controller.StoredBlock();
  const Bytes data(13, 0x5A);
  Exchange(controller, MakeFrame(0xF1));
  Exchange(controller, WriteBlockRequest(26, data));
  EXPECT_EQ(controller.StoredBlock(), original);
  EXPECT_EQ(controller.StagedBlock()[26], 0x5A);
  EXPECT_EQ(Hex(Exchange(controller, ReadBlockRequest(16))),
            Hex(MakeFrame(0xF2, std::span(original).subspan(16, 16))));

  Exchange(controller, MakeFrame(0xF4));
  const link::CalibrationImage stored = controller.StoredBlock();
  EXPECT_EQ(Bytes(stored.begin() + 26, stored.begin() + 39), data);
  EXPECT_EQ(stored[25], original[25]);
  EXPECT_EQ(stored[39], original[39]);
}

TEST_F(ControllerTest, PrepareDropsAWriteThatWasBrokenOff) {
  const link::CalibrationImage original = controller.StoredBlock();
  Exchange(controller, MakeFrame(0xF1));
  Exchange(controller, WriteBlockRequest(0, Bytes(13, 0x00)));
  // The write was abandoned; the next one starts with Prepare and commits nothing new.
  Exchange(controller, MakeFrame(0xF1));
  Exchange(controller, MakeFrame(0xF4));
  EXPECT_EQ(controller.StoredBlock(), original);
}

TEST_F(ControllerTest, AWholeWriteOfFortyBlocksStoresTheImage) {
  link::CalibrationImage image{};
  for (std::size_t k = 0; k < image.size(); ++k) {
    image[k] = static_cast<std::uint8_t>(255 - k % 251);
  }
  EXPECT_EQ(Hex(Exchange(controller, MakeFrame(0xF1))), "F1 00 F1");
  for (std::size_t address = 0; address < 507; address += 13) {
    EXPECT_EQ(Hex(Exchange(controller,
                           WriteBlockRequest(address, std::span(image).subspan(address, 13)))),
              "F3 00 F3");
  }
  EXPECT_EQ(Hex(Exchange(controller, WriteBlockRequest(507, std::span(image).subspan(507, 5)))),
            "F3 00 F3");
  EXPECT_EQ(Hex(Exchange(controller, MakeFrame(0xF4))), "F4 00 F4");
  EXPECT_EQ(controller.StoredBlock(), image);
}

TEST_F(ControllerTest, RequestsThatAreNotUnderstoodGetNoReply) {
  const link::CalibrationImage original = controller.StoredBlock();
  Bytes badChecksum = MakeFrame(0x11);
  badChecksum.back() ^= 0x01;
  struct Case {
    const char* what;
    Bytes request;
  };
  const Case cases[] = {
      {"wrong checksum", badChecksum},
      {"unknown command", MakeFrame(0x42)},
      {"read block without address", MakeFrame(0xF2, {0x00})},
      {"write block count not the data size", MakeFrame(0xF3, {0x00, 0x05, 0x00, 1, 2, 3})},
      {"write block past byte 511", WriteBlockRequest(507, Bytes(13, 0x01))},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Hex(Exchange(controller, c.request)), "") << c.what;
    // The line is in step again for the next request.
    EXPECT_EQ(Hex(Exchange(controller, MakeFrame(0xF1))), "F1 00 F1") << c.what;
  }
  Exchange(controller, MakeFrame(0xF4));
  EXPECT_EQ(controller.StoredBlock(), original);
}

TEST_F(ControllerTest, LogsEveryFrameWithItsTimes) {
  Bytes badChecksum = MakeFrame(0xF1);
  badChecksum.back() = 0;
  controller.Receive(MakeFrame(0x11), kStart);
  controller.Receive(badChecksum, kStart + 5ms);
  const auto log = controller.RequestLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(Hex(log[0].frame()), "11 00 11");
  EXPECT_TRUE(log[0].checksumOk);
  EXPECT_EQ(log[0].firstByte, kStart);
  EXPECT_EQ(log[1].command(), 0xF1);
  EXPECT_FALSE(log[1].checksumOk);
  EXPECT_EQ(log[1].lastByte, kStart + 5ms);
  controller.ClearRequestLog();
  EXPECT_TRUE(controller.RequestLog().empty());
}

TEST_F(ControllerTest, FramesARequestThatArrivesInPieces) {
  const Bytes request = ReadBlockRequest(0x1F0);
  controller.Receive(std::span(request).first(1), kStart);
  controller.Receive(std::span(request).subspan(1, 3), kStart + 2ms);
  EXPECT_FALSE(controller.NextOutputDue());
  controller.Receive(std::span(request).subspan(4), kStart + 4ms);
  const auto log = controller.RequestLog();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(Hex(log[0].frame()), "F2 03 F0 10 01 F6");
  EXPECT_EQ(Drain(controller).size(), 19u);
}

TEST_F(ControllerTest, APartOfARequestLeftLyingIsDropped) {
  const Bytes partial = {0xF2, 0x03, 0x00};
  controller.Receive(partial, kStart);
  EXPECT_EQ(Hex(Exchange(controller, MakeFrame(0x11), kStart + 50ms)), "11 03 00 00 01 15");
}

TEST_F(ControllerTest, ALengthAbove16CountsAs16) {
  // 19 bytes with the length byte 0x30: its checksum cannot match, so it goes unanswered
  // and the request after it is framed from its first byte.
  Bytes garbage(19, 0x00);
  garbage[0] = 0xF1;
  garbage[1] = 0x30;
  controller.Receive(garbage, kStart);
  EXPECT_EQ(Hex(Exchange(controller, MakeFrame(0xF4))), "F4 00 F4");
  EXPECT_EQ(controller.RequestLog().front().size, 19u);
}

TEST_F(ControllerTest, UnpacedRepliesAreDueAtOnce) {
  controller.Receive(ReadBlockRequest(0), kStart);
  const auto bytes = DrainTimed(controller);
  ASSERT_EQ(bytes.size(), 19u);
  EXPECT_EQ(bytes.front().due, kStart);
  EXPECT_EQ(bytes.back().due, kStart);
}

TEST_F(ControllerTest, PacedRepliesKeepToTheLineSpeed) {
  controller.SetPaced(true);
  const Bytes request = ReadBlockRequest(0);
  controller.Receive(request, kStart);
  controller.Receive(MakeFrame(0x11), kStart + 1ms);
  const auto bytes = DrainTimed(controller);
  ASSERT_EQ(bytes.size(), 19u + 6u);
  // The request takes 6 byte times to arrive; each reply byte one more.
  EXPECT_EQ(bytes.front().due, kStart + WireTime(request.size() + 1));
  for (std::size_t k = 1; k < bytes.size(); ++k) {
    EXPECT_GE(bytes[k].due - bytes[k - 1].due, kByteTime) << "byte " << k;
  }
  EXPECT_GE(bytes[18].due - kStart, 12ms);
}

}  // namespace
}  // namespace qelvo::sim
