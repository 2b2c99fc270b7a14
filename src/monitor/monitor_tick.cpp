#include "monitor/monitor_tick.h"

#include <algorithm>

#include "monitor/fault_text.h"
#include "monitor/item_text.h"

namespace qelvo::monitor {

int SlottedItemCount(const catalogue::DescriptionTables& tables) {
  const int capacity = static_cast<int>(tables.monitor.size());
  return std::clamp(tables.monitorCount, 0, std::min(capacity, kItemSlots));
}

TickTexts MonitorTick::RunTick(link::Link& link, const catalogue::DescriptionTables& tables) {
  ++counter_;
  answered_ = link.port != nullptr && link::ExchangeMonitorBlocks(link, buffer_);

  TickTexts texts;
  texts.answered = answered_;
  texts.status = answered_ ? kAnsweredText : kNotAnsweredText;
  texts.itemCount = SlottedItemCount(tables);
  const bool faultTextDue = counter_ % kFaultTextTicks == 0;
  for (int i = 0; i < texts.itemCount; ++i) {
    const catalogue::MonitorItem& item = tables.monitor[i];
    if (!IsFaultWordItem(item)) {
      texts.items[i] = ItemText(item, buffer_);
      continue;
    }
    if (!faultTextDue)
      continue;
    if (const auto faultWord = FaultWordValue(item, buffer_))
      texts.items[i] = NextFaultText(*faultWord, tables, faultCursor_);
  }
  return texts;
}

}  // namespace qelvo::monitor
