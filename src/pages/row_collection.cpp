#include "pages/row_collection.h"

#include <cstdint>
#include <string>

namespace qelvo::pages {

namespace {

using catalogue::ParamItem;

constexpr std::int32_t kByteItem = 1;
constexpr std::int32_t kBytesItem = 2;
constexpr std::int32_t kRangeChecked = 1;
constexpr std::int32_t kByteMask = 0xFF;

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

// An optional sign and at least one digit, with nothing but blanks around them.
bool IsWholeDecimal(std::u16string_view text) {
  std::size_t at = 0;
  while (at < text.size() && IsBlank(text[at]))
    ++at;
  if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
    ++at;
  const std::size_t digitsAt = at;
  while (at < text.size() && text[at] >= u'0' && text[at] <= u'9')
    ++at;
  if (at == digitsAt)
    return false;
  while (at < text.size() && IsBlank(text[at]))
    ++at;
  return at == text.size();
}

bool InSignedRange(std::int32_t value, const ParamItem& item) {
  return value >= item.rangeL && value <= item.rangeH;
}

bool InUnsignedRange(std::int32_t value, const ParamItem& item) {
  const auto v = static_cast<std::uint32_t>(value);
  return v >= static_cast<std::uint32_t>(item.rangeL) &&
         v <= static_cast<std::uint32_t>(item.rangeH);
}

// A one-byte row is checked on the value as typed, so 300 does not slip into 20..100 as 44.
CollectOutcome CollectByte(Image image, const ParamItem& item, std::u16string_view text) {
  const bool checked = item.en == kRangeChecked;
  std::int32_t value = 0;
  if (item.sw == u"a") {
    value = text.empty() ? 0 : (text.front() & kByteMask);
  } else if (item.sw == u"h") {
    value = ParseItemHex(text);
  } else {
    if (checked && !IsWholeDecimal(text))
      return CollectOutcome::Refused;
    value = ParseItemNumber(text);
  }
  if (checked && !InSignedRange(value, item))
    return CollectOutcome::Refused;
  StoreItemNumber(image, item, value & kByteMask);
  return CollectOutcome::Stored;
}

CollectOutcome CollectBytes(Image image, const ParamItem& item, std::u16string_view text) {
  const bool checked = item.en == kRangeChecked;
  if (item.sw == u"uo" || item.sw == u"so") {
    if (checked && !IsWholeDecimal(text))
      return CollectOutcome::Refused;
    const std::int32_t value = ParseItemNumber(text);
    if (checked) {
      const bool inRange =
          item.sw == u"uo" ? InUnsignedRange(value, item) : InSignedRange(value, item);
      if (!inRange)
        return CollectOutcome::Refused;
    }
    StoreItemNumber(image, item, value);
    return CollectOutcome::Stored;
  }
  if (item.sw == u"h") {
    StoreItemHex(image, item, text);
    return CollectOutcome::Stored;
  }
  if (item.sw == u"a") {
    StoreItemChars(image, item, text);
    return CollectOutcome::Stored;
  }
  return CollectOutcome::NothingStored;
}

std::u16string Widen(const std::string& ascii) {
  return {ascii.begin(), ascii.end()};
}

std::u16string RangeText(const ParamItem& item) {
  return Widen(std::to_string(item.rangeL)) + u"~" + Widen(std::to_string(item.rangeH));
}

}  // namespace

CollectOutcome CollectRow(Image image, const ParamItem& item, std::u16string_view text) {
  // A row the table validation would refuse is left alone rather than half stored.
  if (!ItemLiesInImage(item))
    return CollectOutcome::NothingStored;
  if (item.pro == kByteItem)
    return CollectByte(image, item, text);
  if (item.pro == kBytesItem)
    return CollectBytes(image, item, text);
  return CollectOutcome::NothingStored;
}

std::u16string HelpText(const ParamItem& item) {
  return item.tips + u" Range:" + RangeText(item);
}

std::u16string RangeMessage(const ParamItem& item) {
  return u"Param:" + item.name + u"\nThe range should be between " + RangeText(item);
}

}  // namespace qelvo::pages
