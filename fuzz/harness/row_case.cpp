#include "harness/row_case.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "harness/fuzz_input.h"

namespace qelvo::fuzz {

namespace {

constexpr std::array<std::int32_t, 5> kPros = {0, 1, 2, -1, 3};
constexpr std::array<std::u16string_view, 6> kCodes = {u"uo", u"so", u"h", u"a", u"", u"x"};
// Past these selector values the data gives the field's whole 32-bit value.
constexpr std::uint8_t kWholePos = 0xE0;
constexpr std::int32_t kSmallPosCount = 20;
constexpr std::uint16_t kWholeAddress = 0xFF00;
constexpr std::uint8_t kWholeEn = 0xF0;
// Addresses from 9 before the image to 9 past its end.
constexpr std::int32_t kAddressSpan = 530;
constexpr std::int32_t kAddressShift = 9;
constexpr std::size_t kRowBytesFromData = 24;

void PutInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(bits >> shift));
}

}  // namespace

RowCase DecodeRowCase(std::span<const std::uint8_t> data) {
  FuzzInput input(data);
  RowCase c;
  catalogue::ParamItem& item = c.item;
  item.pro = kPros[input.Byte() % kPros.size()];
  const std::uint8_t pos = input.Byte();
  item.pos = pos < kWholePos ? pos % kSmallPosCount : input.Int32();
  const auto address = static_cast<std::uint16_t>(input.Byte() << 8 | input.Byte());
  item.address = address < kWholeAddress ? address % kAddressSpan - kAddressShift : input.Int32();
  item.sw = kCodes[input.Byte() % kCodes.size()];
  const std::uint8_t en = input.Byte();
  item.en = en < kWholeEn ? en & 1 : en;
  item.show = 1;
  item.rangeL = input.Int32();
  item.rangeH = input.Int32();
  item.name = u"row";
  item.tips = u"tips";

  c.fill = input.Byte();
  const auto rowBytes = input.Bytes(kRowBytesFromData);
  c.rowBytes.assign(rowBytes.begin(), rowBytes.end());
  c.number = input.Int32();
  c.bit = input.Byte() & 1;
  c.pairs = (input.Byte() & 1) != 0;
  const auto text = input.Rest();
  if (!c.pairs) {
    c.text.assign(text.begin(), text.end());
  } else {
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
      c.text.push_back(static_cast<char16_t>(text[i] | text[i + 1] << 8));
  }
  return c;
}

std::vector<std::uint8_t> EncodeRowCase(const RowCase& c) {
  const catalogue::ParamItem& item = c.item;
  std::vector<std::uint8_t> out;
  const auto pro = std::ranges::find(kPros, item.pro);
  out.push_back(static_cast<std::uint8_t>(pro == kPros.end() ? 0 : pro - kPros.begin()));
  if (item.pos >= 0 && item.pos < kSmallPosCount) {
    out.push_back(static_cast<std::uint8_t>(item.pos));
  } else {
    out.push_back(kWholePos);
    PutInt32(out, item.pos);
  }
  const std::int64_t shifted = std::int64_t{item.address} + kAddressShift;
  if (shifted >= 0 && shifted < kAddressSpan) {
    out.push_back(static_cast<std::uint8_t>(shifted >> 8));
    out.push_back(static_cast<std::uint8_t>(shifted & 0xFF));
  } else {
    out.push_back(0xFF);
    out.push_back(0xFF);
    PutInt32(out, item.address);
  }
  const auto code = std::ranges::find(kCodes, std::u16string_view(item.sw));
  out.push_back(
      static_cast<std::uint8_t>(code == kCodes.end() ? kCodes.size() - 1 : code - kCodes.begin()));
  out.push_back(item.en == 0 || item.en == 1 ? static_cast<std::uint8_t>(item.en) : kWholeEn);
  PutInt32(out, item.rangeL);
  PutInt32(out, item.rangeH);
  out.push_back(c.fill);
  std::vector<std::uint8_t> rowBytes = c.rowBytes;
  rowBytes.resize(kRowBytesFromData, c.fill);
  out.insert(out.end(), rowBytes.begin(), rowBytes.end());
  PutInt32(out, c.number);
  out.push_back(static_cast<std::uint8_t>(c.bit & 1));
  out.push_back(c.pairs ? 1 : 0);
  for (const char16_t ch : c.text) {
    out.push_back(static_cast<std::uint8_t>(ch & 0xFF));
    if (c.pairs)
      out.push_back(static_cast<std::uint8_t>(ch >> 8));
  }
  return out;
}

}  // namespace qelvo::fuzz
