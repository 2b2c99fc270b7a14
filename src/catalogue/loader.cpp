#include "catalogue/loader.h"

#include <memory>
#include <string>
#include <utility>

#include "catalogue/builtin_tables.h"
#include "catalogue/validate.h"

namespace qelvo::catalogue {

namespace {

void MoveCalibration(DescriptionTables& from, DescriptionTables& to) {
  to.params = std::move(from.params);
  to.paramCount = from.paramCount;
  to.controlStart = from.controlStart;
  to.motorStart = from.motorStart;
  to.comStart = from.comStart;
  to.calibrationTableId = from.calibrationTableId;
}

void Clear(DescriptionTables& tables) {
  tables.params.fill(ParamItem{});
  tables.paramCount = 0;
  tables.controlStart = 0;
  tables.motorStart = 0;
  tables.comStart = 0;
  tables.monitor.fill(MonitorItem{});
  tables.monitorCount = 0;
  tables.faults.fill(FaultName{});
  tables.faultCount = 0;
  tables.calibrationTableId = 0;
}

LoadResult BadTable(const std::string& table, const std::string& error) {
  return {LoadOutcome::BadTable, table + ", " + error};
}

std::string TableName(int id) {
  return "table " + std::to_string(id);
}

// Parses and validates one calibration text into `scratch`, which starts empty.
LoadResult ReadCalibration(std::span<const std::uint8_t> text, const std::string& tableName,
                           const VoltageOverride& voltage, DescriptionTables& scratch) {
  if (const ParseResult parsed = ParseCalibrationTable(text, scratch, voltage); !parsed.ok) {
    return BadTable(tableName, parsed.error);
  }
  if (const ValidationResult valid = ValidateCalibrationTable(scratch); !valid.ok) {
    return BadTable(tableName, valid.error);
  }
  return {LoadOutcome::Loaded, {}};
}

}  // namespace

LoadResult LoadDescriptionTables(std::span<const std::uint8_t, 512> image,
                                 DescriptionTables& tables,
                                 const std::function<void(bool comButtonVisible)>& setComButton) {
  const ControllerIdentity identity = IdentifyController(image);
  // The COM button follows the marker even when the controller turns out unsupported.
  if (setComButton)
    setComButton(!identity.comButtonHidden);

  const TableSelection selection =
      ChooseCalibrationTable(identity.familyCode, identity.softwareVersion);
  if (selection.choice != TableChoice::Found) {
    Clear(tables);
    return {selection.choice == TableChoice::VersionNotSupported ? LoadOutcome::VersionNotSupported
                                                                 : LoadOutcome::ModelNotSupported,
            {}};
  }

  // Built apart and moved in whole, so a refused table never leaves half a table behind.
  auto scratch = std::make_unique<DescriptionTables>();
  const std::string calibrationName = TableName(selection.tableId);
  const auto calibrationText = BuiltinTableText(selection.tableId);
  if (calibrationText.empty()) {
    Clear(tables);
    return BadTable(calibrationName, "the table is not built into this program");
  }
  const VoltageOverride voltage{identity.voltageClass, identity.controllerVoltage};
  if (LoadResult read = ReadCalibration(calibrationText, calibrationName, voltage, *scratch);
      !read.ok()) {
    Clear(tables);
    return read;
  }

  const std::string monitorName = TableName(kMonitorTableId);
  const auto monitorText = BuiltinTableText(kMonitorTableId);
  if (monitorText.empty()) {
    Clear(tables);
    return BadTable(monitorName, "the table is not built into this program");
  }
  if (const ParseResult parsed = ParseMonitorTable(monitorText, *scratch); !parsed.ok) {
    Clear(tables);
    return BadTable(monitorName, parsed.error);
  }
  if (const ValidationResult valid = ValidateMonitorTable(*scratch); !valid.ok) {
    Clear(tables);
    return BadTable(monitorName, valid.error);
  }

  scratch->calibrationTableId = selection.tableId;
  tables = std::move(*scratch);
  return {LoadOutcome::Loaded, {}};
}

LoadResult LoadCalibrationText(std::span<const std::uint8_t> text, DescriptionTables& tables,
                               const VoltageOverride& voltage) {
  auto scratch = std::make_unique<DescriptionTables>();
  if (LoadResult read = ReadCalibration(text, "calibration table", voltage, *scratch); !read.ok()) {
    return read;
  }
  MoveCalibration(*scratch, tables);
  return {LoadOutcome::Loaded, {}};
}

}  // namespace qelvo::catalogue
