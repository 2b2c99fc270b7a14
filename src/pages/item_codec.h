#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "catalogue/tables.h"

namespace qelvo::pages {

using Image = std::span<std::uint8_t, 512>;
using ConstImage = std::span<const std::uint8_t, 512>;

// Whether the item's bits or bytes lie inside the image, with no more bytes than its code
// holds (4 for "uo", "so" and "h", 19 for "a"); the operations below touch nothing and
// format no text for an item that does not.
bool ItemLiesInImage(const catalogue::ParamItem& item);

int ReadFlagBit(ConstImage image, const catalogue::ParamItem& item);
void WriteFlagBit(Image image, const catalogue::ParamItem& item, int bit);
std::int32_t ReadItemNumber(ConstImage image, const catalogue::ParamItem& item);
// The edit's text, or nothing for the combinations that have no format.
std::optional<std::u16string> FormatItemValue(ConstImage image, const catalogue::ParamItem& item);
// Leading blanks, optional sign, decimal digits; clamps to the 32-bit range; 0 without digits.
std::int32_t ParseItemNumber(std::u16string_view text);
// The standard base-16 conversion: leading blanks, optional sign, optional "0x", hex digits;
// clamps to the 32-bit range; 0 when nothing converts.
std::int32_t ParseItemHex(std::u16string_view text);
void StoreItemNumber(Image image, const catalogue::ParamItem& item, std::int32_t number);
void StoreItemHex(Image image, const catalogue::ParamItem& item, std::u16string_view text);
// Keeps the bytes after the terminating 0 of a short text as they were.
void StoreItemChars(Image image, const catalogue::ParamItem& item, std::u16string_view text);

}  // namespace qelvo::pages
