#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "catalogue/parser.h"
#include "catalogue/tables.h"

namespace qelvo::catalogue {

// Who the controller is, from its image.
struct ControllerIdentity {
  std::string familyCode;               // bytes 1..2 as text, a byte 0 ends it
  std::string voltageClass;             // bytes 3..4 as text
  std::uint16_t softwareVersion = 0;    // bytes 16..17, high first
  std::uint16_t controllerVoltage = 0;  // bytes 23..24, high first
  bool comButtonHidden = false;         // bytes 84..85 read "2Q"
};
ControllerIdentity IdentifyController(std::span<const std::uint8_t, 512> image);

enum class TableChoice { Found, VersionNotSupported /*156*/, ModelNotSupported /*157*/ };
struct TableSelection {
  TableChoice choice = TableChoice::ModelNotSupported;
  int tableId = 0;
};
TableSelection ChooseCalibrationTable(const std::string& familyCode, std::uint16_t version);

enum class LoadOutcome { Loaded, VersionNotSupported, ModelNotSupported, BadTable };
struct LoadResult {
  LoadOutcome outcome = LoadOutcome::ModelNotSupported;
  std::string error;  // BadTable: which table and row
  bool ok() const { return outcome == LoadOutcome::Loaded; }
};

// Identifies the controller, reports the COM button's visibility (before the family is
// examined), chooses the calibration table, parses and validates it and the monitor table.
// On failure the tables are left empty.
LoadResult LoadDescriptionTables(std::span<const std::uint8_t, 512> image,
                                 DescriptionTables& tables,
                                 const std::function<void(bool comButtonVisible)>& setComButton);

// Loads a given calibration table text (tests, `qelvo table`), with validation. On success
// it replaces the ParamTable and its page starts (calibrationTableId becomes 0); on failure
// the caller's tables stay as they were. The monitor and fault tables are not touched.
LoadResult LoadCalibrationText(std::span<const std::uint8_t> text, DescriptionTables& tables,
                               const VoltageOverride& voltage);

}  // namespace qelvo::catalogue
