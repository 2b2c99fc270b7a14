#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "sim/controller.h"
#include "support/make_frame.h"

namespace qelvo::sim::testing {

using test_support::Bytes;
using test_support::Hex;
using test_support::MakeFrame;

// A fixed start, so that the live data is the same in every run.
inline const Clock::time_point kStart = Clock::time_point{} + std::chrono::hours(1);

struct TimedByte {
  Clock::time_point due;
  std::uint8_t byte;
};

// Every reply byte waiting, with the time it falls due.
inline std::vector<TimedByte> DrainTimed(SimulatedController& controller) {
  std::vector<TimedByte> bytes;
  while (const auto due = controller.NextOutputDue()) {
    std::uint8_t byte = 0;
    controller.TakeOutput(*due, std::span(&byte, 1));
    bytes.push_back({*due, byte});
  }
  return bytes;
}

inline Bytes Drain(SimulatedController& controller) {
  Bytes bytes;
  for (const TimedByte& timed : DrainTimed(controller)) {
    bytes.push_back(timed.byte);
  }
  return bytes;
}

// Feeds one request at `at` and returns every reply byte it brings.
inline Bytes Exchange(SimulatedController& controller, const Bytes& request,
                      Clock::time_point at = kStart) {
  controller.Receive(request, at);
  return Drain(controller);
}

inline Bytes ReadBlockRequest(std::size_t address, std::uint8_t count = 16) {
  return MakeFrame(0xF2, {static_cast<std::uint8_t>(address & 0xFF), count,
                          static_cast<std::uint8_t>(address >> 8)});
}

inline Bytes WriteBlockRequest(std::size_t address, std::span<const std::uint8_t> data) {
  Bytes payload(3 + data.size());
  payload[0] = static_cast<std::uint8_t>(address & 0xFF);
  payload[1] = static_cast<std::uint8_t>(data.size());
  payload[2] = static_cast<std::uint8_t>(address >> 8);
  std::copy(data.begin(), data.end(), payload.begin() + 3);
  return MakeFrame(0xF3, payload);
}

}  // namespace qelvo::sim::testing
