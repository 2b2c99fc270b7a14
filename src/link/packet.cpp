#include "link/packet.h"

#include <algorithm>

namespace qelvo::link {

namespace {

// A reply must be complete within this many reads; with no answer at all a receive gives up
// after about 10 × (5 ms + 145 ms).
constexpr int kMaxPolls = 10;
constexpr std::chrono::milliseconds kPollPause{5};

void Trace(const Link& link, TraceDirection direction, std::span<const std::uint8_t> frame) {
  if (link.trace) {
    link.trace(direction, frame, std::chrono::steady_clock::now());
  }
}

}  // namespace

std::uint8_t Checksum(std::span<const std::uint8_t> bytes) {
  std::uint8_t sum = 0;
  for (std::uint8_t b : bytes) {
    sum = static_cast<std::uint8_t>(sum + b);
  }
  return sum;
}

void PutRequest(Link& link, std::uint8_t command, std::span<const std::uint8_t> payload) {
  const std::size_t n = std::min(payload.size(), kMaxPayload);
  link.transmit[kCommandIndex] = command;
  link.transmit[kLengthIndex] = static_cast<std::uint8_t>(n);
  std::copy_n(payload.begin(), n, link.transmit.begin() + kPayloadIndex);
}

bool SendPacket(Link& link) {
  // A length beyond 16 would put the checksum past the buffer; the frame goes out as 16.
  const std::size_t n = std::min<std::size_t>(link.transmit[kLengthIndex], kMaxPayload);
  link.transmit[kLengthIndex] = static_cast<std::uint8_t>(n);
  const std::size_t checksumIndex = n + kPayloadIndex;
  link.transmit[checksumIndex] = Checksum(std::span(link.transmit).first(checksumIndex));
  const auto frame = std::span<const std::uint8_t>(link.transmit).first(checksumIndex + 1);
  Trace(link, TraceDirection::Sent, frame);
  return link.port != nullptr && link.port->Write(frame);
}

bool ReceivePacket(Link& link) {
  PacketBuffer& rx = link.receive;
  // Receive position; the length reads 0 until byte 1 of the reply has arrived.
  std::size_t position = 0;
  rx[kLengthIndex] = 0;

  auto finish = [&](bool result) {
    Trace(link, TraceDirection::Received, std::span<const std::uint8_t>(rx).first(position));
    return result;
  };

  if (link.port == nullptr) {
    return finish(false);
  }
  std::array<std::uint8_t, kPacketBufferSize> chunk;
  for (int poll = 0; poll < kMaxPolls; ++poll) {
    if (!link.port->Pause(kPollPause)) {
      return finish(false);
    }
    const int got = link.port->Read(chunk);
    if (got < 0) {
      return finish(false);
    }
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(got), chunk.size());
    for (std::size_t i = 0; i < count; ++i) {
      if (position < rx.size()) {
        rx[position++] = chunk[i];
      }
      if (rx[kLengthIndex] > kMaxPayload) {
        rx[kLengthIndex] = kMaxPayload;
      }
      const std::size_t length = rx[kLengthIndex];
      if (position >= length + 3) {
        // Whatever followed the completing byte in this read is dropped.
        const std::size_t checksumIndex = length + kPayloadIndex;
        const bool sound = Checksum(std::span(rx).first(checksumIndex)) == rx[checksumIndex];
        return finish(sound);
      }
    }
  }
  return finish(false);
}

}  // namespace qelvo::link
