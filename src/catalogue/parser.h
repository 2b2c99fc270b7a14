#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "catalogue/tables.h"

namespace qelvo::catalogue {

// The description tables' text is GBK; the end mark is the first backslash.
inline constexpr std::uint8_t kEndMark = 0x5C;

// The bytes between the key and the next '#' at or after it; empty when no '#' follows or
// the key is absent.
std::string_view FindKeyValue(std::string_view rowLine, std::string_view key);

// Decimal as the tables write it: blanks skipped, optional sign, digits; 0 without digits.
std::int32_t ReadTableNumber(std::string_view value);
// Hexadecimal (the rgb key): optional sign, optional 0x, hex digits.
std::int32_t ReadTableHex(std::string_view value);
// GBK to UTF-16 (iconv); undecodable bytes become U+FFFD.
std::u16string GbkToUtf16(std::string_view gbk);

struct ParseResult {
  bool ok = true;
  std::string error;  // names the row when !ok
};

// Voltage limits applied to rows 25 and 27 while they are stored.
struct VoltageOverride {
  std::string voltageClass;  // two characters at most, as in image bytes 3..4
  std::uint16_t controllerVoltage = 0;
};

// Appends one ParamItem per row (from paramCount on), updating controlStart, motorStart,
// comStart and applying the override to rows 25 and 27. Refuses a text without end mark
// or with more rows than the capacity; a refused text leaves the counts as they were.
ParseResult ParseCalibrationTable(std::span<const std::uint8_t> text, DescriptionTables& tables,
                                  const VoltageOverride& voltage);
// Appends [Dat] rows to the MonitorTable and [Err] rows to the FaultTable.
ParseResult ParseMonitorTable(std::span<const std::uint8_t> text, DescriptionTables& tables);

// Applies the voltage class override to one row of address 25 or 27.
void ApplyVoltageOverride(ParamItem& item, const VoltageOverride& voltage);

}  // namespace qelvo::catalogue
