#pragma once

#include <memory>
#include <string>

#include "cli/monitor_view.h"
#include "cli/tick_stamp.h"
#include "link/line_log_file.h"

namespace qelvo::cli {

// The monitor's log: a header with the item names, then one row per tick with its time, the
// status, every item's value and the active faults. It is written to FILE.tmp, flushed at
// every tick, and renamed to FILE by Finish, so FILE never holds half a log.
class TickCsvLog {
 public:
  // Creates FILE.tmp and writes the header; empty with a message when it cannot.
  static std::unique_ptr<TickCsvLog> Create(const std::string& path, const MonitorView& view,
                                            std::string& error);
  bool Append(const MonitorView& view, const TickStamp& stamp, std::string& error);
  // Closes FILE.tmp and renames it to FILE. Without it FILE.tmp stays, with every whole
  // row written so far.
  bool Finish(std::string& error);

  const std::string& temporaryPath() const { return file_->temporaryPath(); }

 private:
  explicit TickCsvLog(std::unique_ptr<link::LineLogFile> file);

  std::unique_ptr<link::LineLogFile> file_;
};

// One CSV field, quoted when it holds a comma, a quote, a line break or blanks at its ends.
std::string CsvField(std::string_view text);

}  // namespace qelvo::cli
