#include "app/table_fit.h"

#include <limits>

#include "catalogue/parser.h"

namespace qelvo::app {

namespace {

// The Low Volt row; Over Volt gets the same override.
constexpr int kLowVoltAddress = 25;
// Limits no override produces, so a limit left "from the table" stays recognisable.
constexpr std::int32_t kUntouched = std::numeric_limits<std::int32_t>::min();

catalogue::ParamItem VoltageLimits(const catalogue::ControllerIdentity& id) {
  catalogue::ParamItem probe;
  probe.address = kLowVoltAddress;
  probe.rangeL = kUntouched;
  probe.rangeH = kUntouched;
  catalogue::ApplyVoltageOverride(
      probe, {.voltageClass = id.voltageClass, .controllerVoltage = id.controllerVoltage});
  return probe;
}

}  // namespace

bool SameTablesServe(const catalogue::ControllerIdentity& loaded,
                     const catalogue::ControllerIdentity& read) {
  const auto before = catalogue::ChooseCalibrationTable(loaded.familyCode, loaded.softwareVersion);
  const auto now = catalogue::ChooseCalibrationTable(read.familyCode, read.softwareVersion);
  if (now.choice != catalogue::TableChoice::Found)
    return false;
  if (before.choice != now.choice || before.tableId != now.tableId)
    return false;
  const auto limitsBefore = VoltageLimits(loaded);
  const auto limitsNow = VoltageLimits(read);
  return limitsBefore.rangeL == limitsNow.rangeL && limitsBefore.rangeH == limitsNow.rangeH;
}

}  // namespace qelvo::app
