#include "harness/packet_stream_check.h"

#include <algorithm>
#include <string>
#include <vector>

#include "harness/fuzzed_byte_stream.h"
#include "link/commands.h"
#include "link/packet.h"

namespace qelvo::fuzz {

namespace {

using link::kLengthIndex;
using link::kMaxPayload;
using link::kPayloadIndex;

// Enough for a few whole image reads and writes in one input.
constexpr int kMaxOperations = 16;
constexpr std::size_t kWriteBlockSize = 13;
constexpr std::size_t kBlockHeaderSize = 3;

enum class Operation { Receive, ReadImage, CheckModel, WriteImage, Monitor, ZeroPoints, Cancelled };
constexpr int kOperationCount = 7;

// The frame a receive must have built from these bytes: the length byte clamped to 16, the
// frame complete once that many payload bytes and the checksum are in. Empty while incomplete.
std::vector<std::uint8_t> ExpectedFrame(const std::vector<std::uint8_t>& arrived) {
  if (arrived.size() < kPayloadIndex)
    return {};
  const std::size_t length = std::min<std::size_t>(arrived[kLengthIndex], kMaxPayload);
  if (arrived.size() < length + 3)
    return {};
  std::vector<std::uint8_t> frame(arrived.begin(), arrived.begin() + length + 3);
  frame[kLengthIndex] = static_cast<std::uint8_t>(length);
  return frame;
}

bool IsSound(std::span<const std::uint8_t> frame) {
  return frame.size() >= 3 && frame[kLengthIndex] <= kMaxPayload &&
         frame.size() == frame[kLengthIndex] + 3u &&
         link::Checksum(frame.first(frame.size() - 1)) == frame.back();
}

Violation CheckReceive(link::Link& link, FuzzedByteStream& port,
                       const std::vector<std::uint8_t>& traced) {
  const int failuresBefore = port.Failures();
  port.ClearArrived();
  const bool received = link::ReceivePacket(link);
  const bool failed = port.Failures() != failuresBefore;
  const std::vector<std::uint8_t> expected = ExpectedFrame(port.Arrived());
  if (traced.size() > link::kPacketBufferSize)
    return "a received frame of " + std::to_string(traced.size()) + " bytes was traced";
  if (received) {
    const std::span<const std::uint8_t> frame =
        std::span<const std::uint8_t>(link.receive).first(expected.size());
    if (expected.empty() || !std::ranges::equal(frame, expected))
      return std::string("the frame received is not the bytes that arrived");
    if (!IsSound(frame))
      return std::string("a frame with a wrong checksum was accepted");
    if (!std::ranges::equal(traced, expected))
      return std::string("the trace shows another frame than the one received");
    return std::nullopt;
  }
  // Every byte came within the receive's reads, so a sound frame among them was in time.
  if (!failed && !expected.empty() && IsSound(expected))
    return std::string("a sound frame that arrived in time was refused");
  return std::nullopt;
}

// A successful write sent the whole image in 13-byte blocks, in ascending order.
Violation CheckWrittenImage(const std::vector<std::vector<std::uint8_t>>& frames,
                            std::size_t firstFrame, const link::CalibrationImage& image) {
  std::size_t next = 0;
  for (std::size_t f = firstFrame; f < frames.size(); ++f) {
    const std::vector<std::uint8_t>& frame = frames[f];
    if (frame[link::kCommandIndex] != link::command::kWriteBlock)
      continue;
    if (frame.size() < kPayloadIndex + kBlockHeaderSize + 1)
      return "a write block of " + std::to_string(frame.size()) + " bytes went out";
    const std::size_t address = frame[kPayloadIndex] + 256u * frame[kPayloadIndex + 2];
    const std::size_t count = frame[kPayloadIndex + 1];
    if (address != next || count == 0 || count > kWriteBlockSize ||
        frame[kLengthIndex] != kBlockHeaderSize + count || address + count > image.size()) {
      return "write block at " + std::to_string(address) + " does not follow on " +
             std::to_string(next);
    }
    if (!std::equal(image.begin() + address, image.begin() + address + count,
                    frame.begin() + kPayloadIndex + kBlockHeaderSize)) {
      return "write block at " + std::to_string(address) + " carries other bytes than the image";
    }
    next = address + count;
  }
  if (next != image.size())
    return "a write that succeeded sent the image up to byte " + std::to_string(next) + " only";
  return std::nullopt;
}

}  // namespace

Violation CheckPacketStream(std::span<const std::uint8_t> data) {
  FuzzInput input(data);
  FuzzedByteStream port(input);
  link::Link link;
  link.port = &port;
  std::vector<std::uint8_t> traced;
  link.trace = [&traced](link::TraceDirection direction, std::span<const std::uint8_t> frame,
                         std::chrono::steady_clock::time_point) {
    if (direction == link::TraceDirection::Received)
      traced.assign(frame.begin(), frame.end());
  };

  link::CalibrationImage image = link::FreshImage();
  link::MonitorBuffer monitor{};
  for (int step = 0; step < kMaxOperations && !input.Empty(); ++step) {
    const auto operation = static_cast<Operation>(input.Byte() % kOperationCount);
    const std::size_t firstFrame = port.Written().size();
    switch (operation) {
      case Operation::Receive:
        if (Violation v = CheckReceive(link, port, traced))
          return v;
        break;
      case Operation::ReadImage: {
        const link::CalibrationImage before = image;
        if (!link::ReadImage(link, image) && image != before)
          return std::string("a failed image read changed the image");
        break;
      }
      case Operation::CheckModel:
        link::CheckModel(link, image);
        break;
      case Operation::WriteImage:
        if (link::WriteImage(link, image)) {
          if (Violation v = CheckWrittenImage(port.Written(), firstFrame, image))
            return v;
        }
        break;
      case Operation::Monitor:
        link::ExchangeMonitorBlocks(link, monitor);
        break;
      case Operation::ZeroPoints:
        link::ReadZeroPoints(link);
        break;
      case Operation::Cancelled: {
        port.Cancel();
        const link::CalibrationImage before = image;
        const bool anything = link::ReceivePacket(link) || link::ReadImage(link, image) ||
                              link::WriteImage(link, image) ||
                              link::ReadZeroPoints(link).has_value();
        port.Resume();
        if (anything || image != before)
          return std::string("an operation on a cancelled port succeeded");
        break;
      }
    }
    for (std::size_t f = firstFrame; f < port.Written().size(); ++f) {
      if (!IsSound(port.Written()[f]))
        return "frame " + std::to_string(f) + " went out malformed";
    }
  }
  return std::nullopt;
}

}  // namespace qelvo::fuzz
