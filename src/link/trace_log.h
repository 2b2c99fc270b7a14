#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "link/packet.h"

namespace qelvo::link {

// Writes every frame of a run to a text file, one line each:
//   "   12.345 ms  >  F2 03 00 10 00 05"   (> sent, < received)
// The times count from the log's creation. Lines are flushed as they come, so a trace of a
// run that hangs or crashes still shows its last frame.
class TraceLog {
 public:
  // nullptr (and a message in `error`) when the file cannot be created.
  static std::unique_ptr<TraceLog> Create(const std::string& path, std::string& error);
  ~TraceLog();
  TraceLog(const TraceLog&) = delete;
  TraceLog& operator=(const TraceLog&) = delete;

  // A hook for Link::trace; the log must outlive every link using it.
  TraceHook Hook();
  void Write(TraceDirection direction, std::span<const std::uint8_t> frame,
             std::chrono::steady_clock::time_point when);

 private:
  explicit TraceLog(std::FILE* file);
  std::FILE* file_;
  std::chrono::steady_clock::time_point start_;
  std::mutex mutex_;  // the monitor's worker and the UI thread may both trace
};

}  // namespace qelvo::link
