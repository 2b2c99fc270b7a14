#include "monitor/monitor_tick.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "monitor/scripted_controller.h"
#include "monitor/table_fixture.h"
#include "support/make_frame.h"
#include "support/scripted_stream.h"

namespace qelvo::monitor {
namespace {

using testing::Item;
using testing::MonitorTables;

constexpr int kFaultAddress = 16;

class MonitorTickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    link_.port = &stream_;
    controller_.Attach(stream_);
  }

  TickTexts Tick(const catalogue::DescriptionTables& tables) {
    return tick_.RunTick(link_, tables);
  }

  void SetFaultWord(std::uint16_t word) {
    controller_.live[kFaultAddress] = static_cast<std::uint8_t>(word >> 8);
    controller_.live[kFaultAddress + 1] = static_cast<std::uint8_t>(word);
  }

  test_support::ScriptedStream stream_;
  link::Link link_;
  testing::ScriptedController controller_;
  MonitorTick tick_;
};

// ---- Value formats ----

struct FormatCase {
  const char* what;
  catalogue::MonitorItem item;
  std::vector<std::uint8_t> bytes;  // at the item's address
  std::optional<std::u16string> text;
};

class ItemFormatTest : public MonitorTickTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(ItemFormatTest, FormatsTheItemFromTheBuffer) {
  const FormatCase& c = GetParam();
  for (std::size_t i = 0; i < c.bytes.size(); ++i)
    controller_.live[c.item.address + i] = c.bytes[i];
  const auto tables = MonitorTables({c.item});

  const TickTexts texts = Tick(*tables);

  ASSERT_EQ(texts.itemCount, 1);
  EXPECT_EQ(texts.items[0], c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ItemFormatTest,
    ::testing::Values(
        FormatCase{"16-bit unsigned", Item(20, 2, 1, u"uo"), {0xFF, 0xFE}, u"65534"},
        FormatCase{"16-bit signed", Item(20, 2, 1, u"so"), {0xFF, 0xFE}, u"-2"},
        FormatCase{"byte unsigned", Item(3, 1, 0, u"uo"), {0xFF}, u"255"},
        FormatCase{"byte signed", Item(3, 1, 0, u"so"), {0xFF}, u"-1"},
        FormatCase{"byte hex", Item(3, 1, 0, u"h"), {0xFF}, u"ff"},
        FormatCase{"byte hex without leading zero", Item(3, 1, 0, u"h"), {0x0A}, u"a"},
        FormatCase{"byte as a character", Item(40, 1, 0, u"a"), {0x41}, u"A"},
        FormatCase{"byte code above 127 is the same code", Item(40, 1, 0, u"a"), {0xE9}, u"\u00e9"},
        FormatCase{"byte pos is not used", Item(5, 1, 7, u"uo"), {0x07}, u"7"},
        FormatCase{"32-bit signed", Item(32, 2, 3, u"so"), {0xFF, 0xFF, 0xFF, 0xFE}, u"-2"},
        FormatCase{"32-bit unsigned stays positive",
                   Item(32, 2, 3, u"uo"),
                   {0xFF, 0xFF, 0xFF, 0xFF},
                   u"4294967295"},
        FormatCase{"24-bit unsigned, last byte of the buffer",
                   Item(45, 2, 2, u"uo"),
                   {0x01, 0x02, 0x03},
                   u"66051"},
        FormatCase{"negative pos unsigned", Item(8, 2, -1, u"uo"), {}, u"0"},
        FormatCase{"characters up to a zero byte",
                   Item(36, 2, 5, u"a"),
                   {'Q', 'v', 0, 'x', 'y', 'z'},
                   u"Qv"},
        FormatCase{"characters fill the span", Item(36, 2, 2, u"a"), {'Q', 'v', 'l'}, u"Qvl"},
        FormatCase{"at most 19 characters", Item(0, 2, 23, u"a"),
                   std::vector<std::uint8_t>(24, 'x'), std::u16string(19, u'x')},
        // No text of its own: the edit keeps what it showed.
        FormatCase{"24-bit signed", Item(32, 2, 2, u"so"), {0x80, 0, 0}, std::nullopt},
        FormatCase{"unknown byte code", Item(3, 1, 0, u"x"), {0x12}, std::nullopt},
        FormatCase{"codes are case-sensitive", Item(3, 1, 0, u"UO"), {0x12}, std::nullopt},
        FormatCase{"unknown multi-byte code", Item(20, 2, 1, u"d"), {1, 2}, std::nullopt},
        FormatCase{"unknown pro", Item(3, 3, 0, u"uo"), {0x12}, std::nullopt},
        FormatCase{"wider than four bytes", Item(20, 2, 4, u"uo"), {1, 2, 3, 4, 5}, std::nullopt},
        FormatCase{"reaching past the buffer", Item(47, 2, 1, u"uo"), {0x12}, std::nullopt},
        FormatCase{"address past the buffer", Item(48, 1, 0, u"uo"), {}, std::nullopt},
        FormatCase{"negative address", Item(-1, 1, 0, u"uo"), {}, std::nullopt}),
    [](const ::testing::TestParamInfo<FormatCase>& info) {
      std::string name = info.param.what;
      for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
          ch = '_';
      return name;
    });

// ---- Exchanges and the status ----

TEST_F(MonitorTickTest, SendsTheThreeMonitorRequestsAndFillsTheBuffer) {
  for (std::size_t i = 0; i < controller_.live.size(); ++i)
    controller_.live[i] = 100 + i;
  const auto tables = MonitorTables({Item(0, 1, 0, u"uo"), Item(47, 1, 0, u"uo")});

  const TickTexts texts = Tick(*tables);

  const std::vector<test_support::Bytes> sent = stream_.Writes();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(test_support::Hex(sent[0]), "3A 00 3A");
  EXPECT_EQ(test_support::Hex(sent[1]), "3B 00 3B");
  EXPECT_EQ(test_support::Hex(sent[2]), "3C 00 3C");
  EXPECT_TRUE(texts.answered);
  EXPECT_EQ(texts.status, u"Success!");
  EXPECT_EQ(tick_.buffer(), controller_.live);
  EXPECT_EQ(texts.items[0], u"100");
  EXPECT_EQ(texts.items[1], u"147");
}

TEST_F(MonitorTickTest, SilentFirstBlockFailsTheTickWhileTheOthersStillUpdate) {
  const auto tables = MonitorTables({Item(0, 1, 0, u"uo"), Item(16, 1, 0, u"uo")});
  controller_.live.fill(1);
  Tick(*tables);
  controller_.live.fill(2);
  controller_.silent[0] = true;

  const TickTexts texts = Tick(*tables);

  EXPECT_FALSE(texts.answered);
  EXPECT_FALSE(tick_.answered());
  EXPECT_EQ(texts.status, u"Failure!");
  for (std::size_t i = 0; i < 16; ++i)
    EXPECT_EQ(tick_.buffer()[i], 1) << "byte " << i;
  for (std::size_t i = 16; i < 48; ++i)
    EXPECT_EQ(tick_.buffer()[i], 2) << "byte " << i;
  // The stale third is still drawn.
  EXPECT_EQ(texts.items[0], u"1");
  EXPECT_EQ(texts.items[1], u"2");
}

TEST_F(MonitorTickTest, FirstBlockAnsweredWithAnotherCommandIsAFailureAndNotUsed) {
  const auto tables = MonitorTables({Item(0, 1, 0, u"uo")});
  controller_.live.fill(9);
  controller_.block1ReplyCommand = link::command::kMonitorBlock2;

  const TickTexts texts = Tick(*tables);

  EXPECT_EQ(texts.status, u"Failure!");
  EXPECT_EQ(tick_.buffer()[0], 0);
  EXPECT_EQ(tick_.buffer()[16], 9);
}

TEST_F(MonitorTickTest, SilentControllerKeepsTheLastReadings) {
  const auto tables = MonitorTables({Item(20, 2, 1, u"uo")});
  controller_.live[20] = 0x01;
  Tick(*tables);
  controller_.silent = {true, true, true};

  const TickTexts texts = Tick(*tables);

  EXPECT_EQ(texts.status, u"Failure!");
  EXPECT_EQ(texts.items[0], u"256");
}

TEST_F(MonitorTickTest, EmptyTableStillRunsTheExchanges) {
  const auto tables = MonitorTables({});

  const TickTexts answered = Tick(*tables);
  controller_.silent[0] = true;
  const TickTexts failed = Tick(*tables);

  EXPECT_EQ(answered.itemCount, 0);
  EXPECT_EQ(answered.status, u"Success!");
  EXPECT_EQ(failed.status, u"Failure!");
  EXPECT_EQ(stream_.Writes().size(), 6u);
}

TEST_F(MonitorTickTest, NoPortFailsWithoutExchanging) {
  link_.port = nullptr;
  const auto tables = MonitorTables({Item(0, 1, 0, u"uo")});

  const TickTexts texts = Tick(*tables);

  EXPECT_EQ(texts.status, u"Failure!");
  EXPECT_EQ(texts.items[0], u"0");
  EXPECT_TRUE(stream_.Writes().empty());
}

TEST_F(MonitorTickTest, ItemsBeyondTheSlotsGetNoText) {
  std::vector<catalogue::MonitorItem> items(kItemSlots + 3, Item(0, 1, 0, u"uo"));
  const auto tables = MonitorTables(items);

  const TickTexts texts = Tick(*tables);

  EXPECT_EQ(texts.itemCount, kItemSlots);
}

// ---- The fault text ----

// What the fault edit shows after a tick (counted from 1 in the test).
struct FaultShowing {
  int tick;
  std::u16string text;
  friend bool operator==(const FaultShowing&, const FaultShowing&) = default;
};
void PrintTo(const FaultShowing& s, std::ostream* os) {
  *os << "tick " << s.tick << ": \"" << std::string(s.text.begin(), s.text.end()) << "\"";
}

class FaultTextTest : public MonitorTickTest {
 protected:
  // Runs `count` ticks, applying the fault item's texts to an edit, and samples the edit
  // every `every` ticks; with `every` 0, after each tick that gave the edit a text.
  std::vector<FaultShowing> RunTicks(int count, const catalogue::DescriptionTables& tables,
                                     int every = 10) {
    std::vector<FaultShowing> shown;
    for (int t = 1; t <= count; ++t) {
      const TickTexts texts = Tick(tables);
      if (texts.items[0])
        edit_ = *texts.items[0];
      if (every == 0 ? texts.items[0].has_value() : t % every == 0)
        shown.push_back({t, edit_});
    }
    return shown;
  }

  std::u16string edit_ = u"before";
};

TEST_F(FaultTextTest, NoFaultShowsOneSpaceEveryTenthTick) {
  const auto tables = MonitorTables({Item(kFaultAddress, 2, 1, u"h")}, 16);

  EXPECT_EQ(RunTicks(20, *tables, 0), (std::vector<FaultShowing>{{10, u" "}, {20, u" "}}));
}

TEST_F(FaultTextTest, ActiveFaultsTakeTurnsInRisingBitOrder) {
  const auto tables = MonitorTables({Item(kFaultAddress, 2, 1, u"h")}, 16);
  SetFaultWord((1 << 3) | (1 << 7));

  // After bit 7 the scan runs off the end once, which keeps "Fault 7" ten ticks more.
  EXPECT_EQ(RunTicks(50, *tables), (std::vector<FaultShowing>{{10, u"Fault 3"},
                                                              {20, u"Fault 7"},
                                                              {30, u"Fault 7"},
                                                              {40, u"Fault 3"},
                                                              {50, u"Fault 7"}}));
}

TEST_F(FaultTextTest, LastNamedBitWrapsStraightBack) {
  const auto tables = MonitorTables({Item(kFaultAddress, 2, 1, u"h")}, 16);
  SetFaultWord((1 << 0) | (1 << 15));

  EXPECT_EQ(RunTicks(30, *tables),
            (std::vector<FaultShowing>{{10, u"Fault 0"}, {20, u"Fault 15"}, {30, u"Fault 0"}}));
  EXPECT_EQ(tick_.faultCursor(), 1);
}

TEST_F(FaultTextTest, BitsBeyondTheNamesLeaveTheTextUnchanged) {
  const auto tables = MonitorTables({Item(kFaultAddress, 2, 1, u"h")}, 4);
  SetFaultWord(1 << 9);

  EXPECT_EQ(RunTicks(30, *tables),
            (std::vector<FaultShowing>{{10, u"before"}, {20, u"before"}, {30, u"before"}}));
  EXPECT_EQ(tick_.faultCursor(), 0);
}

TEST_F(FaultTextTest, CounterWrapGivesOneStepOfSixTicks) {
  const auto tables = MonitorTables({Item(kFaultAddress, 2, 1, u"h")}, 16);

  const std::vector<FaultShowing> shown = RunTicks(266, *tables, 0);

  std::vector<int> ticks;
  for (const auto& s : shown)
    ticks.push_back(s.tick);
  ASSERT_GE(ticks.size(), 3u);
  EXPECT_EQ(ticks[ticks.size() - 3], 250);
  EXPECT_EQ(ticks[ticks.size() - 2], 256);  // counter 0
  EXPECT_EQ(ticks[ticks.size() - 1], 266);
  EXPECT_EQ(tick_.counter(), 266 % 256);
}

TEST_F(FaultTextTest, OneByteHexItemIsNotTheFaultWord) {
  const auto tables = MonitorTables({Item(kFaultAddress, 1, 0, u"h")}, 16);
  SetFaultWord(0x0A00);

  const TickTexts texts = Tick(*tables);

  EXPECT_EQ(texts.items[0], u"a");
}

TEST_F(FaultTextTest, ShorterReloadedNamesRestartTheCursor) {
  const auto sixteen = MonitorTables({Item(kFaultAddress, 2, 1, u"h")}, 16);
  SetFaultWord(1 << 7);
  RunTicks(10, *sixteen);
  ASSERT_EQ(tick_.faultCursor(), 8);
  SetFaultWord(1 << 1);
  const auto four = MonitorTables({Item(kFaultAddress, 2, 1, u"h")}, 4);

  const std::vector<FaultShowing> shown = RunTicks(20, *four);

  EXPECT_EQ(shown, (std::vector<FaultShowing>{{10, u"Fault 7"}, {20, u"Fault 1"}}));
}

}  // namespace
}  // namespace qelvo::monitor
