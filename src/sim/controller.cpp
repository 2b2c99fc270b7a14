#include "sim/controller.h"

#include <algorithm>
#include <array>
#include <utility>

#include "sim/default_image.h"

namespace qelvo::sim {
namespace {

namespace command = link::command;

constexpr std::size_t kFrameOverhead = 3;  // command, length, checksum
// A request arrives in one go: bytes that follow a partial request after this long start a
// new one (the PC itself gives up 20 ms after a byte).
constexpr std::chrono::milliseconds kStaleRequestGap{20};

// Payload byte 2 of the handshake reply tells the PC a controller is there.
constexpr std::array<std::uint8_t, 3> kHandshakePayload{0x00, 0x00, 0x01};

// Read block and Write block payloads: address low, byte count, address high, data.
constexpr std::size_t kAddressLowIndex = 0;
constexpr std::size_t kCountIndex = 1;
constexpr std::size_t kAddressHighIndex = 2;
constexpr std::size_t kBlockHeaderSize = 3;
constexpr std::uint8_t kPastImageByte = 0xFF;  // what a read beyond byte 511 returns

constexpr std::size_t kMonitorBlockSize = 16;
constexpr std::size_t kModuleNameSize = 8;

// Split replies go out in three pieces: the first two bytes, half the rest, the remainder.
constexpr std::chrono::milliseconds kSplitGap{3};
constexpr std::size_t kSplitFirstPiece = 2;
constexpr std::uint8_t kWrongCommandFlip = 0x80;
// A PC that stops reading cannot make the controller hold more than this.
constexpr std::size_t kMaxPendingOutput = 4096;

std::uint8_t FrameSum(std::span<const std::uint8_t> bytes) {
  unsigned sum = 0;
  for (const std::uint8_t byte : bytes) {
    sum += byte;
  }
  return static_cast<std::uint8_t>(sum);
}

std::size_t FrameSize(std::uint8_t lengthByte) {
  return std::min<std::size_t>(lengthByte, link::kMaxPayload) + kFrameOverhead;
}

std::size_t BlockAddress(std::span<const std::uint8_t> payload) {
  return payload[kAddressLowIndex] | (std::size_t{payload[kAddressHighIndex]} << 8);
}

void StartReply(std::uint8_t commandByte, std::span<const std::uint8_t> payload,
                link::PacketBuffer& bytes, std::size_t& size) {
  bytes[link::kCommandIndex] = commandByte;
  bytes[link::kLengthIndex] = static_cast<std::uint8_t>(payload.size());
  std::copy(payload.begin(), payload.end(), bytes.begin() + link::kPayloadIndex);
  size = payload.size() + kFrameOverhead;
  bytes[size - 1] = FrameSum({bytes.data(), size - 1});
}

std::array<std::uint8_t, kModuleNameSize> OtherModuleName(std::span<const std::uint8_t> trueName) {
  std::array<std::uint8_t, kModuleNameSize> name{};
  std::copy(trueName.begin(), trueName.end(), name.begin());
  name.back() = name.back() == 'Z' ? 'Y' : 'Z';
  return name;
}

}  // namespace

SimulatedController::SimulatedController(const Identity& identity, std::uint32_t seed,
                                         Clock::time_point start)
    : identity_(identity),
      start_(start),
      stored_(DefaultImage(identity)),
      staged_(stored_),
      live_(identity.controllerVoltage),
      zeroPoints_(seed) {}

void SimulatedController::SetPaced(bool paced) {
  std::lock_guard lock(mutex_);
  paced_ = paced;
}

bool SimulatedController::paced() const {
  std::lock_guard lock(mutex_);
  return paced_;
}

void SimulatedController::SetFaults(const Faults& faults) {
  std::lock_guard lock(mutex_);
  faults_ = faults;
  requestsInScope_ = 0;
  writeBlocksSinceFaults_ = 0;
  vanishArmed_ = false;
}

Faults SimulatedController::faults() const {
  std::lock_guard lock(mutex_);
  return faults_;
}

link::CalibrationImage SimulatedController::StoredBlock() const {
  std::lock_guard lock(mutex_);
  return stored_;
}

link::CalibrationImage SimulatedController::StagedBlock() const {
  std::lock_guard lock(mutex_);
  return staged_;
}

void SimulatedController::SetStoredBlock(const link::CalibrationImage& block) {
  std::lock_guard lock(mutex_);
  stored_ = block;
  staged_ = block;
}

void SimulatedController::SetZeroPointCentres(const link::ZeroPoints& centres) {
  std::lock_guard lock(mutex_);
  zeroPoints_.SetCentres(centres);
}

void SimulatedController::PinMonitorByte(std::size_t offset, std::uint8_t value) {
  std::lock_guard lock(mutex_);
  live_.Pin(offset, value);
}

void SimulatedController::PinFaultWord(std::uint16_t word) {
  std::lock_guard lock(mutex_);
  live_.PinFaultWord(word);
}

void SimulatedController::UnpinMonitor() {
  std::lock_guard lock(mutex_);
  live_.UnpinAll();
}

link::MonitorBuffer SimulatedController::MonitorAt(Clock::time_point now) const {
  std::lock_guard lock(mutex_);
  return live_.Sample(std::chrono::duration_cast<std::chrono::milliseconds>(now - start_));
}

std::vector<RequestRecord> SimulatedController::RequestLog() const {
  std::lock_guard lock(mutex_);
  return {log_.begin(), log_.end()};
}

void SimulatedController::ClearRequestLog() {
  std::lock_guard lock(mutex_);
  log_.clear();
}

void SimulatedController::Receive(std::span<const std::uint8_t> bytes, Clock::time_point now) {
  std::lock_guard lock(mutex_);
  if (bytes.empty()) {
    return;
  }
  if (vanishArmed_) {
    vanishArmed_ = false;
    vanishNow_ = true;
    return;
  }
  for (const std::uint8_t byte : bytes) {
    if (incomingSize_ > 0 && now - incomingLast_ > kStaleRequestGap) {
      incomingSize_ = 0;
    }
    if (incomingSize_ == 0) {
      incomingFirst_ = now;
    }
    incoming_[incomingSize_++] = byte;
    incomingLast_ = now;
    if (incomingSize_ >= kFrameOverhead &&
        incomingSize_ == FrameSize(incoming_[link::kLengthIndex])) {
      HandleRequest(now);
      incomingSize_ = 0;
    }
  }
}

std::optional<Clock::time_point> SimulatedController::NextOutputDue() const {
  std::lock_guard lock(mutex_);
  if (outgoing_.empty()) {
    return std::nullopt;
  }
  return outgoing_.front().due;
}

std::size_t SimulatedController::TakeOutput(Clock::time_point now, std::span<std::uint8_t> out) {
  std::lock_guard lock(mutex_);
  std::size_t count = 0;
  while (count < out.size() && !outgoing_.empty() && outgoing_.front().due <= now) {
    out[count++] = outgoing_.front().byte;
    outgoing_.pop_front();
  }
  return count;
}

bool SimulatedController::TakeVanish() {
  std::lock_guard lock(mutex_);
  return std::exchange(vanishNow_, false);
}

void SimulatedController::ResetLine() {
  std::lock_guard lock(mutex_);
  incomingSize_ = 0;
  outgoing_.clear();
  vanishArmed_ = false;
}

void SimulatedController::HandleRequest(Clock::time_point lastByte) {
  RequestRecord request;
  request.firstByte = incomingFirst_;
  request.lastByte = lastByte;
  request.bytes = incoming_;
  request.size = incomingSize_;
  request.checksumOk =
      FrameSum({incoming_.data(), incomingSize_ - 1}) == incoming_[incomingSize_ - 1];
  if (log_.size() == kRequestLogCapacity) {
    log_.pop_front();
  }
  log_.push_back(request);
  if (!request.checksumOk) {
    return;
  }

  const bool inScope = InScope(request.command());
  if (inScope && faults_.silent) {
    return;
  }
  // The controller starts answering once the request would have finished arriving at 19200
  // baud, even though a pseudo-terminal delivers it at once.
  Clock::time_point ready = lastByte;
  if (paced_) {
    ready = std::max(ready, request.firstByte + WireTime(request.size));
  }
  Reply reply;
  if (!Execute(request, ready, inScope, reply)) {
    return;
  }
  if (inScope) {
    const std::size_t length = reply.bytes[link::kLengthIndex];
    if (faults_.shortReply) {
      reply.bytes[link::kLengthIndex] = static_cast<std::uint8_t>(length / 2);
      reply.size = length / 2 + kFrameOverhead;
    }
    if (faults_.wrongCommand) {
      reply.bytes[link::kCommandIndex] ^= kWrongCommandFlip;
    }
    reply.bytes[reply.size - 1] = FrameSum({reply.bytes.data(), reply.size - 1});
    if (faults_.badChecksum) {
      reply.bytes[reply.size - 1] = static_cast<std::uint8_t>(reply.bytes[reply.size - 1] + 1);
    }
    ready += faults_.delay;
  }
  Schedule(reply, ready, inScope && faults_.split);
}

bool SimulatedController::InScope(std::uint8_t commandByte) {
  if (faults_.onlyCommand && *faults_.onlyCommand != commandByte) {
    return false;
  }
  const int number = ++requestsInScope_;
  return number > faults_.afterRequests &&
         (faults_.requestCount == 0 || number <= faults_.afterRequests + faults_.requestCount);
}

bool SimulatedController::Execute(const RequestRecord& request, Clock::time_point now, bool inScope,
                                  Reply& reply) {
  const std::span<const std::uint8_t> payload = request.payload();
  const std::uint8_t commandByte = request.command();
  switch (commandByte) {
    case command::kHandshake:
      StartReply(commandByte, kHandshakePayload, reply.bytes, reply.size);
      return true;

    case command::kPrepare:
      staged_ = stored_;
      writeBlocksSincePrepare_ = 0;
      StartReply(commandByte, {}, reply.bytes, reply.size);
      return true;

    case command::kReadBlock: {
      if (payload.size() < kBlockHeaderSize) {
        return false;
      }
      const std::size_t address = BlockAddress(payload);
      const std::size_t count = std::min<std::size_t>(payload[kCountIndex], link::kMaxPayload);
      std::array<std::uint8_t, link::kMaxPayload> data{};
      for (std::size_t k = 0; k < count; ++k) {
        data[k] = address + k < stored_.size() ? stored_[address + k] : kPastImageByte;
      }
      if (address == 0 && ++readsAtZero_ > faults_.otherModuleAfterReads && inScope &&
          faults_.otherModule && count >= kModuleNameSize) {
        const auto other = OtherModuleName({data.data(), kModuleNameSize});
        std::copy(other.begin(), other.end(), data.begin());
      }
      StartReply(commandByte, {data.data(), count}, reply.bytes, reply.size);
      return true;
    }

    case command::kWriteBlock: {
      // A malformed block gets no answer, so that a PC sending it sees its mistake.
      if (payload.size() < kBlockHeaderSize) {
        return false;
      }
      const std::size_t address = BlockAddress(payload);
      const std::size_t count = payload[kCountIndex];
      const auto data = payload.subspan(kBlockHeaderSize);
      if (count != data.size() || address + count > staged_.size()) {
        return false;
      }
      ++writeBlocksSincePrepare_;
      if (writeBlocksSincePrepare_ != faults_.dropWriteBlock) {
        std::copy(data.begin(), data.end(), staged_.begin() + static_cast<long>(address));
      }
      if (faults_.vanishAfterWriteBlocks > 0 &&
          ++writeBlocksSinceFaults_ == faults_.vanishAfterWriteBlocks) {
        faults_.vanishAfterWriteBlocks = 0;
        vanishArmed_ = true;
      }
      StartReply(commandByte, {}, reply.bytes, reply.size);
      return true;
    }

    case command::kCommit:
      stored_ = staged_;
      StartReply(commandByte, {}, reply.bytes, reply.size);
      return true;

    case command::kMonitorBlock1:
    case command::kMonitorBlock2:
    case command::kMonitorBlock3: {
      const auto buffer =
          live_.Sample(std::chrono::duration_cast<std::chrono::milliseconds>(now - start_));
      const std::size_t offset = (commandByte - command::kMonitorBlock1) * kMonitorBlockSize;
      StartReply(commandByte, std::span(buffer).subspan(offset, kMonitorBlockSize), reply.bytes,
                 reply.size);
      return true;
    }

    case command::kReadZeroPoints: {
      const link::ZeroPoints values = zeroPoints_.Read();
      std::array<std::uint8_t, 2 * link::kZeroPointCount> data{};
      for (std::size_t k = 0; k < values.size(); ++k) {
        data[2 * k] = static_cast<std::uint8_t>(values[k] >> 8);
        data[2 * k + 1] = static_cast<std::uint8_t>(values[k]);
      }
      StartReply(commandByte, data, reply.bytes, reply.size);
      return true;
    }

    default:
      return false;
  }
}

void SimulatedController::Schedule(const Reply& reply, Clock::time_point ready, bool split) {
  if (outgoing_.size() + reply.size > kMaxPendingOutput) {
    return;
  }
  // One reply at a time on the line: a reply waits for the one before it.
  const Clock::time_point start = std::max(ready, lineFreeAt_);
  const std::size_t secondPieceEnd =
      kSplitFirstPiece + (reply.size > kSplitFirstPiece ? (reply.size - kSplitFirstPiece) / 2 : 0);
  for (std::size_t k = 0; k < reply.size; ++k) {
    Clock::time_point due = start;
    if (paced_) {
      due += WireTime(k + 1);
    }
    if (split) {
      const int piece = k < kSplitFirstPiece ? 0 : (k < secondPieceEnd ? 1 : 2);
      due += piece * kSplitGap;
    }
    outgoing_.push_back({due, reply.bytes[k]});
  }
  lineFreeAt_ = outgoing_.back().due;
}

}  // namespace qelvo::sim
