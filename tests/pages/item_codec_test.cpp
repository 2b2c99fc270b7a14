#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "pages/item_codec.h"

namespace qelvo::pages {
namespace {

using catalogue::ParamItem;
using Bytes = std::vector<std::uint8_t>;

constexpr int kAt = 100;

ParamItem Item(int pro, int pos, const std::u16string& sw, int address = kAt) {
  ParamItem item;
  item.address = address;
  item.pro = pro;
  item.pos = pos;
  item.sw = sw;
  return item;
}

// A fresh image (all 0xFF) with `bytes` at kAt.
std::array<std::uint8_t, 512> ImageWith(const Bytes& bytes) {
  std::array<std::uint8_t, 512> image;
  image.fill(0xFF);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    image[kAt + i] = bytes[i];
  return image;
}

Bytes BytesAt(const std::array<std::uint8_t, 512>& image, std::size_t count) {
  return Bytes(image.begin() + kAt, image.begin() + kAt + count);
}

TEST(FormatItemValue, ShowsTheBytesByKindAndCode) {
  struct Case {
    int pro;
    int pos;
    std::u16string sw;
    Bytes bytes;
    std::optional<std::u16string> text;
  };
  const Case cases[] = {
      // A fresh image.
      {1, 0, u"uo", {}, u"255"},
      {2, 1, u"uo", {}, u"65535"},
      {2, 3, u"uo", {}, u"-1"},
      {2, 3, u"h", {}, u"ffffffff"},
      {1, 0, u"so", {}, u"-1"},
      {1, 0, u"h", {0x0A}, u"a"},
      {1, 0, u"a", {0x41}, u"A"},
      {1, 0, u"a", {0xE9}, u"\u00E9"},
      {1, 0, u"a", {0x00}, u""},
      {2, 1, u"uo", {0x12, 0x34}, u"4660"},
      {2, 1, u"so", {0x12, 0x34}, u"4660"},
      {2, 1, u"h", {0x12, 0x34}, u"1234"},
      {2, 1, u"uo", {0x80, 0x00}, u"32768"},
      {2, 1, u"so", {0x80, 0x00}, u"-32768"},
      {2, 1, u"h", {0x80, 0x00}, u"8000"},
      {2, 1, u"uo", {0x01, 0xF4}, u"500"},
      {2, 1, u"h", {0x01, 0x0A}, u"010a"},
      {2, 3, u"uo", {0x80, 0x00, 0x00, 0x00}, u"-2147483648"},
      {2, 3, u"h", {0x00, 0x01, 0x02, 0x0A}, u"0001020a"},
      {2, 1, u"so", {0xFF, 0xFE}, u"-2"},
      {2, 2, u"so", {0xFF, 0xFF, 0xFE}, u"-2"},
      {2, 2, u"uo", {0xFF, 0xFF, 0xFE}, u"16777214"},
      {2, 0, u"so", {0xFE}, u"254"},
      {2, 3, u"a", {0x41, 0x42, 0x00, 0x43}, u"AB"},
      {2, 3, u"a", {0x57, 0x58, 0x59, 0x5A}, u"WXYZ"},
      // No format.
      {2, 0, u"h", {0x12}, std::nullopt},
      {2, 2, u"h", {0x12, 0x34, 0x56}, std::nullopt},
      {1, 0, u"UO", {0x12}, std::nullopt},
      {2, 1, u"x", {0x12, 0x34}, std::nullopt},
      {0, 3, u"uo", {0x08}, std::nullopt},
      {3, 0, u"uo", {0x12}, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto image = ImageWith(c.bytes);
    EXPECT_EQ(FormatItemValue(image, Item(c.pro, c.pos, c.sw)), c.text)
        << "pro " << c.pro << " pos " << c.pos << " bytes " << c.bytes.size();
  }
}

TEST(FormatItemValue, GivesNoTextForItemsOutsideTheImage) {
  const std::array<std::uint8_t, 512> image{};
  const ParamItem cases[] = {
      Item(1, 0, u"uo", 512), Item(1, 0, u"uo", -1), Item(2, 1, u"uo", 511), Item(2, -1, u"uo", 10),
      Item(2, 4, u"uo", 10),  Item(2, 19, u"a", 10), Item(2, 3, u"h", 509),
  };
  for (const ParamItem& item : cases) {
    EXPECT_EQ(FormatItemValue(image, item), std::nullopt) << item.address << "/" << item.pos;
    EXPECT_EQ(ReadItemNumber(image, item), 0);
  }
}

TEST(ParseItemNumber, ReadsLeadingDecimalDigits) {
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  struct Case {
    std::u16string text;
    std::int32_t number;
  };
  const Case cases[] = {
      {u"42", 42},
      {u" 12abc", 12},
      {u"abc", 0},
      {u"", 0},
      {u"-5", -5},
      {u"+7", 7},
      {u"\t\r\n 9", 9},
      {u"--1", 0},
      {u"- 1", 0},
      {u"99999999999999", kMax},
      {u"-2147483648", kMin},
      {u"-2147483649", kMin},
      {u"\uFF11", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseItemNumber(c.text), c.number);
  }
}

TEST(StoreItemNumber, StoresTheLowBytesMostSignificantFirst) {
  struct Case {
    int pro;
    int pos;
    std::int32_t number;
    Bytes bytes;
  };
  const Case cases[] = {
      {2, 1, -1, {0xFF, 0xFF, 0x77}},
      {2, 1, 65537, {0x00, 0x01, 0x77}},
      {2, 1, -2, {0xFF, 0xFE, 0x77}},
      {2, 3, 0x01020304, {0x01, 0x02, 0x03, 0x04, 0x77}},
      {2, 2, -2, {0xFF, 0xFF, 0xFE, 0x77}},
      {2, 0, 0x1234, {0x34, 0x77}},
      {1, 0, 300, {0x2C, 0x77}},
      {1, 0, -1, {0xFF, 0x77}},
  };
  for (const Case& c : cases) {
    auto image = ImageWith(Bytes(c.bytes.size(), 0x77));
    StoreItemNumber(image, Item(c.pro, c.pos, u"uo"), c.number);
    EXPECT_EQ(BytesAt(image, c.bytes.size()), c.bytes) << c.number;
  }
}

TEST(StoreItemHex, StoresPairsOfCharactersFromTheLowestOffset) {
  struct Case {
    int pos;
    std::u16string text;
    Bytes bytes;
  };
  const Case cases[] = {
      {1, u"ABCDEF", {0xAB, 0xCD, 0x77}},
      {1, u"zz12", {0x00, 0x12, 0x77}},
      {1, u"1f", {0x1F, 0x00, 0x77}},
      {1, u"010a", {0x01, 0x0A, 0x77}},
      {3, u"0001020a", {0x00, 0x01, 0x02, 0x0A, 0x77}},
      {3, u"abc", {0xAB, 0x0C, 0x00, 0x00, 0x77}},
      {1, u" f-1", {0x0F, 0xFF, 0x77}},
      {1, u"0x+F", {0x00, 0x0F, 0x77}},
      {1, u"", {0x00, 0x00, 0x77}},
  };
  for (const Case& c : cases) {
    auto image = ImageWith(Bytes(c.bytes.size(), 0x77));
    StoreItemHex(image, Item(2, c.pos, u"h"), c.text);
    EXPECT_EQ(BytesAt(image, c.bytes.size()), c.bytes);
  }
}

TEST(ParseItemHex, ConvertsLikeTheStandardBase16Conversion) {
  struct Case {
    std::u16string text;
    std::int32_t number;
  };
  const Case cases[] = {
      {u"ff", 255}, {u"0x1F", 31}, {u" -a", -10}, {u"0x", 0},
      {u"0xg", 0},  {u"zz", 0},    {u"1ff", 511}, {u"123456789", 0x7FFFFFFF},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseItemHex(c.text), c.number);
  }
}

TEST(StoreItemChars, EndsTheTextWithZeroAndKeepsWhatFollows) {
  struct Case {
    std::u16string text;
    Bytes bytes;
  };
  const Case cases[] = {
      {u"XY", {0x58, 0x59, 0x00, 0x77, 0x77}},           {u"WXY", {0x57, 0x58, 0x59, 0x00, 0x77}},
      {u"WXYZQ", {0x57, 0x58, 0x59, 0x5A, 0x77}},        {u"", {0x00, 0x77, 0x77, 0x77, 0x77}},
      {u"\u0141\u00E9", {0x41, 0xE9, 0x00, 0x77, 0x77}},
  };
  for (const Case& c : cases) {
    auto image = ImageWith(Bytes(5, 0x77));
    StoreItemChars(image, Item(2, 3, u"a"), c.text);
    EXPECT_EQ(BytesAt(image, 5), c.bytes);
  }
}

TEST(FlagBits, ChangeOnlyTheirOwnBit) {
  auto image = ImageWith({0x01, 0x55});
  const ParamItem bit7 = Item(0, 7, u"uo");
  const ParamItem bit0 = Item(0, 0, u"uo");
  EXPECT_EQ(ReadFlagBit(image, bit0), 1);
  EXPECT_EQ(ReadFlagBit(image, bit7), 0);
  WriteFlagBit(image, bit7, 1);
  EXPECT_EQ(image[kAt], 0x81);
  WriteFlagBit(image, bit0, 0);
  EXPECT_EQ(image[kAt], 0x80);
  EXPECT_EQ(ReadFlagBit(image, bit7), 1);
  EXPECT_EQ(image[kAt + 1], 0x55);

  WriteFlagBit(image, Item(0, 8, u"uo"), 1);
  WriteFlagBit(image, Item(0, 0, u"uo", 512), 1);
  EXPECT_EQ(BytesAt(image, 2), (Bytes{0x80, 0x55}));
}

TEST(StoreOperations, TouchNothingOutsideTheItem) {
  const ParamItem outside[] = {
      Item(1, 0, u"uo", 512), Item(2, 1, u"uo", 511), Item(2, 3, u"h", 510), Item(2, 19, u"a", 0),
      Item(2, 7, u"uo", 0),   Item(2, -1, u"a", 0),   Item(5, 0, u"uo", 0),
  };
  for (const ParamItem& item : outside) {
    std::array<std::uint8_t, 512> image;
    image.fill(0x77);
    const auto before = image;
    StoreItemNumber(image, item, 0);
    StoreItemHex(image, item, u"00000000");
    StoreItemChars(image, item, u"");
    EXPECT_EQ(image, before) << item.address << "/" << item.pos;
  }
}

}  // namespace
}  // namespace qelvo::pages
