#include "link/commands.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/scripted_stream.h"

namespace qelvo::link {
namespace {

using std::chrono::milliseconds;
using test_support::Bytes;
using test_support::Hex;
using test_support::MakeFrame;
using test_support::ScriptedStream;

// The pause ReceivePacket takes before each read; everything else is a command's own pause.
constexpr milliseconds kPollPause{5};

// Answers every command the way the controller does, from a stored image. Requests can be
// left unanswered by their position in the conversation (0 = the first request).
struct FakeController {
  CalibrationImage stored{};
  CalibrationImage staged{};
  std::set<int> silentAt;
  std::map<int, Bytes> replaceReplyAt;  // raw bytes sent instead of the reply
  int requests = 0;
  bool committed = false;
  std::array<Bytes, 3> monitorPayloads{};
  std::uint8_t monitorBlock1Command = command::kMonitorBlock1;
  Bytes zeroPointsReply = MakeFrame(command::kReadZeroPoints,
                                    {0x01, 0x02, 0x00, 0xFF, 0x12, 0x34, 0xAB, 0xCD, 0x00, 0x00});

  void Answer(ScriptedStream& s, std::span<const std::uint8_t> request) {
    const int index = requests++;
    if (silentAt.contains(index)) {
      return;
    }
    if (auto it = replaceReplyAt.find(index); it != replaceReplyAt.end()) {
      s.QueueBytes(it->second);
      return;
    }
    const std::uint8_t cmd = request[0];
    const std::size_t address = request.size() > 4 ? request[2] + 256u * request[4] : 0;
    switch (cmd) {
      case command::kReadBlock:
        s.QueueReply(cmd, std::span<const std::uint8_t>(stored).subspan(address, request[3]));
        break;
      case command::kWriteBlock:
        std::copy_n(request.begin() + 5, request[3], staged.begin() + address);
        s.QueueReply(cmd);
        break;
      case command::kCommit:
        stored = staged;
        committed = true;
        s.QueueReply(cmd);
        break;
      case command::kMonitorBlock1:
        s.QueueReply(monitorBlock1Command, monitorPayloads[0]);
        break;
      case command::kMonitorBlock2:
      case command::kMonitorBlock3:
        s.QueueReply(cmd, monitorPayloads[cmd - command::kMonitorBlock1]);
        break;
      case command::kReadZeroPoints:
        s.QueueBytes(zeroPointsReply);
        break;
      default:
        s.QueueReply(cmd);
    }
  }
};

CalibrationImage PatternImage(std::uint8_t seed) {
  CalibrationImage image;
  for (std::size_t i = 0; i < image.size(); ++i) {
    image[i] = static_cast<std::uint8_t>(i * 7 + seed);
  }
  return image;
}

struct CommandsTest : ::testing::Test {
  CommandsTest() {
    link.port = &stream;
    controller.stored = PatternImage(3);
    controller.staged = controller.stored;
    stream.SetResponder([this](ScriptedStream& s, std::span<const std::uint8_t> request) {
      controller.Answer(s, request);
    });
  }

  // What the controller sees: each request as hex and each command pause as "pause N".
  std::vector<std::string> Conversation() const {
    std::vector<std::string> lines;
    for (const auto& e : stream.Events()) {
      if (e.kind == ScriptedStream::EventKind::Write) {
        lines.push_back(Hex(e.bytes));
      } else if (e.kind == ScriptedStream::EventKind::Pause && e.pause != kPollPause) {
        lines.push_back("pause " + std::to_string(e.pause.count()));
      }
    }
    return lines;
  }

  ScriptedStream stream;
  Link link;
  FakeController controller;
};

std::string ReadBlockRequest(std::size_t address) {
  const std::uint8_t payload[] = {static_cast<std::uint8_t>(address % 256), 16,
                                  static_cast<std::uint8_t>(address / 256)};
  return Hex(MakeFrame(command::kReadBlock, payload));
}

std::string WriteBlockRequest(const CalibrationImage& image, std::size_t address,
                              std::size_t count) {
  Bytes payload = {static_cast<std::uint8_t>(address % 256), static_cast<std::uint8_t>(count),
                   static_cast<std::uint8_t>(address / 256)};
  payload.insert(payload.end(), image.begin() + address, image.begin() + address + count);
  return Hex(MakeFrame(command::kWriteBlock, payload));
}

// ---- ReadImage ----------------------------------------------------------------------------

TEST_F(CommandsTest, ReadImageSendsTwoPreparesThen32ReadBlocks) {
  CalibrationImage image = FreshImage();
  ASSERT_TRUE(ReadImage(link, image));
  EXPECT_EQ(image, controller.stored);

  std::vector<std::string> expected = {"F1 00 F1", "pause 50", "F1 00 F1", "pause 50"};
  for (std::size_t a = 0; a < kImageSize; a += 16) {
    expected.push_back(ReadBlockRequest(a));
  }
  EXPECT_EQ(Conversation(), expected);
  EXPECT_EQ(expected[4], "F2 03 00 10 00 05");
  EXPECT_EQ(expected[4 + 16], "F2 03 00 10 01 06") << "block at 256 carries 00 10 01";
  EXPECT_EQ(expected.back(), "F2 03 F0 10 01 F6");
}

TEST_F(CommandsTest, ReadImageNeedsOnlyTheSecondPrepareAnswered) {
  controller.replaceReplyAt[0] = {0x55, 0x12};
  CalibrationImage image = FreshImage();
  EXPECT_TRUE(ReadImage(link, image));
  EXPECT_EQ(image, controller.stored);
}

TEST_F(CommandsTest, AFailedReadImageStopsAndLeavesTheImageUntouched) {
  struct Case {
    const char* name;
    int request;                 // which request goes wrong
    std::optional<Bytes> reply;  // nullopt: no answer
  };
  const std::vector<Case> cases = {
      {"second Prepare unanswered", 1, std::nullopt},
      {"first block unanswered", 2, std::nullopt},
      {"block 5 unanswered", 7, std::nullopt},
      {"block 5 with a wrong checksum", 7, Bytes{0xF2, 0x01, 0x00, 0x00}},
      {"block 5 shorter than 16 bytes", 7,
       MakeFrame(command::kReadBlock, {1, 2, 3, 4, 5, 6, 7, 8})},
      {"last block shorter than 16 bytes", 33, MakeFrame(command::kReadBlock, Bytes(15, 0))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedStream s;
    FakeController fake;
    fake.stored = PatternImage(9);
    if (c.reply) {
      fake.replaceReplyAt[c.request] = *c.reply;
    } else {
      fake.silentAt.insert(c.request);
    }
    s.SetResponder(
        [&](ScriptedStream& st, std::span<const std::uint8_t> r) { fake.Answer(st, r); });
    Link l;
    l.port = &s;

    CalibrationImage image = FreshImage();
    EXPECT_FALSE(ReadImage(l, image));
    EXPECT_EQ(image, FreshImage());
    EXPECT_EQ(fake.requests, c.request + 1) << "nothing is sent after the failed exchange";
  }
}

// ---- WriteImage ---------------------------------------------------------------------------

TEST_F(CommandsTest, WriteImageSendsPrepare40BlocksInAscendingOrderThenCommit) {
  const CalibrationImage image = PatternImage(100);
  ASSERT_TRUE(WriteImage(link, image));
  EXPECT_TRUE(controller.committed);
  EXPECT_EQ(controller.stored, image);

  std::vector<std::string> expected = {"F1 00 F1", "pause 50"};
  for (std::size_t a = 0; a < 507; a += 13) {
    expected.push_back(WriteBlockRequest(image, a, 13));
  }
  expected.push_back(WriteBlockRequest(image, 507, 5));
  expected.push_back("F4 00 F4");
  expected.push_back("pause 200");
  EXPECT_EQ(Conversation(), expected);

  const auto writes = stream.Writes();
  ASSERT_EQ(writes.size(), 42u);
  EXPECT_EQ(Hex(std::span(writes[1]).first(5)), "F3 10 00 0D 00");
  EXPECT_EQ(Hex(std::span(writes[1 + 19]).first(5)), "F3 10 F7 0D 00") << "block at 247";
  EXPECT_EQ(Hex(std::span(writes[1 + 20]).first(5)), "F3 10 04 0D 01") << "block at 260";
  EXPECT_EQ(Hex(std::span(writes[40]).first(5)), "F3 08 FB 05 01") << "last block at 507";
}

TEST_F(CommandsTest, AFailedWriteImageSendsNothingMoreAndNoCommit) {
  struct Case {
    const char* name;
    int request;
  };
  const std::vector<Case> cases = {
      {"Prepare unanswered", 0},     {"first block unanswered", 1}, {"block at 260 unanswered", 21},
      {"last block unanswered", 40}, {"Commit unanswered", 41},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedStream s;
    FakeController fake;
    fake.silentAt.insert(c.request);
    s.SetResponder(
        [&](ScriptedStream& st, std::span<const std::uint8_t> r) { fake.Answer(st, r); });
    Link l;
    l.port = &s;

    EXPECT_FALSE(WriteImage(l, PatternImage(1)));
    EXPECT_EQ(fake.requests, c.request + 1);
    if (c.request < 41) {
      EXPECT_FALSE(fake.committed);
      EXPECT_NE(Hex(s.Writes().back()), "F4 00 F4");
    }
  }
}

// ---- Model check --------------------------------------------------------------------------

TEST_F(CommandsTest, ModelCheckSendsPreparePrepareReadBlockAt0) {
  EXPECT_EQ(CheckModel(link, controller.stored), ModelCheck::Match);
  const std::vector<std::string> expected = {"F1 00 F1", "pause 50", "F1 00 F1", "pause 50",
                                             "F2 03 00 10 00 05"};
  EXPECT_EQ(Conversation(), expected);
}

TEST_F(CommandsTest, ModelCheckOutcomes) {
  const CalibrationImage stored = PatternImage(3);
  CalibrationImage otherName = stored;
  otherName[7] ^= 0x01;
  CalibrationImage otherSettings = stored;
  otherSettings[8] ^= 0x01;

  Bytes first8(stored.begin(), stored.begin() + 8);
  Bytes first7(stored.begin(), stored.begin() + 7);

  struct Case {
    const char* name;
    CalibrationImage image;
    std::map<int, Bytes> replies;
    std::set<int> silent;
    ModelCheck outcome;
  };
  const std::vector<Case> cases = {
      {"same module name", stored, {}, {}, ModelCheck::Match},
      {"only the settings differ", otherSettings, {}, {}, ModelCheck::Match},
      {"byte 7 differs", otherName, {}, {}, ModelCheck::Mismatch},
      {"first Prepare unanswered", stored, {}, {0}, ModelCheck::Match},
      {"second Prepare unanswered", stored, {}, {1}, ModelCheck::NoReply},
      {"Read block unanswered", stored, {}, {2}, ModelCheck::NoReply},
      {"Read block with a wrong checksum",
       stored,
       {{2, {0xF2, 0x00, 0x00}}},
       {},
       ModelCheck::NoReply},
      {"reply carrying the 8 name bytes only",
       stored,
       {{2, MakeFrame(command::kReadBlock, first8)}},
       {},
       ModelCheck::Match},
      {"reply shorter than the name",
       stored,
       {{2, MakeFrame(command::kReadBlock, first7)}},
       {},
       ModelCheck::NoReply},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedStream s;
    FakeController fake;
    fake.stored = stored;
    fake.replaceReplyAt = c.replies;
    fake.silentAt = c.silent;
    s.SetResponder(
        [&](ScriptedStream& st, std::span<const std::uint8_t> r) { fake.Answer(st, r); });
    Link l;
    l.port = &s;
    EXPECT_EQ(CheckModel(l, c.image), c.outcome);
  }
}

// ---- Monitor blocks -----------------------------------------------------------------------

TEST_F(CommandsTest, MonitorTickFillsTheThreeThirdsOfTheBuffer) {
  for (std::size_t b = 0; b < 3; ++b) {
    controller.monitorPayloads[b] = Bytes(16, static_cast<std::uint8_t>(0x10 * (b + 1)));
  }
  MonitorBuffer buffer{};
  EXPECT_TRUE(ExchangeMonitorBlocks(link, buffer));
  const std::vector<std::string> expected = {"3A 00 3A", "3B 00 3B", "3C 00 3C"};
  EXPECT_EQ(Conversation(), expected);
  EXPECT_EQ(buffer[0], 0x10);
  EXPECT_EQ(buffer[15], 0x10);
  EXPECT_EQ(buffer[16], 0x20);
  EXPECT_EQ(buffer[47], 0x30);
}

TEST_F(CommandsTest, AFailedMonitorBlockKeepsItsThirdAndTheOthersStillCome) {
  struct Case {
    const char* name;
    std::set<int> silent;
    std::map<int, Bytes> replies;
    std::uint8_t block1Command;
    bool answered;
    std::array<bool, 3> thirdRenewed;
  };
  const Bytes short2 = MakeFrame(command::kMonitorBlock2, Bytes(15, 0x77));
  const Bytes block3ByOtherCommand = MakeFrame(0x99, Bytes(16, 0x30));
  const std::vector<Case> cases = {
      {"block 1 unanswered", {0}, {}, command::kMonitorBlock1, false, {false, true, true}},
      {"block 1 with another command byte", {}, {}, 0x3B, false, {false, true, true}},
      {"block 2 shorter than 16 bytes",
       {},
       {{1, short2}},
       command::kMonitorBlock1,
       true,
       {true, false, true}},
      {"block 3's command byte is not examined",
       {},
       {{2, block3ByOtherCommand}},
       command::kMonitorBlock1,
       true,
       {true, true, true}},
      {"all unanswered", {0, 1, 2}, {}, command::kMonitorBlock1, false, {false, false, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedStream s;
    FakeController fake;
    for (std::size_t b = 0; b < 3; ++b) {
      fake.monitorPayloads[b] = Bytes(16, static_cast<std::uint8_t>(0x10 * (b + 1)));
    }
    fake.silentAt = c.silent;
    fake.replaceReplyAt = c.replies;
    fake.monitorBlock1Command = c.block1Command;
    s.SetResponder(
        [&](ScriptedStream& st, std::span<const std::uint8_t> r) { fake.Answer(st, r); });
    Link l;
    l.port = &s;

    MonitorBuffer buffer;
    buffer.fill(0xEE);
    EXPECT_EQ(ExchangeMonitorBlocks(l, buffer), c.answered);
    EXPECT_EQ(s.Writes().size(), 3u) << "all three blocks are asked for every tick";
    for (std::size_t b = 0; b < 3; ++b) {
      const std::uint8_t expected = c.thirdRenewed[b] ? 0x10 * (b + 1) : 0xEE;
      for (std::size_t i = 16 * b; i < 16 * (b + 1); ++i) {
        ASSERT_EQ(buffer[i], expected) << "byte " << i;
      }
    }
  }
}

// ---- Zero points --------------------------------------------------------------------------

TEST_F(CommandsTest, ZeroPointsAreFiveValuesHighByteFirstAfterA50MillisecondPause) {
  const auto values = ReadZeroPoints(link);
  ASSERT_TRUE(values.has_value());
  EXPECT_EQ(*values, (ZeroPoints{0x0102, 0x00FF, 0x1234, 0xABCD, 0x0000}));
  const std::vector<std::string> expected = {"35 00 35", "pause 50"};
  EXPECT_EQ(Conversation(), expected);
}

TEST_F(CommandsTest, AZeroPointReadingCountsOnlyWithAFullReplyOfItsOwnCommand) {
  struct Case {
    const char* name;
    Bytes reply;
  };
  const std::vector<Case> cases = {
      {"no reply", {}},
      {"another command byte", MakeFrame(0x36, Bytes(10, 1))},
      {"shorter than 10 bytes", MakeFrame(command::kReadZeroPoints, Bytes(9, 1))},
      {"wrong checksum", {0x35, 0x01, 0x00, 0x00}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedStream s;
    FakeController fake;
    fake.zeroPointsReply = c.reply;
    s.SetResponder(
        [&](ScriptedStream& st, std::span<const std::uint8_t> r) { fake.Answer(st, r); });
    Link l;
    l.port = &s;
    EXPECT_FALSE(ReadZeroPoints(l).has_value());
  }
}

TEST(CommandsWithoutPortTest, EveryCommandFails) {
  Link link;
  CalibrationImage image = FreshImage();
  MonitorBuffer buffer{};
  EXPECT_FALSE(ReadImage(link, image));
  EXPECT_FALSE(WriteImage(link, image));
  EXPECT_EQ(CheckModel(link, image), ModelCheck::NoReply);
  EXPECT_FALSE(ExchangeMonitorBlocks(link, buffer));
  EXPECT_FALSE(ReadZeroPoints(link).has_value());
}

}  // namespace
}  // namespace qelvo::link
