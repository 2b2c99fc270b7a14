#include "link/packet.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/scripted_stream.h"

namespace qelvo::link {
namespace {

using test_support::Bytes;
using test_support::Hex;
using test_support::MakeFrame;
using test_support::ScriptedStream;

TEST(ChecksumTest, ExampleFramesEndWithTheSumOfTheirBytes) {
  struct Case {
    Bytes frameWithoutChecksum;
    std::uint8_t checksum;
  };
  const std::vector<Case> cases = {
      {{0x11, 0x00}, 0x11},
      {{0xF1, 0x00}, 0xF1},
      {{0xF4, 0x00}, 0xF4},
      {{0x3A, 0x00}, 0x3A},
      {{0x35, 0x00}, 0x35},
      {{0xF2, 0x03, 0x00, 0x10, 0x00}, 0x05},
      {{0xF2, 0x03, 0xF0, 0x10, 0x01}, 0xF6},
      {{}, 0x00},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Checksum(c.frameWithoutChecksum), c.checksum) << Hex(c.frameWithoutChecksum);
  }
}

struct LinkFixture : ::testing::Test {
  LinkFixture() { link.port = &stream; }
  ScriptedStream stream;
  Link link;
};

using SendPacketTest = LinkFixture;

TEST_F(SendPacketTest, WritesTheFrameWithItsChecksumInOneCall) {
  const std::uint8_t payload[] = {0xF0, 0x10, 0x01};
  link.transmit.fill(0xAA);
  PutRequest(link, 0xF2, payload);
  EXPECT_TRUE(SendPacket(link));
  ASSERT_EQ(stream.Writes().size(), 1u);
  EXPECT_EQ(Hex(stream.Writes()[0]), "F2 03 F0 10 01 F6");
  EXPECT_EQ(link.transmit[5], 0xF6);
  EXPECT_EQ(link.transmit[6], 0xAA) << "bytes beyond the frame stay as they were";
}

TEST_F(SendPacketTest, ALengthBeyond16GoesOutAs16WithoutOverrunningTheBuffer) {
  link.transmit.fill(0x01);
  link.transmit[0] = 0xF3;
  link.transmit[1] = 0xFF;
  SendPacket(link);
  ASSERT_EQ(stream.Writes().size(), 1u);
  const Bytes frame = stream.Writes()[0];
  ASSERT_EQ(frame.size(), kPacketBufferSize);
  EXPECT_EQ(frame[1], 16);
  EXPECT_EQ(frame[18], Checksum(std::span(frame).first(18)));
}

TEST_F(SendPacketTest, ReportsAFailedWrite) {
  stream.SetWriteFails(true);
  PutRequest(link, 0x11);
  EXPECT_FALSE(SendPacket(link));
}

TEST(SendPacketWithoutPortTest, FailsInsteadOfCrashing) {
  Link link;
  PutRequest(link, 0x11);
  EXPECT_FALSE(SendPacket(link));
  EXPECT_FALSE(ReceivePacket(link));
}

TEST(PutRequestTest, KeepsAtMost16PayloadBytes) {
  Link link;
  const Bytes payload(20, 0x5A);
  PutRequest(link, 0xF3, payload);
  EXPECT_EQ(link.transmit[1], 16);
  EXPECT_EQ(link.transmit[17], 0x5A);
}

using ReceivePacketTest = LinkFixture;

// A read's result: its bytes (none when nothing came), or nullopt for a failing read.
using ReadResult = std::optional<Bytes>;

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(ReceivePacketTest, CollectsFramesAsTheyArrive) {
  // Length 0x20 reads as 16 once clamped, and the checksum is over the clamped header.
  Bytes longFrame = {0xF2, 16};
  for (int i = 0; i < 16; ++i) {
    longFrame.push_back(static_cast<std::uint8_t>(i));
  }
  longFrame.push_back(Checksum(longFrame));
  longFrame[1] = 0x20;

  const Bytes frame = MakeFrame(0x3A, {1, 2, 3, 4});
  std::vector<ReadResult> bytewise;
  for (std::uint8_t b : frame) {
    bytewise.push_back(Bytes{b});
  }
  std::vector<ReadResult> elevenBytewise;
  for (int i = 0; i < 11; ++i) {
    elevenBytewise.push_back(Bytes{i == 1 ? std::uint8_t{16} : std::uint8_t{7}});
  }

  struct Case {
    const char* name;
    std::vector<ReadResult> reads;
    bool accepted;
    int readsTaken;
    std::uint8_t length;  // receive[1] afterwards
  };
  const std::vector<Case> cases = {
      {"empty payload completes after 3 bytes", {Bytes{0x5C, 0x00, 0x5C}}, true, 1, 0},
      {"length 17 or more counts as 16", {Concat(longFrame, {0xEE, 0xEE})}, true, 1, 16},
      {"one byte per read", bytewise, true, 7, 4},
      {"split with silence between",
       {Bytes{0x3A, 0x04, 1}, Bytes{}, Bytes{}, Bytes{2, 3, 4, 0x48}},
       true,
       4,
       4},
      {"first of two replies decides", {Concat(MakeFrame(0xF1), MakeFrame(0xF4, {1}))}, true, 1, 0},
      {"wrong checksum", {Bytes{0x3A, 0x01, 0x07, 0x00}}, false, 1, 1},
      {"wrong frame before a right one",
       {Concat({0xF1, 0x00, 0xF0}, MakeFrame(0xF1))},
       false,
       1,
       0},
      {"no reply within 10 reads", {}, false, 10, 0},
      {"10 reads that do not complete a frame", elevenBytewise, false, 10, 16},
      {"read failure ends at once", {Bytes{0x3A, 0x04}, std::nullopt, Bytes{1}}, false, 2, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedStream s;
    for (const auto& r : c.reads) {
      r ? s.QueueBytes(*r) : s.QueueReadFailure();
    }
    Link l;
    l.port = &s;
    EXPECT_EQ(ReceivePacket(l), c.accepted);
    EXPECT_EQ(s.ReadCount(), c.readsTaken);
    EXPECT_EQ(l.receive[1], c.length);
  }
}

TEST_F(ReceivePacketTest, EveryReadFollowsA5MillisecondPause) {
  EXPECT_FALSE(ReceivePacket(link));
  using std::chrono::milliseconds;
  EXPECT_EQ(stream.Pauses(), std::vector<milliseconds>(10, milliseconds(5)));
  EXPECT_EQ(stream.ReadCount(), 10);
  EXPECT_LE(stream.Elapsed(), milliseconds(1500));
}

TEST_F(ReceivePacketTest, TheSecondReplyOfOneReadIsLost) {
  stream.QueueBytes(Concat(MakeFrame(0xF1), MakeFrame(0xF4)));
  EXPECT_TRUE(ReceivePacket(link));
  EXPECT_EQ(link.receive[0], 0xF1);
  EXPECT_FALSE(ReceivePacket(link));
}

TEST_F(ReceivePacketTest, BytesBeyondAShortReplyKeepWhatAnEarlierReplyLeft) {
  stream.QueueReply(0xF2, {1, 2, 3, 4, 5, 6});
  stream.QueueReply(0xF2, {9});
  ASSERT_TRUE(ReceivePacket(link));
  ASSERT_TRUE(ReceivePacket(link));
  EXPECT_EQ(Hex(std::span(link.receive).first(8)), "F2 01 09 FC 03 04 05 06");
}

TEST_F(ReceivePacketTest, ACancelledStreamFailsAtOnce) {
  stream.QueueReply(0xF1);
  stream.Cancel();
  EXPECT_FALSE(ReceivePacket(link));
  EXPECT_EQ(stream.ReadCount(), 0);
}

TEST_F(ReceivePacketTest, TracesEveryFrameSentAndReceivedEvenAnIncompleteOne) {
  std::vector<std::pair<TraceDirection, std::string>> traced;
  link.trace = [&](TraceDirection d, std::span<const std::uint8_t> frame,
                   std::chrono::steady_clock::time_point) { traced.emplace_back(d, Hex(frame)); };
  stream.QueueReply(0x11, {0, 0, 1});
  stream.QueueBytes({0xF2, 0x10, 0x01});

  PutRequest(link, 0x11);
  SendPacket(link);
  ReceivePacket(link);
  PutRequest(link, 0xF1);
  SendPacket(link);
  ReceivePacket(link);
  ReceivePacket(link);

  using enum TraceDirection;
  const std::vector<std::pair<TraceDirection, std::string>> expected = {
      {Sent, "11 00 11"}, {Received, "11 03 00 00 01 15"},
      {Sent, "F1 00 F1"}, {Received, "F2 10 01"},
      {Received, ""},
  };
  EXPECT_EQ(traced, expected);
}

}  // namespace
}  // namespace qelvo::link
