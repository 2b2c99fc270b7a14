#pragma once

#include <cstdint>
#include <span>

#include "harness/violation.h"

namespace qelvo::fuzz {

// Runs a sequence of link operations (receive, image read and write, model check, monitor
// blocks, zero points, a cancelled receive), chosen by the data, over a port that the data
// drives; checks every frame received against the bytes that arrived and every frame sent.
Violation CheckPacketStream(std::span<const std::uint8_t> data);

}  // namespace qelvo::fuzz
