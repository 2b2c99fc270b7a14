#include "pages/item_codec.h"

#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace qelvo::pages {

namespace {

using catalogue::ParamItem;

constexpr std::int64_t kImageSize = 512;
constexpr std::int32_t kBitItem = 0;
constexpr std::int32_t kByteItem = 1;
constexpr std::int32_t kBytesItem = 2;
constexpr std::int32_t kHighestBit = 7;
constexpr std::int32_t kMaxNumberPos = 3;       // numbers of 1 to 4 bytes
constexpr std::int32_t kMaxCharactersPos = 18;  // 1 to 19 characters
constexpr std::uint32_t kByteMask = 0xFF;

// The two widths that hexadecimal items show.
constexpr std::int32_t kTwoByteHexPos = 1;
constexpr std::int32_t kFourByteHexPos = 3;

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

int DigitValue(char16_t c, int base) {
  int value = -1;
  if (c >= u'0' && c <= u'9')
    value = c - u'0';
  if (c >= u'a' && c <= u'f')
    value = c - u'a' + 10;
  if (c >= u'A' && c <= u'F')
    value = c - u'A' + 10;
  return value < base ? value : -1;
}

// Leading blanks, one optional sign, then (for base 16) an optional "0x" that counts only
// when a digit follows it; digits up to the first other character, clamped to 32 bits.
std::int32_t ConvertText(std::u16string_view text, int base) {
  std::size_t at = 0;
  while (at < text.size() && IsBlank(text[at]))
    ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
    negative = text[at] == u'-';
    ++at;
  }
  if (base == 16 && at + 2 < text.size() && text[at] == u'0' &&
      (text[at + 1] == u'x' || text[at + 1] == u'X') && DigitValue(text[at + 2], base) >= 0) {
    at += 2;
  }
  constexpr std::uint64_t kSaturated = std::uint64_t{1} << 32;
  std::uint64_t magnitude = 0;
  for (; at < text.size(); ++at) {
    const int digit = DigitValue(text[at], base);
    if (digit < 0)
      break;
    magnitude = magnitude * base + digit;
    if (magnitude > kSaturated)
      magnitude = kSaturated;
  }
  std::int64_t value =
      negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  if (value > kMax)
    value = kMax;
  if (value < kMin)
    value = kMin;
  return static_cast<std::int32_t>(value);
}

bool IsNumberCode(const std::u16string& sw) {
  return sw == u"uo" || sw == u"so" || sw == u"h";
}

bool IsMultiByteNumber(const ParamItem& item) {
  return item.pro == kBytesItem && item.pos <= kMaxNumberPos;
}

std::u16string Widen(const std::string& ascii) {
  return {ascii.begin(), ascii.end()};
}

std::u16string HexText(std::uint32_t value, const char* format) {
  char text[16];
  std::snprintf(text, sizeof text, format, static_cast<unsigned>(value));
  return Widen(text);
}

}  // namespace

bool ItemLiesInImage(const ParamItem& item) {
  if (item.address < 0)
    return false;
  switch (item.pro) {
    case kBitItem:
      return item.address < kImageSize && item.pos >= 0 && item.pos <= kHighestBit;
    case kByteItem:
      return item.address < kImageSize;
    case kBytesItem:
      if (item.pos < 0 || std::int64_t{item.address} + item.pos + 1 > kImageSize)
        return false;
      if (IsNumberCode(item.sw))
        return item.pos <= kMaxNumberPos;
      if (item.sw == u"a")
        return item.pos <= kMaxCharactersPos;
      return true;
    default:
      return false;
  }
}

int ReadFlagBit(ConstImage image, const ParamItem& item) {
  if (item.pro != kBitItem || !ItemLiesInImage(item))
    return 0;
  return (image[item.address] >> item.pos) & 1;
}

void WriteFlagBit(Image image, const ParamItem& item, int bit) {
  if (item.pro != kBitItem || !ItemLiesInImage(item))
    return;
  const auto mask = static_cast<std::uint8_t>(1u << item.pos);
  if (bit != 0) {
    image[item.address] |= mask;
  } else {
    image[item.address] &= static_cast<std::uint8_t>(~mask);
  }
}

std::int32_t ReadItemNumber(ConstImage image, const ParamItem& item) {
  if (!ItemLiesInImage(item))
    return 0;
  const bool isSigned = item.sw == u"so";
  if (item.pro == kByteItem) {
    const std::uint8_t byte = image[item.address];
    return isSigned ? static_cast<std::int8_t>(byte) : byte;
  }
  if (!IsMultiByteNumber(item))
    return 0;
  std::uint32_t value = 0;
  for (std::int32_t k = 0; k <= item.pos; ++k) {
    value = (value << 8) | image[item.address + k];
  }
  if (isSigned && item.pos > 0) {
    // Sign-extend from the item's top bit; a single byte stays 0..255.
    const unsigned bits = 8u * static_cast<unsigned>(item.pos + 1);
    const std::uint32_t signBit = std::uint32_t{1} << (bits - 1);
    if (bits < 32 && (value & signBit) != 0)
      value |= ~((signBit << 1) - 1);
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::u16string> FormatItemValue(ConstImage image, const ParamItem& item) {
  if (!ItemLiesInImage(item))
    return std::nullopt;
  const std::u16string& sw = item.sw;
  if (item.pro == kByteItem) {
    const std::uint8_t byte = image[item.address];
    if (sw == u"uo" || sw == u"so")
      return Widen(std::to_string(ReadItemNumber(image, item)));
    if (sw == u"h")
      return HexText(byte, "%x");
    // A zero byte is the end of a text, so it shows as an empty edit.
    if (sw == u"a")
      return byte == 0 ? std::u16string() : std::u16string(1, char16_t{byte});
    return std::nullopt;
  }
  if (item.pro != kBytesItem)
    return std::nullopt;
  if (sw == u"a") {
    std::u16string text;
    for (std::int32_t k = 0; k <= item.pos && image[item.address + k] != 0; ++k) {
      text.push_back(char16_t{image[item.address + k]});
    }
    return text;
  }
  if (!IsMultiByteNumber(item))
    return std::nullopt;
  if (sw == u"uo" || sw == u"so")
    return Widen(std::to_string(ReadItemNumber(image, item)));
  if (sw == u"h") {
    const auto value = static_cast<std::uint32_t>(ReadItemNumber(image, item));
    if (item.pos == kTwoByteHexPos)
      return HexText(value, "%04x");
    if (item.pos == kFourByteHexPos)
      return HexText(value, "%08x");
  }
  return std::nullopt;
}

std::int32_t ParseItemNumber(std::u16string_view text) {
  return ConvertText(text, 10);
}

std::int32_t ParseItemHex(std::u16string_view text) {
  return ConvertText(text, 16);
}

void StoreItemNumber(Image image, const ParamItem& item, std::int32_t number) {
  if (!ItemLiesInImage(item))
    return;
  const auto pattern = static_cast<std::uint32_t>(number);
  if (item.pro == kByteItem) {
    image[item.address] = static_cast<std::uint8_t>(pattern & kByteMask);
    return;
  }
  if (!IsMultiByteNumber(item))
    return;
  for (std::int32_t k = 0; k <= item.pos; ++k) {
    const unsigned shift = 8u * static_cast<unsigned>(item.pos - k);
    image[item.address + k] = static_cast<std::uint8_t>((pattern >> shift) & kByteMask);
  }
}

void StoreItemHex(Image image, const ParamItem& item, std::u16string_view text) {
  if (!IsMultiByteNumber(item) || !ItemLiesInImage(item))
    return;
  // Two characters per byte, the first pair to the lowest offset.
  for (std::int32_t k = 0; k <= item.pos; ++k) {
    const std::size_t at = 2 * static_cast<std::size_t>(k);
    const std::u16string_view pair = at < text.size() ? text.substr(at, 2) : std::u16string_view();
    const auto value = static_cast<std::uint32_t>(ParseItemHex(pair));
    image[item.address + k] = static_cast<std::uint8_t>(value & kByteMask);
  }
}

void StoreItemChars(Image image, const ParamItem& item, std::u16string_view text) {
  if (item.pro != kBytesItem || !ItemLiesInImage(item))
    return;
  for (std::int32_t k = 0; k <= item.pos; ++k) {
    const auto at = static_cast<std::size_t>(k);
    if (at < text.size()) {
      image[item.address + k] = static_cast<std::uint8_t>(text[at] & kByteMask);
    } else if (at == text.size()) {
      image[item.address + k] = 0;
    } else {
      // An unchanged short text must store unchanged bytes, so what follows its end stays.
      break;
    }
  }
}

}  // namespace qelvo::pages
