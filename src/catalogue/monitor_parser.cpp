#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "catalogue/parser.h"
#include "catalogue/row_lines.h"

namespace qelvo::catalogue {

namespace {

// Section names are matched exactly, case included.
constexpr std::string_view kDataSection = "Dat";
constexpr std::string_view kFaultSection = "Err";

enum class Section { None, Data, Faults };

// The monitor table's show value is kept as one byte.
constexpr std::int32_t kShowMask = 0xFF;

MonitorItem ReadMonitorItem(std::string_view line) {
  MonitorItem item;
  item.address = ReadTableNumber(BracketText(line));
  item.pro = ReadTableNumber(FindKeyValue(line, "pro="));
  item.pos = ReadTableNumber(FindKeyValue(line, "pos="));
  item.sw = GbkToUtf16(FindKeyValue(line, "sw="));
  item.name = GbkToUtf16(FindKeyValue(line, "name="));
  item.min = ReadTableNumber(FindKeyValue(line, "min="));
  item.max = ReadTableNumber(FindKeyValue(line, "max="));
  item.show = static_cast<std::uint8_t>(ReadTableNumber(FindKeyValue(line, "show=")) & kShowMask);
  item.rgb = ReadTableHex(FindKeyValue(line, "rgb="));
  item.tips = GbkToUtf16(FindKeyValue(line, "tips="));
  return item;
}

FaultName ReadFaultName(std::string_view line) {
  FaultName fault;
  fault.bit = ReadTableNumber(BracketText(line));
  fault.name = GbkToUtf16(FindKeyValue(line, "name="));
  return fault;
}

std::string CapacityError(std::string_view section, int position, std::string_view bracket,
                          std::size_t capacity) {
  return RowName(section, position, bracket) + ": the table holds at most " +
         std::to_string(capacity) + " rows";
}

}  // namespace

ParseResult ParseMonitorTable(std::span<const std::uint8_t> text, DescriptionTables& tables) {
  if (!HasEndMark(text))
    return {false, "the text has no end mark (\\)"};

  const int firstItem = tables.monitorCount;
  const int firstFault = tables.faultCount;
  auto refuse = [&](std::string error) {
    tables.monitorCount = firstItem;
    tables.faultCount = firstFault;
    return ParseResult{false, std::move(error)};
  };

  Section section = Section::None;
  RowLineReader reader(text);
  while (const auto line = reader.Next()) {
    const std::string_view tag = BracketText(*line);
    if (tag == kDataSection) {
      section = Section::Data;
    } else if (tag == kFaultSection) {
      section = Section::Faults;
    } else if (section == Section::Data) {
      const int position = tables.monitorCount;
      if (position < 0 || position >= static_cast<int>(kMonitorCapacity)) {
        return refuse(CapacityError("[Dat]", position, tag, kMonitorCapacity));
      }
      tables.monitor[position] = ReadMonitorItem(*line);
      tables.monitorCount = position + 1;
    } else if (section == Section::Faults) {
      const int position = tables.faultCount;
      if (position < 0 || position >= static_cast<int>(kFaultCapacity)) {
        return refuse(CapacityError("[Err]", position, tag, kFaultCapacity));
      }
      tables.faults[position] = ReadFaultName(*line);
      tables.faultCount = position + 1;
    }
  }
  return {};
}

}  // namespace qelvo::catalogue
