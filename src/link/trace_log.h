#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <string>

#include "link/line_log_file.h"
#include "link/packet.h"

namespace qelvo::link {

// Writes every frame of a run to a text file, one line each:
//   "   12.345 ms  >  F2 03 00 10 00 05"   (> sent, < received)
// The times count from the log's creation. It is written to FILE.tmp and renamed to FILE when
// the log goes away; a run that hangs or crashes leaves FILE.tmp, which still shows its last
// frame, since every line is flushed as it comes.
class TraceLog {
 public:
  // nullptr (and a message in `error`) when the file cannot be created.
  static std::unique_ptr<TraceLog> Create(const std::string& path, std::string& error);
  // Renames FILE.tmp to FILE; when that fails FILE.tmp stays.
  ~TraceLog();
  TraceLog(const TraceLog&) = delete;
  TraceLog& operator=(const TraceLog&) = delete;

  // A hook for Link::trace; the log must outlive every link using it.
  TraceHook Hook();
  void Write(TraceDirection direction, std::span<const std::uint8_t> frame,
             std::chrono::steady_clock::time_point when);

 private:
  explicit TraceLog(std::unique_ptr<LineLogFile> file);
  std::unique_ptr<LineLogFile> file_;
  std::chrono::steady_clock::time_point start_;
  std::mutex mutex_;  // the monitor's worker and the UI thread may both trace
};

}  // namespace qelvo::link
