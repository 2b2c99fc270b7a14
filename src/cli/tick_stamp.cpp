#include "cli/tick_stamp.h"

#include <time.h>

#include <cstdio>

namespace qelvo::cli {
namespace {

constexpr int kTmYearBase = 1900;  // tm_year counts from here

}  // namespace

TickStamp MakeTickStamp(std::chrono::system_clock::time_point now,
                        std::chrono::steady_clock::duration sinceStart) {
  using std::chrono::duration_cast;
  using std::chrono::milliseconds;
  const auto sinceEpoch = duration_cast<milliseconds>(now.time_since_epoch());
  // Rounded down, so that a time before 1970 still has milliseconds 0..999.
  const auto seconds = std::chrono::floor<std::chrono::seconds>(sinceEpoch);
  const auto millis = (sinceEpoch - seconds).count();
  const time_t clock = static_cast<time_t>(seconds.count());
  tm utc{};
  gmtime_r(&clock, &utc);
  char text[96];  // room for any int the fields could hold
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + kTmYearBase,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                static_cast<int>(millis));
  return {text, duration_cast<milliseconds>(sinceStart).count()};
}

}  // namespace qelvo::cli
