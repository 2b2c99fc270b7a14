#include "link/commands.h"

#include <algorithm>

namespace qelvo::link {

namespace {

// The controller needs these pauses between a request and reading its reply.
constexpr std::chrono::milliseconds kPrepareReplyPause{50};
constexpr std::chrono::milliseconds kCommitReplyPause{200};
constexpr std::chrono::milliseconds kZeroPointsReplyPause{50};

constexpr std::size_t kReadBlockSize = 16;
constexpr std::size_t kReadBlockCount = kImageSize / kReadBlockSize;  // 32
constexpr std::size_t kWriteBlockSize = 13;
constexpr std::size_t kFullWriteBlockCount = 39;  // 0, 13, ..., 494
constexpr std::size_t kLastWriteBlockAddress = kFullWriteBlockCount * kWriteBlockSize;  // 507
constexpr std::size_t kLastWriteBlockSize = kImageSize - kLastWriteBlockAddress;        // 5
constexpr std::size_t kBlockHeaderSize = 3;  // address low, byte count, address high

// The module name is the first bytes of the image; the model check compares only these.
constexpr std::size_t kModuleNameSize = 8;
constexpr std::size_t kMonitorBlockSize = kMonitorBufferSize / 3;  // 16
constexpr std::size_t kZeroPointsPayloadSize = kZeroPointCount * 2;

// One request out, the command's pause, one reply back. Whatever waits on the line first is
// a reply that came too late for its own request, or one to a request whose wait was
// cancelled (the monitor stopping mid-tick): taken for this request's reply, it would put
// every later reply one request behind.
bool Exchange(Link& link, std::uint8_t command, std::span<const std::uint8_t> payload = {},
              std::chrono::milliseconds pause = std::chrono::milliseconds::zero()) {
  link.port->Purge();
  PutRequest(link, command, payload);
  SendPacket(link);  // a request that did not go out shows up as a missing reply
  if (pause > std::chrono::milliseconds::zero() && !link.port->Pause(pause)) {
    return false;
  }
  return ReceivePacket(link);
}

bool Prepare(Link& link) {
  return Exchange(link, command::kPrepare, {}, kPrepareReplyPause);
}

// A reply is only used when its length byte covers the payload bytes taken from it; anything
// beyond the reply's end is its checksum or bytes left over from an earlier one.
bool ReplyCarries(const Link& link, std::size_t payloadBytes) {
  return link.receive[kLengthIndex] >= payloadBytes;
}

std::span<const std::uint8_t> ReplyPayload(const Link& link, std::size_t size) {
  return std::span<const std::uint8_t>(link.receive).subspan(kPayloadIndex, size);
}

bool ReadBlock(Link& link, std::size_t address) {
  const std::array<std::uint8_t, kBlockHeaderSize> payload = {
      static_cast<std::uint8_t>(address % 256), static_cast<std::uint8_t>(kReadBlockSize),
      static_cast<std::uint8_t>(address / 256)};
  return Exchange(link, command::kReadBlock, payload) && ReplyCarries(link, kReadBlockSize);
}

bool WriteBlock(Link& link, const CalibrationImage& image, std::size_t address, std::size_t count) {
  std::array<std::uint8_t, kMaxPayload> payload{};
  payload[0] = static_cast<std::uint8_t>(address % 256);
  payload[1] = static_cast<std::uint8_t>(count);
  payload[2] = static_cast<std::uint8_t>(address / 256);
  std::copy_n(image.begin() + address, count, payload.begin() + kBlockHeaderSize);
  return Exchange(link, command::kWriteBlock,
                  std::span<const std::uint8_t>(payload).first(kBlockHeaderSize + count));
}

}  // namespace

bool ReadImage(Link& link, CalibrationImage& image) {
  if (link.port == nullptr) {
    return false;
  }
  Prepare(link);  // the controller may answer the first Prepare with garbage
  if (!Prepare(link)) {
    return false;
  }
  // The caller's image changes only when every block arrived.
  CalibrationImage staged;
  for (std::size_t block = 0; block < kReadBlockCount; ++block) {
    const std::size_t address = block * kReadBlockSize;
    if (!ReadBlock(link, address)) {
      return false;
    }
    std::ranges::copy(ReplyPayload(link, kReadBlockSize), staged.begin() + address);
  }
  image = staged;
  return true;
}

bool WriteImage(Link& link, const CalibrationImage& image) {
  if (link.port == nullptr || !Prepare(link)) {
    return false;
  }
  for (std::size_t block = 0; block < kFullWriteBlockCount; ++block) {
    if (!WriteBlock(link, image, block * kWriteBlockSize, kWriteBlockSize)) {
      return false;
    }
  }
  if (!WriteBlock(link, image, kLastWriteBlockAddress, kLastWriteBlockSize)) {
    return false;
  }
  return Exchange(link, command::kCommit, {}, kCommitReplyPause);
}

ModelCheck CheckModel(Link& link, const CalibrationImage& image) {
  if (link.port == nullptr) {
    return ModelCheck::NoReply;
  }
  Prepare(link);
  if (!Prepare(link)) {
    return ModelCheck::NoReply;
  }
  const std::array<std::uint8_t, kBlockHeaderSize> payload = {
      0, static_cast<std::uint8_t>(kReadBlockSize), 0};
  if (!Exchange(link, command::kReadBlock, payload) || !ReplyCarries(link, kModuleNameSize)) {
    return ModelCheck::NoReply;
  }
  const auto name = ReplyPayload(link, kModuleNameSize);
  return std::equal(name.begin(), name.end(), image.begin()) ? ModelCheck::Match
                                                             : ModelCheck::Mismatch;
}

bool ExchangeMonitorBlocks(Link& link, MonitorBuffer& buffer) {
  if (link.port == nullptr) {
    return false;
  }
  constexpr std::array<std::uint8_t, 3> kBlocks = {command::kMonitorBlock1, command::kMonitorBlock2,
                                                   command::kMonitorBlock3};
  bool answered = false;
  for (std::size_t i = 0; i < kBlocks.size(); ++i) {
    if (!Exchange(link, kBlocks[i]) || !ReplyCarries(link, kMonitorBlockSize)) {
      continue;
    }
    // Only block 1's reply must carry its own command byte; blocks 2 and 3 are not checked.
    const bool first = i == 0;
    if (first && link.receive[kCommandIndex] != command::kMonitorBlock1) {
      continue;
    }
    std::ranges::copy(ReplyPayload(link, kMonitorBlockSize),
                      buffer.begin() + i * kMonitorBlockSize);
    answered = answered || first;
  }
  return answered;
}

std::optional<ZeroPoints> ReadZeroPoints(Link& link) {
  if (link.port == nullptr ||
      !Exchange(link, command::kReadZeroPoints, {}, kZeroPointsReplyPause) ||
      link.receive[kCommandIndex] != command::kReadZeroPoints ||
      !ReplyCarries(link, kZeroPointsPayloadSize)) {
    return std::nullopt;
  }
  const auto payload = ReplyPayload(link, kZeroPointsPayloadSize);
  ZeroPoints values{};
  for (std::size_t k = 0; k < kZeroPointCount; ++k) {
    values[k] = static_cast<std::uint16_t>(payload[2 * k] * 256 + payload[2 * k + 1]);
  }
  return values;
}

}  // namespace qelvo::link
