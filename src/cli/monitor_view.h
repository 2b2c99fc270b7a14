#pragma once

#include <string>
#include <vector>

#include "catalogue/tables.h"
#include "link/commands.h"
#include "monitor/monitor_tick.h"

namespace qelvo::cli {

// What the monitor shows after the latest tick, in UTF-8: the status, each item of the
// monitor table with its value, and every active fault by name.
class MonitorView {
 public:
  explicit MonitorView(const catalogue::DescriptionTables& tables);

  // An item without a new text keeps its last one, as its edit on the page does. A fault
  // item shows its whole fault word; the faults it names are listed apart.
  void Update(const monitor::TickTexts& texts, const link::MonitorBuffer& buffer);

  const std::string& status() const { return status_; }
  const std::vector<std::string>& names() const { return names_; }
  const std::vector<std::string>& values() const { return values_; }
  const std::vector<std::string>& activeFaults() const { return activeFaults_; }

 private:
  const catalogue::DescriptionTables& tables_;
  std::string status_;
  std::vector<std::string> names_;
  std::vector<std::string> values_;
  std::vector<std::string> activeFaults_;
};

}  // namespace qelvo::cli
