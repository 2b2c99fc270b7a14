#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "catalogue/tables.h"
#include "link/commands.h"

namespace qelvo::monitor {

// Display codes of the monitor table, compared exactly.
inline constexpr std::u16string_view kUnsignedCode = u"uo";
inline constexpr std::u16string_view kSignedCode = u"so";
inline constexpr std::u16string_view kHexCode = u"h";  // pro 2: the fault word
inline constexpr std::u16string_view kCharsCode = u"a";

// An item's bytes inside the monitor buffer, most significant first; empty when the item
// does not lie wholly inside the buffer. `width` may be 0.
std::optional<std::span<const std::uint8_t>> ItemBytes(const link::MonitorBuffer& buffer,
                                                       std::int64_t address, std::int64_t width);

// The unsigned big-endian value of up to four bytes.
std::uint32_t BigEndianValue(std::span<const std::uint8_t> bytes);

// The text of a one-byte (pro 1) or multi-byte (pro 2) item, except the pro 2 fault item,
// whose text comes from the fault names. Empty when the edit is to keep its text: unknown
// code or pro, a width the code cannot show, or bytes outside the buffer.
std::optional<std::u16string> ItemText(const catalogue::MonitorItem& item,
                                       const link::MonitorBuffer& buffer);

// The item whose value is the fault word: pro 2 with code "h".
bool IsFaultWordItem(const catalogue::MonitorItem& item);

// The fault word the item holds: its unsigned big-endian value. Empty when its bytes do not
// lie inside the buffer or number none or more than four.
std::optional<std::uint32_t> FaultWordValue(const catalogue::MonitorItem& item,
                                            const link::MonitorBuffer& buffer);

}  // namespace qelvo::monitor
