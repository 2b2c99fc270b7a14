#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/tables.h"

namespace qelvo::monitor::testing {

inline catalogue::MonitorItem Item(std::int32_t address, std::int32_t pro, std::int32_t pos,
                                   std::u16string sw, std::u16string name = u"Item",
                                   std::u16string tips = u"") {
  catalogue::MonitorItem item;
  item.address = address;
  item.pro = pro;
  item.pos = pos;
  item.sw = std::move(sw);
  item.name = std::move(name);
  item.tips = std::move(tips);
  return item;
}

// Description tables holding only these monitor items and fault names.
inline std::unique_ptr<catalogue::DescriptionTables> MonitorTables(
    const std::vector<catalogue::MonitorItem>& items, int faultNames = 0) {
  auto tables = std::make_unique<catalogue::DescriptionTables>();
  for (const auto& item : items)
    tables->monitor[tables->monitorCount++] = item;
  for (int bit = 0; bit < faultNames; ++bit) {
    auto& fault = tables->faults[tables->faultCount++];
    fault.bit = bit;
    const std::string name = "Fault " + std::to_string(bit);
    fault.name.assign(name.begin(), name.end());
  }
  return tables;
}

}  // namespace qelvo::monitor::testing
