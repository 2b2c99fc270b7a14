#include "monitor/tick_schedule.h"

#include <gtest/gtest.h>

namespace qelvo::monitor {
namespace {

using std::chrono::milliseconds;

struct ScheduleCase {
  const char* what;
  std::int64_t ran;
  milliseconds sinceStart;  // when the tick ended
  std::int64_t next;
};

TEST(NextTickIndexTest, KeepsTheGridAndSkipsMissedTicks) {
  const ScheduleCase cases[] = {
      {"short tick", 1, milliseconds(230), 2},
      {"tick ended on the next due time", 1, milliseconds(400), 3},
      {"late start, ends before the next due time", 3, milliseconds(790), 4},
      {"long tick skips the missed ones", 1, milliseconds(4700), 24},
      {"clock behind the tick (never earlier than the next)", 5, milliseconds(100), 6},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NextTickIndex(c.ran, c.sinceStart, kTickPeriod), c.next) << c.what;
}

}  // namespace
}  // namespace qelvo::monitor
