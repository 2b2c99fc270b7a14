#include "cli/monitor_view.h"

#include <cstdio>

#include "cli/text.h"
#include "monitor/fault_text.h"
#include "monitor/item_text.h"

namespace qelvo::cli {
namespace {

constexpr int kHexDigitsPerByte = 2;

// "0x0009" for a two-byte word: two digits per byte of the item.
std::string FaultWordText(std::uint32_t word, const catalogue::MonitorItem& item) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*x", kHexDigitsPerByte * (item.pos + 1),
                static_cast<unsigned>(word));
  return text;
}

}  // namespace

MonitorView::MonitorView(const catalogue::DescriptionTables& tables) : tables_(tables) {
  const int count = monitor::SlottedItemCount(tables);
  for (int i = 0; i < count; ++i)
    names_.push_back(ToUtf8(tables.monitor[i].name));
  values_.resize(names_.size());
}

void MonitorView::Update(const monitor::TickTexts& texts, const link::MonitorBuffer& buffer) {
  status_ = ToUtf8(texts.status);
  activeFaults_.clear();
  for (std::size_t i = 0; i < values_.size(); ++i) {
    const catalogue::MonitorItem& item = tables_.monitor[i];
    if (!monitor::IsFaultWordItem(item)) {
      if (texts.items[i])
        values_[i] = ToUtf8(*texts.items[i]);
      continue;
    }
    const auto word = monitor::FaultWordValue(item, buffer);
    if (!word)
      continue;
    values_[i] = FaultWordText(*word, item);
    // The last fault item in table order is the one the page marks, so its faults count.
    activeFaults_.clear();
    for (const std::u16string& name : monitor::ActiveFaultNames(*word, tables_))
      activeFaults_.push_back(ToUtf8(name));
  }
}

}  // namespace qelvo::cli
