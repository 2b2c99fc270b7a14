#pragma once

#include <string>

#include "catalogue/tables.h"

namespace qelvo::catalogue {

// Item slots a page has: the Vehicle page 33 (from row 16 on), the others 48; the monitor
// page 47 items.
inline constexpr int kVehicleSlots = 33;
inline constexpr int kPageSlots = 48;
inline constexpr int kMonitorSlots = 47;
inline constexpr int kFlagRows = 16;

struct ValidationResult {
  bool ok = true;
  std::string error;  // names the offending row
};

// Refuses rows the data model excludes: items past byte 511 or past the 48-byte monitor
// buffer, numbers wider than 4 bytes, character items longer than 19, bit numbers outside
// 0..7, pages with more shown rows than item slots, missing or disordered page starts.
ValidationResult ValidateCalibrationTable(const DescriptionTables& tables);
ValidationResult ValidateMonitorTable(const DescriptionTables& tables);

}  // namespace qelvo::catalogue
