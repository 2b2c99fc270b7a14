#include "zero/zero_readings.h"

#include <algorithm>
#include <optional>

namespace qelvo::zero {
namespace {

std::u16string DecimalText(std::int32_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

int TakeZeroReadings(link::Link& link, KeptZeroValues& kept, ZeroHistories& histories) {
  int counted = 0;
  for (int reading = 0; reading < kReadingsPerRead; ++reading) {
    // A reading that does not count is skipped silently; the next one is still taken.
    const std::optional<link::ZeroPoints> points = link::ReadZeroPoints(link);
    if (!points)
      continue;
    ++counted;
    // Until a reading of the run has counted, the kept values are no measurement: the
    // first counting reading sets them instead of being compared with them.
    const bool startsKeptValues = reading == 0 || !kept.anyReadingCounted;
    for (std::size_t k = 0; k < kZeroChannels.size(); ++k) {
      const std::int32_t value = (*points)[k];
      if (reading == 0)
        histories[k] = DecimalText(value);
      else
        histories[k] += u"," + DecimalText(value);
      kept.values[k] = startsKeptValues ? value : std::min(kept.values[k], value);
    }
    kept.anyReadingCounted = true;
  }
  return counted;
}

void StoreZeroValues(const KeptZeroValues& kept, std::span<std::uint8_t, link::kImageSize> image) {
  for (std::size_t k = 0; k < kZeroChannels.size(); ++k) {
    const auto value = static_cast<std::uint32_t>(kept.values[k]);
    const std::size_t offset = kZeroChannels[k].imageOffset;
    image[offset] = static_cast<std::uint8_t>(value >> 8);
    image[offset + 1] = static_cast<std::uint8_t>(value);
  }
}

}  // namespace qelvo::zero
