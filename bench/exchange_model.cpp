#include "bench/exchange_model.h"

#include <algorithm>

#include "link/commands.h"

namespace qelvo::bench {

namespace {

// 19200 baud, 8 data bits, no parity, 1 stop bit: ten bit times per byte.
constexpr double kBaudRate = 19200;
constexpr double kBitsPerByte = 10;
constexpr double kByteMs = 1000 * kBitsPerByte / kBaudRate;  // 0.5208 ms

// How the PC reads a reply: each poll pauses before its read call; a read returns once 19
// bytes are in, 20 ms after the last byte once one has come, or 145 ms after the call.
constexpr double kPollPauseMs = 5;
constexpr double kReadIntervalMs = 20;
constexpr double kReadTotalMs = 145;
constexpr double kPollsBeforeGivingUp = 10;
constexpr std::size_t kFullRead = link::kPacketBufferSize;

// The pauses the controller needs between a request and the reading of its reply.
constexpr double kPreparePauseMs = 50;
constexpr double kCommitPauseMs = 200;
constexpr double kZeroPointsPauseMs = 50;

double WireMs(std::size_t bytes) {
  return kByteMs * static_cast<double>(bytes);
}

double ReplyPauseMs(std::uint8_t command) {
  switch (command) {
    case link::command::kPrepare:
      return kPreparePauseMs;
    case link::command::kCommit:
      return kCommitPauseMs;
    case link::command::kReadZeroPoints:
      return kZeroPointsPauseMs;
    default:
      return 0;
  }
}

}  // namespace

LineTime FixedPause(std::chrono::milliseconds pause) {
  const auto ms = static_cast<double>(pause.count());
  return {ms, ms};
}

LineTime ModelOf(const ExchangeRecord& exchange) {
  const double pause = exchange.requestBytes > 0 ? ReplyPauseMs(exchange.command) : 0;
  const double request = WireMs(exchange.requestBytes);
  if (exchange.replyBytes == 0) {
    const double givingUp = kPollsBeforeGivingUp * (kPollPauseMs + kReadTotalMs);
    return {request + pause + givingUp, pause + givingUp};
  }
  const double reply = WireMs(exchange.replyBytes);
  const double afterLastByte = exchange.replyBytes < kFullRead ? kReadIntervalMs : 0;
  return {
      request + pause + kPollPauseMs + reply + afterLastByte,
      std::max(request + reply, pause + kPollPauseMs) + afterLastByte,
  };
}

LineTime ModelOf(std::span<const ExchangeRecord> exchanges) {
  LineTime total;
  for (const ExchangeRecord& exchange : exchanges)
    total += ModelOf(exchange);
  return total;
}

ExchangeRecorder::ExchangeRecorder(std::size_t capacity) {
  exchanges_.reserve(capacity);
}

link::TraceHook ExchangeRecorder::Hook() {
  return [this](link::TraceDirection direction, std::span<const std::uint8_t> frame,
                std::chrono::steady_clock::time_point when) { Record(direction, frame, when); };
}

void ExchangeRecorder::Clear() {
  exchanges_.clear();
  open_.reset();
  first_.reset();
  last_.reset();
}

void ExchangeRecorder::Record(link::TraceDirection direction, std::span<const std::uint8_t> frame,
                              std::chrono::steady_clock::time_point when) {
  if (!first_)
    first_ = when;
  last_ = when;
  if (direction == link::TraceDirection::Sent) {
    // A request that no receive followed kept the line only for its own bytes; it is not
    // an exchange.
    open_ = ExchangeRecord{
        .command = frame.empty() ? std::uint8_t{0} : frame[link::kCommandIndex],
        .requestBytes = frame.size(),
        .replyBytes = 0,
    };
    return;
  }
  ExchangeRecord exchange = open_.value_or(ExchangeRecord{});
  exchange.replyBytes = frame.size();
  exchanges_.push_back(exchange);
  open_.reset();
}

}  // namespace qelvo::bench
