#include "catalogue/validate.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/row_lines.h"

namespace qelvo::catalogue {

namespace {

constexpr std::int64_t kImageSize = 512;
constexpr std::int64_t kMonitorBufferSize = 48;
constexpr int kHighestBit = 7;
constexpr std::int32_t kMaxNumberPos = 3;       // numbers of 1 to 4 bytes
constexpr std::int32_t kMaxCharactersPos = 18;  // 1 to 19 characters

constexpr std::int32_t kBitItem = 0;
constexpr std::int32_t kByteItem = 1;
constexpr std::int32_t kBytesItem = 2;

bool IsNumberCode(std::u16string_view sw) {
  return sw == u"uo" || sw == u"so" || sw == u"h";
}

// Why an item does not fit its buffer, or nothing when it does. Kinds without a value
// and codes without a format are allowed: they just show nothing.
std::optional<std::string> ItemProblem(std::int32_t address, std::int32_t pro, std::int32_t pos,
                                       std::u16string_view sw, std::int64_t bufferSize) {
  const std::string lastByte = std::to_string(bufferSize - 1);
  if (pro == kBitItem) {
    if (pos < 0 || pos > kHighestBit) {
      return "bit number " + std::to_string(pos) + " is outside 0..7";
    }
  } else if (pro == kByteItem || pro == kBytesItem) {
    if (pos < 0)
      return "pos " + std::to_string(pos) + " is negative";
  } else {
    return std::nullopt;
  }
  if (address < 0)
    return "address " + std::to_string(address) + " is negative";
  if (pro == kBytesItem) {
    if (IsNumberCode(sw) && pos > kMaxNumberPos) {
      return "a number of " + std::to_string(std::int64_t{pos} + 1) + " bytes, at most 4";
    }
    if (sw == u"a" && pos > kMaxCharactersPos) {
      return "a text of " + std::to_string(std::int64_t{pos} + 1) + " characters, at most 19";
    }
    if (std::int64_t{address} + pos + 1 > bufferSize) {
      return "the item reaches past byte " + lastByte;
    }
  } else if (address >= bufferSize) {
    return "the item reaches past byte " + lastByte;
  }
  return std::nullopt;
}

std::string AddressText(std::int32_t address) {
  char text[16];
  std::snprintf(text, sizeof text, "%03d", static_cast<int>(address));
  return text;
}

std::string ParamRowName(const DescriptionTables& tables, int position) {
  return RowName("", position, AddressText(tables.params[position].address));
}

struct PageRange {
  std::string_view name;
  int first;
  int end;  // one past the last row
  int slots;
};

// Page starts are the last rows at these addresses.
struct PageStart {
  std::string_view page;
  std::int32_t address;
  int DescriptionTables::*position;
};
constexpr std::array<PageStart, 3> kPageStarts{{
    {"Control", 128, &DescriptionTables::controlStart},
    {"Motor", 256, &DescriptionTables::motorStart},
    {"COM", 384, &DescriptionTables::comStart},
}};

bool HasRowAt(const DescriptionTables& tables, std::int32_t address) {
  for (int i = 0; i < tables.paramCount; ++i) {
    if (tables.params[i].address == address)
      return true;
  }
  return false;
}

}  // namespace

ValidationResult ValidateCalibrationTable(const DescriptionTables& tables) {
  const int count = tables.paramCount;
  if (count < 0 || count > static_cast<int>(kParamCapacity)) {
    return {false, "row count " + std::to_string(count) + " is outside 0..512"};
  }
  if (count < kFlagRows) {
    return {false, std::to_string(count) + " rows, fewer than the 16 flag rows"};
  }
  for (int i = 0; i < count; ++i) {
    const ParamItem& item = tables.params[i];
    if (auto problem = ItemProblem(item.address, item.pro, item.pos, item.sw, kImageSize)) {
      return {false, ParamRowName(tables, i) + ": " + *problem};
    }
  }
  for (const PageStart& start : kPageStarts) {
    if (!HasRowAt(tables, start.address)) {
      return {false, "no row at address " + std::to_string(start.address) + ", where the " +
                         std::string(start.page) + " page starts"};
    }
  }
  if (!(kFlagRows <= tables.controlStart && tables.controlStart < tables.motorStart &&
        tables.motorStart < tables.comStart && tables.comStart <= count)) {
    return {false, "the page starts are out of order (Control row " +
                       std::to_string(tables.controlStart) + ", Motor row " +
                       std::to_string(tables.motorStart) + ", COM row " +
                       std::to_string(tables.comStart) + ")"};
  }
  const std::array<PageRange, 4> pages{{
      {"Vehicle", kFlagRows, tables.controlStart, kVehicleSlots},
      {"Control", tables.controlStart, tables.motorStart, kPageSlots},
      {"Motor", tables.motorStart, tables.comStart, kPageSlots},
      {"COM", tables.comStart, count, kPageSlots},
  }};
  for (const PageRange& page : pages) {
    int shown = 0;
    for (int i = page.first; i < page.end; ++i) {
      if (tables.params[i].show != 1)
        continue;
      if (++shown > page.slots) {
        return {false, ParamRowName(tables, i) + ": the " + std::string(page.name) +
                           " page has only " + std::to_string(page.slots) +
                           " item slots for its shown rows"};
      }
    }
  }
  return {};
}

ValidationResult ValidateMonitorTable(const DescriptionTables& tables) {
  const int count = tables.monitorCount;
  if (count < 0 || count > static_cast<int>(kMonitorCapacity)) {
    return {false, "monitor row count " + std::to_string(count) + " is outside 0..128"};
  }
  if (tables.faultCount < 0 || tables.faultCount > static_cast<int>(kFaultCapacity)) {
    return {false, "fault row count " + std::to_string(tables.faultCount) + " is outside 0..32"};
  }
  for (int i = 0; i < count; ++i) {
    const MonitorItem& item = tables.monitor[i];
    const std::string name = RowName("[Dat]", i, AddressText(item.address));
    if (i >= kMonitorSlots) {
      return {false, name + ": the monitor page has only " + std::to_string(kMonitorSlots) +
                         " item slots"};
    }
    if (auto problem = ItemProblem(item.address, item.pro, item.pos, item.sw, kMonitorBufferSize)) {
      return {false, name + ": " + *problem};
    }
  }
  return {};
}

}  // namespace qelvo::catalogue
