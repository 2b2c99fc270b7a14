#include "link/trace_log.h"

#include <cerrno>
#include <cstring>
#include <system_error>

namespace qelvo::link {

std::unique_ptr<TraceLog> TraceLog::Create(const std::string& path, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) {
    error = "Cannot write the trace file " + path + ": " + std::generic_category().message(errno);
    return nullptr;
  }
  return std::unique_ptr<TraceLog>(new TraceLog(file));
}

TraceLog::TraceLog(std::FILE* file) : file_(file), start_(std::chrono::steady_clock::now()) {}

TraceLog::~TraceLog() {
  std::fclose(file_);
}

TraceHook TraceLog::Hook() {
  return [this](TraceDirection direction, std::span<const std::uint8_t> frame,
                std::chrono::steady_clock::time_point when) { Write(direction, frame, when); };
}

void TraceLog::Write(TraceDirection direction, std::span<const std::uint8_t> frame,
                     std::chrono::steady_clock::time_point when) {
  const double ms = std::chrono::duration<double, std::milli>(when - start_).count();
  std::lock_guard lock(mutex_);
  std::fprintf(file_, "%10.3f ms  %c ", ms, direction == TraceDirection::Sent ? '>' : '<');
  for (std::uint8_t byte : frame)
    std::fprintf(file_, " %02X", byte);
  if (frame.empty())
    std::fputs(" (nothing)", file_);
  std::fputc('\n', file_);
  std::fflush(file_);
}

}  // namespace qelvo::link
