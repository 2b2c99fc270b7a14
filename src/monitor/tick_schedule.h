#pragma once

#include <chrono>
#include <cstdint>

namespace qelvo::monitor {

inline constexpr std::chrono::milliseconds kTickPeriod{200};

// Ticks fall due at start + k × period (k = 1, 2, ...), so the schedule never drifts. After
// tick k ran, the next one is k + 1, or, when the tick ran past later due times, the first
// one still in the future: missed ticks are skipped, not served in a bunch.
std::int64_t NextTickIndex(std::int64_t ranIndex, std::chrono::steady_clock::duration sinceStart,
                           std::chrono::steady_clock::duration period);

}  // namespace qelvo::monitor
