#include <charconv>
#include <memory>
#include <ostream>

#include "catalogue/builtin_tables.h"
#include "catalogue/loader.h"
#include "catalogue/parser.h"
#include "catalogue/validate.h"
#include "cli/command.h"
#include "cli/messages.h"
#include "cli/text.h"

namespace qelvo::cli {
namespace {

// A table text as one TSV field: tabs and line breaks would break the columns.
std::string Field(std::u16string_view text) {
  std::string out;
  for (char c : ToUtf8(text)) {
    if (c == '\t')
      out += "\\t";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\\')
      out += "\\\\";
    else
      out += c;
  }
  return out;
}

void PrintCalibrationTable(const catalogue::DescriptionTables& tables, std::ostream& out) {
  out << "position\taddress\tpro\tpos\tshow\ten\tsw\tname\trangeL\trangeH\ttips\n";
  for (int i = 0; i < tables.paramCount; ++i) {
    const catalogue::ParamItem& row = tables.params[i];
    out << i << '\t' << row.address << '\t' << row.pro << '\t' << row.pos << '\t' << row.show
        << '\t' << row.en << '\t' << Field(row.sw) << '\t' << Field(row.name) << '\t' << row.rangeL
        << '\t' << row.rangeH << '\t' << Field(row.tips) << '\n';
  }
}

void PrintMonitorTable(const catalogue::DescriptionTables& tables, std::ostream& out) {
  out << "kind\tposition\taddress\tpro\tpos\tsw\tname\tmin\tmax\tshow\trgb\ttips\n";
  for (int i = 0; i < tables.monitorCount; ++i) {
    const catalogue::MonitorItem& row = tables.monitor[i];
    out << "dat\t" << i << '\t' << row.address << '\t' << row.pro << '\t' << row.pos << '\t'
        << Field(row.sw) << '\t' << Field(row.name) << '\t' << row.min << '\t' << row.max << '\t'
        << static_cast<int>(row.show) << '\t' << row.rgb << '\t' << Field(row.tips) << '\n';
  }
  // An [Err] row has only its bit (in the address column) and its name.
  for (int i = 0; i < tables.faultCount; ++i) {
    const catalogue::FaultName& row = tables.faults[i];
    out << "err\t" << i << '\t' << row.bit << "\t\t\t\t" << Field(row.name) << "\t\t\t\t\t\n";
  }
}

bool ParseNumber(const std::string& text, int& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

int RunTable(CommandContext& context) {
  int id = 0;
  bool haveId = false;
  catalogue::VoltageOverride voltage;
  bool voltageGiven = false;
  const auto& words = context.words;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (words[i] == "--voltage" && i + 1 < words.size()) {
      voltage.voltageClass = words[++i];
      voltageGiven = true;
      if (voltage.voltageClass.size() > 2)
        return UsageError(context, "table", "a voltage class has at most two characters");
    } else if (words[i] == "--controller-voltage" && i + 1 < words.size()) {
      int value = 0;
      if (!ParseNumber(words[++i], value) || value < 0 || value > 0xFFFF)
        return UsageError(context, "table", "--controller-voltage needs a number 0..65535");
      voltage.controllerVoltage = static_cast<std::uint16_t>(value);
    } else if (!haveId && ParseNumber(words[i], id)) {
      haveId = true;
    } else {
      return UsageError(context, "table", "unexpected '" + words[i] + "'");
    }
  }
  if (!haveId)
    return UsageError(context, "table", "needs a table ID");
  const auto text = catalogue::BuiltinTableText(id);
  if (text.empty()) {
    context.err << "There is no built-in description table " << id
                << " (137, 140, 153, 158, 159, 162, 165).\n";
    return kExitFailure;
  }

  auto tables = std::make_unique<catalogue::DescriptionTables>();
  if (id == catalogue::kMonitorTableId) {
    if (voltageGiven)
      return UsageError(context, "table", "--voltage applies to calibration tables only");
    const catalogue::ParseResult parsed = catalogue::ParseMonitorTable(text, *tables);
    const catalogue::ValidationResult valid =
        parsed.ok ? catalogue::ValidateMonitorTable(*tables) : catalogue::ValidationResult{};
    if (!parsed.ok || !valid.ok) {
      context.err << (parsed.ok ? valid.error : parsed.error) << "\n";
      return kExitFailure;
    }
    PrintMonitorTable(*tables, context.out);
    return kExitSuccess;
  }
  // Without --voltage no class matches, so rows 25 and 27 keep the table's own limits.
  const catalogue::LoadResult loaded = catalogue::LoadCalibrationText(text, *tables, voltage);
  if (!loaded.ok()) {
    context.err << loaded.error << "\n";
    return kExitFailure;
  }
  PrintCalibrationTable(*tables, context.out);
  return kExitSuccess;
}

}  // namespace qelvo::cli
