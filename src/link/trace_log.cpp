#include "link/trace_log.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace qelvo::link {

std::unique_ptr<TraceLog> TraceLog::Create(const std::string& path, std::string& error) {
  std::unique_ptr<LineLogFile> file = LineLogFile::Create(path, error);
  if (!file)
    return nullptr;
  return std::unique_ptr<TraceLog>(new TraceLog(std::move(file)));
}

TraceLog::TraceLog(std::unique_ptr<LineLogFile> file)
    : file_(std::move(file)), start_(std::chrono::steady_clock::now()) {}

TraceLog::~TraceLog() {
  std::string ignored;  // nobody is left to tell; FILE.tmp keeps the trace
  file_->Finish(ignored);
}

TraceHook TraceLog::Hook() {
  return [this](TraceDirection direction, std::span<const std::uint8_t> frame,
                std::chrono::steady_clock::time_point when) { Write(direction, frame, when); };
}

void TraceLog::Write(TraceDirection direction, std::span<const std::uint8_t> frame,
                     std::chrono::steady_clock::time_point when) {
  const double ms = std::chrono::duration<double, std::milli>(when - start_).count();
  // A frame is at most 19 bytes; the line is built without allocating.
  std::array<char, 32 + 3 * kPacketBufferSize + 16> line{};
  std::size_t used = 0;
  const auto add = [&line, &used](const char* format, auto... values) {
    const int n = std::snprintf(line.data() + used, line.size() - used, format, values...);
    if (n > 0)
      used = std::min(line.size() - 1, used + static_cast<std::size_t>(n));
  };
  add("%10.3f ms  %c ", ms, direction == TraceDirection::Sent ? '>' : '<');
  for (std::size_t i = 0; i < frame.size() && i < kPacketBufferSize; ++i)
    add(" %02X", frame[i]);
  if (frame.empty())
    add("%s", " (nothing)");
  add("%s", "\n");
  std::string ignored;  // a trace that cannot be written must not stop the exchange
  std::lock_guard lock(mutex_);
  file_->Append(std::string_view(line.data(), used), ignored);
}

}  // namespace qelvo::link
