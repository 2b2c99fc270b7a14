#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "catalogue/parser.h"
#include "catalogue/row_lines.h"

namespace qelvo::catalogue {

namespace {

// Rows at these addresses open the Control, Motor and COM pages.
constexpr std::int32_t kControlStartAddress = 128;
constexpr std::int32_t kMotorStartAddress = 256;
constexpr std::int32_t kComStartAddress = 384;

ParamItem ReadParamItem(std::string_view line) {
  ParamItem item;
  item.address = ReadTableNumber(BracketText(line));
  item.pro = ReadTableNumber(FindKeyValue(line, "pro="));
  item.pos = ReadTableNumber(FindKeyValue(line, "pos="));
  item.show = ReadTableNumber(FindKeyValue(line, "show="));
  item.en = ReadTableNumber(FindKeyValue(line, "en="));
  item.sw = GbkToUtf16(FindKeyValue(line, "sw="));
  item.name = GbkToUtf16(FindKeyValue(line, "name="));
  item.rangeL = ReadTableNumber(FindKeyValue(line, "rangeL="));
  item.rangeH = ReadTableNumber(FindKeyValue(line, "rangeH="));
  item.tips = GbkToUtf16(FindKeyValue(line, "tips="));
  return item;
}

}  // namespace

ParseResult ParseCalibrationTable(std::span<const std::uint8_t> text, DescriptionTables& tables,
                                  const VoltageOverride& voltage) {
  if (!HasEndMark(text))
    return {false, "the text has no end mark (\\)"};

  // A refused text leaves the counts as they were, so no half table is ever counted.
  const int firstRow = tables.paramCount;
  const int controlStart = tables.controlStart;
  const int motorStart = tables.motorStart;
  const int comStart = tables.comStart;
  auto refuse = [&](std::string error) {
    tables.paramCount = firstRow;
    tables.controlStart = controlStart;
    tables.motorStart = motorStart;
    tables.comStart = comStart;
    return ParseResult{false, std::move(error)};
  };

  RowLineReader reader(text);
  while (const auto line = reader.Next()) {
    const int position = tables.paramCount;
    if (position < 0 || position >= static_cast<int>(kParamCapacity)) {
      return refuse(RowName("", position, BracketText(*line)) + ": the table holds at most " +
                    std::to_string(kParamCapacity) + " rows");
    }
    ParamItem& item = tables.params[position];
    item = ReadParamItem(*line);
    if (item.address == kControlStartAddress)
      tables.controlStart = position;
    if (item.address == kMotorStartAddress)
      tables.motorStart = position;
    if (item.address == kComStartAddress)
      tables.comStart = position;
    ApplyVoltageOverride(item, voltage);
    tables.paramCount = position + 1;
  }
  return {};
}

}  // namespace qelvo::catalogue
