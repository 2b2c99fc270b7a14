#include "monitor/fault_text.h"

#include <algorithm>

namespace qelvo::monitor {
namespace {

constexpr int kFaultWordBits = 32;

int NamedBitCount(const catalogue::DescriptionTables& tables) {
  const int capacity = static_cast<int>(tables.faults.size());
  return std::clamp(tables.faultCount, 0, std::min(capacity, kFaultWordBits));
}

}  // namespace

std::optional<std::u16string> NextFaultText(std::uint32_t faultWord,
                                            const catalogue::DescriptionTables& tables,
                                            std::uint8_t& cursor) {
  if (faultWord == 0)
    return std::u16string(kNoFaultText);
  const int named = NamedBitCount(tables);
  std::optional<std::u16string> text;
  for (; cursor < named; ++cursor) {
    if (((faultWord >> cursor) & 1U) != 0) {
      text = tables.faults[cursor].name;
      ++cursor;
      break;
    }
  }
  // At or past the end (also after the names were reloaded shorter): start over at bit 0.
  if (cursor >= named)
    cursor = 0;
  return text;
}

std::vector<std::u16string> ActiveFaultNames(std::uint32_t faultWord,
                                             const catalogue::DescriptionTables& tables) {
  std::vector<std::u16string> names;
  const int named = NamedBitCount(tables);
  for (int bit = 0; bit < named; ++bit)
    if (((faultWord >> bit) & 1U) != 0)
      names.push_back(tables.faults[bit].name);
  return names;
}

}  // namespace qelvo::monitor
