#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "link/commands.h"
#include "link/packet.h"

namespace qelvo::zero {

// One current-sensor channel, in the order of the values in the controller's reply.
struct ZeroChannel {
  std::u16string_view name;
  std::size_t imageOffset;  // two bytes, high byte first
};
inline constexpr std::array<ZeroChannel, link::kZeroPointCount> kZeroChannels{{
    {u"Hall_A_Zero", 33},
    {u"Hall_B_Zero", 35},
    {u"RZ_A_Zero", 40},
    {u"RZ_B_Zero", 42},
    {u"RZ_C_Zero", 44},
}};

// The readings one Read takes.
inline constexpr int kReadingsPerRead = 3;

// The five kept zero values (Hall A, Hall B, internal A, B, C); they outlive the dialog.
struct KeptZeroValues {
  std::array<std::int32_t, link::kZeroPointCount> values{};
  bool anyReadingCounted = false;  // Update stores nothing until a reading of the run counted
};

// Per channel, the readings of the last Read, comma-separated ("2050,2048,2049").
using ZeroHistories = std::array<std::u16string, link::kZeroPointCount>;

// Takes the three readings of one Read. A reading that counts starts the histories afresh
// when it is the first of the three and extends them otherwise, and each kept value becomes
// the lowest reading. Readings that do not count change nothing. Returns how many counted.
int TakeZeroReadings(link::Link& link, KeptZeroValues& kept, ZeroHistories& histories);

// Writes the kept values into their image bytes, high byte first.
void StoreZeroValues(const KeptZeroValues& kept, std::span<std::uint8_t, link::kImageSize> image);

}  // namespace qelvo::zero
