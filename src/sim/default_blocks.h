#pragma once

#include <cstdint>
#include <span>

namespace qelvo::sim {

// One setting of the default configuration block: `width` bytes at `address`, the value
// most significant byte first.
struct DefaultSetting {
  std::uint16_t address = 0;
  std::uint8_t width = 1;
  std::uint32_t value = 0;
};

// The settings of a controller described by table 165; bytes not listed here or below are 0,
// and the identity bytes (0..19, 23..28, 84..85) are written from the Identity.
std::span<const DefaultSetting> CommonDefaultSettings();

// What a controller described by `tableId` holds differently, applied over the common
// settings; empty for 165 and for tables whose ranges the common values already meet.
std::span<const DefaultSetting> DefaultSettingDifferences(int tableId);

}  // namespace qelvo::sim
