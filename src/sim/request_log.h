#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "link/packet.h"
#include "sim/line_timing.h"

namespace qelvo::sim {

// One request frame the controller received, whether its checksum was right or not.
struct RequestRecord {
  Clock::time_point firstByte;
  Clock::time_point lastByte;
  link::PacketBuffer bytes{};
  std::size_t size = 0;
  bool checksumOk = false;

  std::span<const std::uint8_t> frame() const { return {bytes.data(), size}; }
  std::uint8_t command() const { return bytes[link::kCommandIndex]; }
  std::span<const std::uint8_t> payload() const {
    return frame().subspan(link::kPayloadIndex, size - link::kPayloadIndex - 1);
  }
};

// The log keeps the latest requests only, so that a simulator left running for days does not
// grow without end.
inline constexpr std::size_t kRequestLogCapacity = 10000;

}  // namespace qelvo::sim
