#pragma once

#include <string>

#include "cli/monitor_view.h"
#include "cli/tick_stamp.h"

namespace qelvo::cli {

struct TerminalSize {
  int rows = 24;
  int columns = 80;
};

// The whole screen of a terminal, drawn over the last one in place: a heading, the status,
// the active faults, and the items with their values in as many columns as keep them on
// one screen and fit its width.
std::string TerminalFrame(const MonitorView& view, const TickStamp& stamp, TerminalSize size,
                          bool firstFrame);

// One tick as one line, for output that is no terminal:
// "TIME +MSms Success! | Name=value | ... | Faults: A, B".
std::string PlainLine(const MonitorView& view, const TickStamp& stamp);

}  // namespace qelvo::cli
