#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qelvo::catalogue {

// One row of a calibration table: where an item of the 512-byte image lies and how it shows.
struct ParamItem {
  std::int32_t address = 0;  // byte offset in the image
  std::int32_t pro = 0;      // 0: bit `pos` of the byte; 1: the byte; 2: pos + 1 bytes, MSB first
  std::int32_t pos = 0;
  std::int32_t show = 0;  // 1: the item has a control on its page
  std::int32_t en = 0;    // 1: editable and range-checked; 0: shown disabled
  std::u16string sw;      // "uo", "so", "h" or "a"
  std::u16string name;
  std::int32_t rangeL = 0;
  std::int32_t rangeH = 0;
  std::u16string tips;
};

// One [Dat] row of the monitor table: an item of the 48-byte monitor buffer.
struct MonitorItem {
  std::int32_t address = 0;
  std::int32_t pro = 0;
  std::int32_t pos = 0;
  std::u16string sw;
  std::u16string name;
  std::int32_t min = 0;
  std::int32_t max = 0;
  std::uint8_t show = 0;
  std::int32_t rgb = 0;
  std::u16string tips;
};

// One [Err] row: the name of bit `bit` of the fault word.
struct FaultName {
  std::int32_t bit = 0;
  std::u16string name;
};

inline constexpr std::size_t kParamCapacity = 512;
inline constexpr std::size_t kMonitorCapacity = 128;
inline constexpr std::size_t kFaultCapacity = 32;

// The loaded description tables, filled by LoadDescriptionTables and read by the pages.
struct DescriptionTables {
  std::array<ParamItem, kParamCapacity> params;
  int paramCount = 0;
  // Positions of the (last) rows of address 128, 256 and 384: the page row ranges are
  // Vehicle [0, controlStart), Control [controlStart, motorStart), Motor [motorStart,
  // comStart), COM [comStart, paramCount).
  int controlStart = 0;
  int motorStart = 0;
  int comStart = 0;

  std::array<MonitorItem, kMonitorCapacity> monitor;
  int monitorCount = 0;
  std::array<FaultName, kFaultCapacity> faults;
  int faultCount = 0;

  int calibrationTableId = 0;  // 0 while none is loaded
};

}  // namespace qelvo::catalogue
