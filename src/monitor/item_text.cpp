#include "monitor/item_text.h"

#include <algorithm>
#include <cstdio>

namespace qelvo::monitor {
namespace {

constexpr std::int32_t kOneByte = 1;
constexpr std::int32_t kManyBytes = 2;
// pos of a 16-bit and of a 32-bit signed item
constexpr std::int32_t kSigned16Pos = 1;
constexpr std::int32_t kSigned32Pos = 3;
constexpr std::size_t kMaxNumberBytes = 4;
constexpr std::size_t kMaxTextChars = 19;

std::u16string Widen(const char* ascii) {
  std::u16string text;
  for (; *ascii != '\0'; ++ascii)
    text.push_back(static_cast<char16_t>(*ascii));
  return text;
}

std::u16string Decimal(long long value) {
  char digits[24];
  std::snprintf(digits, sizeof digits, "%lld", value);
  return Widen(digits);
}

std::u16string Hexadecimal(unsigned value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%x", value);
  return Widen(digits);
}

// Each byte one character of the same code; a zero byte ends the text.
std::u16string Characters(std::span<const std::uint8_t> bytes) {
  std::u16string text;
  for (std::uint8_t byte : bytes.first(std::min(bytes.size(), kMaxTextChars))) {
    if (byte == 0)
      break;
    text.push_back(static_cast<char16_t>(byte));
  }
  return text;
}

std::optional<std::u16string> OneByteText(std::u16string_view code, std::uint8_t byte) {
  if (code == kUnsignedCode)
    return Decimal(byte);
  if (code == kSignedCode)
    return Decimal(static_cast<std::int8_t>(byte));
  if (code == kHexCode)
    return Hexadecimal(byte);
  if (code == kCharsCode)
    return Characters(std::span(&byte, 1));
  return std::nullopt;
}

std::optional<std::u16string> ManyBytesText(std::u16string_view code, std::int32_t pos,
                                            std::span<const std::uint8_t> bytes) {
  if (code == kCharsCode)
    return Characters(bytes);
  if (bytes.size() > kMaxNumberBytes)
    return std::nullopt;
  const std::uint32_t value = BigEndianValue(bytes);
  if (code == kUnsignedCode)
    return Decimal(value);
  if (code == kSignedCode) {
    if (pos == kSigned16Pos)
      return Decimal(static_cast<std::int16_t>(value));
    if (pos == kSigned32Pos)
      return Decimal(static_cast<std::int32_t>(value));
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::span<const std::uint8_t>> ItemBytes(const link::MonitorBuffer& buffer,
                                                       std::int64_t address, std::int64_t width) {
  const auto size = static_cast<std::int64_t>(buffer.size());
  if (address < 0 || width < 0 || address > size || width > size - address)
    return std::nullopt;
  return std::span<const std::uint8_t>(buffer).subspan(static_cast<std::size_t>(address),
                                                       static_cast<std::size_t>(width));
}

std::uint32_t BigEndianValue(std::span<const std::uint8_t> bytes) {
  std::uint32_t value = 0;
  for (std::uint8_t byte : bytes)
    value = (value << 8) | byte;
  return value;
}

bool IsFaultWordItem(const catalogue::MonitorItem& item) {
  return item.pro == kManyBytes && item.sw == kHexCode;
}

std::optional<std::uint32_t> FaultWordValue(const catalogue::MonitorItem& item,
                                            const link::MonitorBuffer& buffer) {
  const auto bytes = ItemBytes(buffer, item.address, std::int64_t{item.pos} + 1);
  if (!bytes || bytes->empty() || bytes->size() > kMaxNumberBytes)
    return std::nullopt;
  return BigEndianValue(*bytes);
}

std::optional<std::u16string> ItemText(const catalogue::MonitorItem& item,
                                       const link::MonitorBuffer& buffer) {
  if (item.pro == kOneByte) {
    const auto bytes = ItemBytes(buffer, item.address, 1);
    if (!bytes)
      return std::nullopt;
    return OneByteText(item.sw, (*bytes)[0]);
  }
  if (item.pro == kManyBytes && !IsFaultWordItem(item)) {
    // A negative pos spans no bytes: its unsigned value is 0.
    const auto bytes =
        ItemBytes(buffer, item.address, std::max<std::int64_t>(std::int64_t{item.pos} + 1, 0));
    if (!bytes)
      return std::nullopt;
    return ManyBytesText(item.sw, item.pos, *bytes);
  }
  return std::nullopt;
}

}  // namespace qelvo::monitor
