#include "monitor/tick_schedule.h"

#include <algorithm>

namespace qelvo::monitor {

std::int64_t NextTickIndex(std::int64_t ranIndex, std::chrono::steady_clock::duration sinceStart,
                           std::chrono::steady_clock::duration period) {
  const std::int64_t firstFuture = sinceStart / period + 1;
  return std::max(ranIndex + 1, firstFuture);
}

}  // namespace qelvo::monitor
