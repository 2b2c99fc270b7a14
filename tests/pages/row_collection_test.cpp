#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "pages/row_collection.h"

namespace qelvo::pages {
namespace {

using catalogue::ParamItem;
using Bytes = std::vector<std::uint8_t>;

constexpr int kAt = 200;
constexpr std::uint8_t kOld = 0x77;

ParamItem Row(int pro, int pos, const std::u16string& sw, int en, int rangeL, int rangeH) {
  ParamItem item;
  item.address = kAt;
  item.pro = pro;
  item.pos = pos;
  item.sw = sw;
  item.show = 1;
  item.en = en;
  item.rangeL = rangeL;
  item.rangeH = rangeH;
  return item;
}

TEST(CollectRow, ChecksEditableRowsAndStoresTheirBytes) {
  struct Case {
    const char* what;
    ParamItem row;
    std::u16string text;
    CollectOutcome outcome;
    Bytes bytes;  // the item's bytes and one more; all kOld when refused
  };
  constexpr auto kStored = CollectOutcome::Stored;
  constexpr auto kRefused = CollectOutcome::Refused;
  constexpr auto kNothing = CollectOutcome::NothingStored;
  const Bytes old1{kOld, kOld};
  const Bytes old2{kOld, kOld, kOld};
  const Case cases[] = {
      // One byte: the number as typed is checked, the low 8 bits are stored.
      {"uo in range", Row(1, 0, u"uo", 1, 20, 100), u"37", kStored, {0x25, kOld}},
      {"uo 300 above 20..100", Row(1, 0, u"uo", 1, 20, 100), u"300", kRefused, old1},
      {"uo -1 below 0..255", Row(1, 0, u"uo", 1, 0, 255), u"-1", kRefused, old1},
      {"uo 255 above 20..100", Row(1, 0, u"uo", 1, 20, 100), u"255", kRefused, old1},
      {"uo blanks around", Row(1, 0, u"uo", 1, 0, 255), u" 12 ", kStored, {0x0C, kOld}},
      {"uo empty", Row(1, 0, u"uo", 1, 0, 255), u"", kRefused, old1},
      {"uo letters", Row(1, 0, u"uo", 1, 0, 255), u"abc", kRefused, old1},
      {"uo 12abc", Row(1, 0, u"uo", 1, 0, 255), u"12abc", kRefused, old1},
      {"uo sign only", Row(1, 0, u"uo", 1, -10, 10), u"-", kRefused, old1},
      {"so -5 in -40..100", Row(1, 0, u"so", 1, -40, 100), u"-5", kStored, {0xFB, kOld}},
      {"unknown code as uo", Row(1, 0, u"x", 1, 0, 100), u"101", kRefused, old1},
      {"unknown code stored", Row(1, 0, u"x", 1, 0, 100), u"+9", kStored, {0x09, kOld}},
      {"h as typed", Row(1, 0, u"h", 1, 0, 255), u"1ff", kRefused, old1},
      {"h in range", Row(1, 0, u"h", 1, 0, 255), u"ff", kStored, {0xFF, kOld}},
      {"h stays lenient", Row(1, 0, u"h", 1, 0, 255), u"zz", kStored, {0x00, kOld}},
      {"a character code", Row(1, 0, u"a", 1, 65, 90), u"Q", kStored, {0x51, kOld}},
      {"a below range", Row(1, 0, u"a", 1, 65, 90), u"q", kRefused, old1},
      {"a empty is 0", Row(1, 0, u"a", 1, 0, 90), u"", kStored, {0x00, kOld}},
      // Read-only rows are never refused and keep the lenient reading.
      {"read-only 300", Row(1, 0, u"uo", 0, 20, 100), u"300", kStored, {0x2C, kOld}},
      {"read-only letters", Row(1, 0, u"uo", 0, 20, 100), u"abc", kStored, {0x00, kOld}},
      {"en 2 unchecked", Row(1, 0, u"uo", 2, 20, 100), u"12abc", kStored, {0x0C, kOld}},
      // Two bytes.
      {"uo -5 into 0..1000", Row(2, 1, u"uo", 1, 0, 1000), u"-5", kRefused, old2},
      {"uo 1000", Row(2, 1, u"uo", 1, 0, 1000), u"1000", kStored, {0x03, 0xE8, kOld}},
      {"uo 1001", Row(2, 1, u"uo", 1, 0, 1000), u"1001", kRefused, old2},
      {"uo unsigned bounds",
       Row(2, 3, u"uo", 1, 0, -1),
       u"-1",
       kStored,
       {0xFF, 0xFF, 0xFF, 0xFF, kOld}},
      {"uo empty", Row(2, 1, u"uo", 1, 0, 1000), u"", kRefused, old2},
      {"so -5 into -100..100", Row(2, 1, u"so", 1, -100, 100), u"-5", kStored, {0xFF, 0xFB, kOld}},
      {"so 150", Row(2, 1, u"so", 1, -100, 100), u"150", kRefused, old2},
      {"so -101", Row(2, 1, u"so", 1, -100, 100), u"-101", kRefused, old2},
      {"so read-only", Row(2, 1, u"so", 0, -100, 100), u"-300", kStored, {0xFE, 0xD4, kOld}},
      {"read-only -1", Row(2, 1, u"uo", 0, 0, 1000), u"-1", kStored, {0xFF, 0xFF, kOld}},
      {"read-only 65537", Row(2, 1, u"uo", 0, 0, 0), u"65537", kStored, {0x00, 0x01, kOld}},
      {"h never checked", Row(2, 1, u"h", 1, 0, 0), u"ABCDEF", kStored, {0xAB, 0xCD, kOld}},
      {"a never checked", Row(2, 1, u"a", 1, 0, 0), u"X", kStored, {0x58, 0x00, kOld}},
      {"unknown code", Row(2, 1, u"x", 1, 0, 0), u"12", kNothing, old2},
      {"kind 0", Row(0, 1, u"uo", 1, 0, 1), u"1", kNothing, old1},
      {"kind 3", Row(3, 0, u"uo", 1, 0, 255), u"1", kNothing, old1},
      {"too wide", Row(2, 5, u"uo", 0, 0, 255), u"1", kNothing, old2},
  };
  for (const Case& c : cases) {
    std::array<std::uint8_t, 512> image;
    image.fill(kOld);
    EXPECT_EQ(CollectRow(image, c.row, c.text), c.outcome) << c.what;
    EXPECT_EQ(Bytes(image.begin() + kAt, image.begin() + kAt + c.bytes.size()), c.bytes) << c.what;
    EXPECT_EQ(image[kAt - 1], kOld) << c.what;
  }
}

TEST(RowTexts, HelpTextAndRangeMessage) {
  ParamItem row = Row(1, 0, u"uo", 1, 20, 100);
  row.name = u"Current Percent";
  row.tips = u"Phase Current Percent.";
  EXPECT_EQ(HelpText(row), u"Phase Current Percent. Range:20~100");
  EXPECT_EQ(RangeMessage(row), u"Param:Current Percent\nThe range should be between 20~100");

  row.rangeL = -2147483647 - 1;
  row.rangeH = -5;
  EXPECT_EQ(HelpText(row), u"Phase Current Percent. Range:-2147483648~-5");
}

}  // namespace
}  // namespace qelvo::pages
