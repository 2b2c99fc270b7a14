#include <cstdint>
#include <limits>
#include <string_view>

#include "catalogue/parser.h"

namespace qelvo::catalogue {

namespace {

constexpr char kValueEnd = '#';

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

// Digits of the given base from `at` on, with the sign already taken; the magnitude
// saturates so that a long run of digits ends at the nearest 32-bit limit.
std::int32_t AccumulateDigits(std::string_view value, std::size_t at, int base, bool negative) {
  constexpr std::uint64_t kSaturated = std::uint64_t{1} << 32;
  std::uint64_t magnitude = 0;
  for (; at < value.size(); ++at) {
    const int digit = HexDigitValue(value[at]);
    if (digit < 0 || digit >= base)
      break;
    magnitude = magnitude * base + digit;
    if (magnitude > kSaturated)
      magnitude = kSaturated;
  }
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  std::int64_t signedValue =
      negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
  if (signedValue > kMax)
    signedValue = kMax;
  if (signedValue < kMin)
    signedValue = kMin;
  return static_cast<std::int32_t>(signedValue);
}

// Leading blanks and one optional sign; returns where the digits start.
std::size_t SkipBlanksAndSign(std::string_view value, bool& negative) {
  std::size_t at = 0;
  while (at < value.size() && IsBlank(value[at]))
    ++at;
  negative = false;
  if (at < value.size() && (value[at] == '+' || value[at] == '-')) {
    negative = value[at] == '-';
    ++at;
  }
  return at;
}

}  // namespace

std::string_view FindKeyValue(std::string_view rowLine, std::string_view key) {
  const std::size_t keyAt = rowLine.find(key);
  if (keyAt == std::string_view::npos)
    return {};
  const std::size_t valueAt = keyAt + key.size();
  const std::size_t endAt = rowLine.find(kValueEnd, valueAt);
  if (endAt == std::string_view::npos)
    return {};
  return rowLine.substr(valueAt, endAt - valueAt);
}

std::int32_t ReadTableNumber(std::string_view value) {
  bool negative = false;
  const std::size_t at = SkipBlanksAndSign(value, negative);
  return AccumulateDigits(value, at, 10, negative);
}

std::int32_t ReadTableHex(std::string_view value) {
  bool negative = false;
  std::size_t at = SkipBlanksAndSign(value, negative);
  // "0x" counts as a prefix only when a hex digit follows; "0xg" reads as the 0 alone.
  if (at + 2 < value.size() && value[at] == '0' && (value[at + 1] == 'x' || value[at + 1] == 'X') &&
      HexDigitValue(value[at + 2]) >= 0) {
    at += 2;
  }
  return AccumulateDigits(value, at, 16, negative);
}

}  // namespace qelvo::catalogue
