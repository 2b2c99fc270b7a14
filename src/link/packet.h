#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "link/byte_stream.h"

namespace qelvo::link {

// Frame: command, length n (0..16), n payload bytes, checksum (sum of all before it, mod 256).
inline constexpr std::size_t kMaxPayload = 16;
inline constexpr std::size_t kPacketBufferSize = kMaxPayload + 3;  // 19
inline constexpr std::size_t kCommandIndex = 0;
inline constexpr std::size_t kLengthIndex = 1;
inline constexpr std::size_t kPayloadIndex = 2;

using PacketBuffer = std::array<std::uint8_t, kPacketBufferSize>;

// Sum of the bytes modulo 256.
std::uint8_t Checksum(std::span<const std::uint8_t> bytes);

enum class TraceDirection { Sent, Received };
// Sees every frame sent and every frame received (complete or not; empty when nothing came),
// with the time it went.
using TraceHook = std::function<void(TraceDirection, std::span<const std::uint8_t> frame,
                                     std::chrono::steady_clock::time_point when)>;

// The run's one pair of packet buffers and the port they travel over.
struct Link {
  ByteStream* port = nullptr;
  PacketBuffer transmit{};
  PacketBuffer receive{};
  TraceHook trace;  // may be empty
};

// Sends transmit[0 .. n+2] after writing the checksum into transmit[n+2] (n = transmit[1]).
bool SendPacket(Link& link);
// Collects one reply frame into receive; true when it completed with a right checksum.
bool ReceivePacket(Link& link);

// Fills the transmit buffer with a command and payload (at most 16 bytes).
void PutRequest(Link& link, std::uint8_t command, std::span<const std::uint8_t> payload = {});

}  // namespace qelvo::link
