#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace qelvo::cli {

// When a monitor tick ran: the wall-clock time and the milliseconds since the monitor started.
struct TickStamp {
  std::string isoTime;  // "2024-05-01T10:00:00.200Z"
  std::int64_t msSinceStart = 0;
};

TickStamp MakeTickStamp(std::chrono::system_clock::time_point now,
                        std::chrono::steady_clock::duration sinceStart);

}  // namespace qelvo::cli
