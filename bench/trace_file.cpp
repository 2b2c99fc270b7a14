#include "bench/trace_file.h"

#include <array>
#include <charconv>
#include <fstream>
#include <optional>
#include <string_view>

#include "link/packet.h"

namespace qelvo::bench {

namespace {

// "   12.345 ms  >  F2 03 00 10 00 05" (> sent, < received; "(nothing)" for an empty receive).
constexpr std::string_view kTimeUnit = " ms";
constexpr std::string_view kSentMark = ">";
constexpr std::string_view kReceivedMark = "<";
constexpr int kHexBase = 16;

struct TracedFrame {
  double ms = 0;
  link::TraceDirection direction = link::TraceDirection::Sent;
  std::array<std::uint8_t, link::kPacketBufferSize> bytes{};
  std::size_t size = 0;
};

std::string_view TrimLeft(std::string_view text) {
  const auto start = text.find_first_not_of(' ');
  return start == std::string_view::npos ? std::string_view{} : text.substr(start);
}

std::optional<TracedFrame> ParseLine(std::string_view line) {
  TracedFrame frame;
  line = TrimLeft(line);
  const auto [timeEnd, timeError] =
      std::from_chars(line.data(), line.data() + line.size(), frame.ms);
  if (timeError != std::errc{})
    return std::nullopt;
  line.remove_prefix(static_cast<std::size_t>(timeEnd - line.data()));
  if (!line.starts_with(kTimeUnit))
    return std::nullopt;
  line = TrimLeft(line.substr(kTimeUnit.size()));
  if (line.starts_with(kSentMark)) {
    frame.direction = link::TraceDirection::Sent;
  } else if (line.starts_with(kReceivedMark)) {
    frame.direction = link::TraceDirection::Received;
  } else {
    return std::nullopt;
  }
  line = TrimLeft(line.substr(1));
  while (!line.empty() && frame.size < frame.bytes.size()) {
    unsigned value = 0;
    const auto [end, error] =
        std::from_chars(line.data(), line.data() + line.size(), value, kHexBase);
    if (error != std::errc{} || value > 0xFF)
      break;  // "(nothing)", or the end of the frame
    frame.bytes[frame.size++] = static_cast<std::uint8_t>(value);
    line = TrimLeft(line.substr(static_cast<std::size_t>(end - line.data())));
  }
  return frame;
}

}  // namespace

bool ReadTraceFile(const std::string& path, ExchangeRecorder& recorder) {
  std::ifstream file(path);
  if (!file)
    return false;
  std::string line;
  while (std::getline(file, line)) {
    const auto frame = ParseLine(line);
    if (!frame)
      continue;
    const auto when = std::chrono::steady_clock::time_point{} +
                      std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                          std::chrono::duration<double, std::milli>(frame->ms));
    recorder.Record(frame->direction, std::span(frame->bytes).first(frame->size), when);
  }
  return true;
}

}  // namespace qelvo::bench
