#include "harness/description_table_check.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>

#include "catalogue/loader.h"
#include "catalogue/parser.h"
#include "catalogue/tables.h"
#include "catalogue/validate.h"
#include "cli/page_listing.h"
#include "link/commands.h"
#include "monitor/fault_text.h"
#include "monitor/item_text.h"
#include "pages/item_codec.h"

namespace qelvo::fuzz {

namespace {

using catalogue::DescriptionTables;
using catalogue::VoltageOverride;

constexpr int kParamCapacity = static_cast<int>(catalogue::kParamCapacity);
// Rows left free when the text is parsed a second time onto nearly full tables.
constexpr int kFreeRows = 8;
// Page starts the refused append must put back.
constexpr int kKeptControlStart = 100;
constexpr int kKeptMotorStart = 200;
constexpr int kKeptComStart = 300;

// One voltage class that fits both limits, one that scales the controller's own voltage, one
// that sets the upper limit only, and none.
VoltageOverride OverrideFor(std::size_t selector) {
  switch (selector % 4) {
    case 0:
      return {};
    case 1:
      return {"24", 24};
    case 2:
      return {"80", 0xFFFF};
    default:
      return {"48", 48};
  }
}

std::string Row(int position) {
  return "row " + std::to_string(position);
}

// A validated calibration table must be safe for everything that reads one.
Violation CheckValidatedCalibration(const DescriptionTables& tables,
                                    std::span<const std::uint8_t> text) {
  for (int i = 0; i < tables.paramCount; ++i) {
    const catalogue::ParamItem& item = tables.params[i];
    const bool hasValue = item.pro >= 0 && item.pro <= 2;
    if (hasValue && !pages::ItemLiesInImage(item))
      return "validation passed " + Row(i) + ", which the codec finds outside the image";
  }
  if (!(tables.controlStart < tables.motorStart && tables.motorStart < tables.comStart &&
        tables.comStart <= tables.paramCount)) {
    return "validation passed page starts out of order";
  }
  // The image holds the text's own bytes, so the rows show varied values.
  link::CalibrationImage image = link::FreshImage();
  std::copy_n(text.begin(), std::min(text.size(), image.size()), image.begin());
  for (const cli::ListedRow& row : cli::ListShownRows(tables, image)) {
    if (row.position < 0 || row.position >= tables.paramCount)
      return "the page listing names " + Row(row.position) + ", which is not loaded";
  }
  return std::nullopt;
}

Violation CheckValidatedMonitor(const DescriptionTables& tables,
                                std::span<const std::uint8_t> text) {
  link::MonitorBuffer buffer{};
  std::copy_n(text.begin(), std::min(text.size(), buffer.size()), buffer.begin());
  for (int i = 0; i < tables.monitorCount; ++i)
    monitor::ItemText(tables.monitor[i], buffer);
  // Every fault set: the cursor walks all names and wraps.
  std::uint8_t cursor = 0;
  for (int i = 0; i <= tables.faultCount; ++i) {
    monitor::NextFaultText(0xFFFFFFFFu, tables, cursor);
    if (cursor >= std::max(tables.faultCount, 1))
      return "the fault cursor stands at " + std::to_string(cursor) + " past the names";
  }
  return std::nullopt;
}

// What the parser and the validation made of a calibration text.
struct CalibrationOutcome {
  int rows = -1;  // -1: the parser refused the text
  bool valid = false;
};

Violation CheckCalibration(std::span<const std::uint8_t> text, const VoltageOverride& voltage,
                           CalibrationOutcome& outcome) {
  auto tables = std::make_unique<DescriptionTables>();
  const catalogue::ParseResult parsed = catalogue::ParseCalibrationTable(text, *tables, voltage);
  if (!parsed.ok) {
    if (parsed.error.empty())
      return "a refused calibration text came without a message";
    if (tables->paramCount != 0 || tables->controlStart != 0 || tables->motorStart != 0 ||
        tables->comStart != 0) {
      return "a refused calibration text left rows counted";
    }
    return std::nullopt;
  }
  const int count = tables->paramCount;
  if (count < 0 || count > kParamCapacity)
    return "the calibration table counts " + std::to_string(count) + " rows";
  for (const int start : {tables->controlStart, tables->motorStart, tables->comStart}) {
    if (start < 0 || (start > 0 && start >= count))
      return "a page start " + std::to_string(start) + " lies outside the rows";
  }
  outcome.rows = count;
  const catalogue::ValidationResult valid = catalogue::ValidateCalibrationTable(*tables);
  if (!valid.ok)
    return valid.error.empty() ? Violation("a refused table came without a message") : std::nullopt;
  outcome.valid = true;
  return CheckValidatedCalibration(*tables, text);
}

// The parser appends from paramCount on; a text that does not fit must leave the rows
// already there counted as they were.
Violation CheckAppend(std::span<const std::uint8_t> text, const VoltageOverride& voltage,
                      int firstRows) {
  auto tables = std::make_unique<DescriptionTables>();
  tables->paramCount = kParamCapacity - kFreeRows;
  tables->controlStart = kKeptControlStart;
  tables->motorStart = kKeptMotorStart;
  tables->comStart = kKeptComStart;
  const catalogue::ParseResult parsed = catalogue::ParseCalibrationTable(text, *tables, voltage);
  if (firstRows > kFreeRows && parsed.ok)
    return "a text of " + std::to_string(firstRows) + " rows was appended past the capacity";
  if (!parsed.ok) {
    if (tables->paramCount != kParamCapacity - kFreeRows ||
        tables->controlStart != kKeptControlStart || tables->motorStart != kKeptMotorStart ||
        tables->comStart != kKeptComStart) {
      return "a refused append changed the rows already counted";
    }
    return std::nullopt;
  }
  if (tables->paramCount != kParamCapacity - kFreeRows + firstRows)
    return "the appended text counts another number of rows than alone";
  return std::nullopt;
}

Violation CheckMonitor(std::span<const std::uint8_t> text) {
  auto tables = std::make_unique<DescriptionTables>();
  const catalogue::ParseResult parsed = catalogue::ParseMonitorTable(text, *tables);
  if (!parsed.ok) {
    if (tables->monitorCount != 0 || tables->faultCount != 0)
      return "a refused monitor text left rows counted";
    return std::nullopt;
  }
  if (tables->monitorCount < 0 ||
      tables->monitorCount > static_cast<int>(catalogue::kMonitorCapacity) ||
      tables->faultCount < 0 || tables->faultCount > static_cast<int>(catalogue::kFaultCapacity)) {
    return "the monitor table counts rows beyond its capacity";
  }
  if (!catalogue::ValidateMonitorTable(*tables).ok)
    return std::nullopt;
  return CheckValidatedMonitor(*tables, text);
}

// LoadCalibrationText replaces the calibration rows on success and nothing on failure.
Violation CheckLoad(std::span<const std::uint8_t> text, const VoltageOverride& voltage,
                    const CalibrationOutcome& expected) {
  auto tables = std::make_unique<DescriptionTables>();
  tables->paramCount = 1;
  tables->params[0].name = u"kept";
  tables->calibrationTableId = 165;
  tables->monitorCount = 2;
  tables->faultCount = 3;
  const catalogue::LoadResult loaded = catalogue::LoadCalibrationText(text, *tables, voltage);
  if (tables->monitorCount != 2 || tables->faultCount != 3)
    return "loading a calibration text touched the monitor tables";
  if (loaded.ok() != expected.valid)
    return "LoadCalibrationText and parse plus validation disagree";
  if (!loaded.ok()) {
    if (loaded.error.empty())
      return "a refused load came without a message";
    if (tables->paramCount != 1 || tables->params[0].name != u"kept" ||
        tables->calibrationTableId != 165) {
      return "a refused load changed the tables";
    }
    return std::nullopt;
  }
  if (tables->paramCount != expected.rows || tables->calibrationTableId != 0)
    return "a loaded text left another row count or table id";
  return std::nullopt;
}

}  // namespace

Violation CheckDescriptionTable(std::span<const std::uint8_t> text) {
  const VoltageOverride voltage = OverrideFor(text.size());
  CalibrationOutcome calibration;
  if (Violation v = CheckCalibration(text, voltage, calibration))
    return v;
  if (calibration.rows >= 0) {
    if (Violation v = CheckAppend(text, voltage, calibration.rows))
      return v;
  }
  if (Violation v = CheckMonitor(text))
    return v;
  return CheckLoad(text, voltage, calibration);
}

}  // namespace qelvo::fuzz
