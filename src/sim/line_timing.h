#pragma once

#include <chrono>
#include <cstddef>

namespace qelvo::sim {

using Clock = std::chrono::steady_clock;

// 19200 baud, 8N1: ten bit times per byte.
inline constexpr int kBaudRate = 19200;
inline constexpr int kBitsPerByte = 10;
inline constexpr std::chrono::nanoseconds kByteTime{1'000'000'000LL * kBitsPerByte / kBaudRate};

// How long `bytes` bytes take on the wire.
constexpr std::chrono::nanoseconds WireTime(std::size_t bytes) {
  return kByteTime * static_cast<long long>(bytes);
}

}  // namespace qelvo::sim
