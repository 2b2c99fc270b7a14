#pragma once

#include <cstdint>
#include <span>

#include "harness/violation.h"

namespace qelvo::fuzz {

// Sends the simulated controller (`qelvo sim` serves it to any program on a pseudo-terminal)
// arbitrary bytes in arbitrary pieces and times, with line resets between; every reply must
// be a sound frame and the stored block must change only by a Commit it was sent.
Violation CheckSimRequests(std::span<const std::uint8_t> data);

}  // namespace qelvo::fuzz
