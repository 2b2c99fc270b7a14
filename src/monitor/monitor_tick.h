#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "catalogue/tables.h"
#include "link/commands.h"
#include "link/packet.h"
#include "monitor/monitor_controls.h"

namespace qelvo::monitor {

inline constexpr std::u16string_view kAnsweredText = u"Success!";
inline constexpr std::u16string_view kNotAnsweredText = u"Failure!";

// What one tick has to show: the status box and the edit of each item slot.
struct TickTexts {
  bool answered = false;  // Monitor block 1 was answered
  std::u16string status;
  int itemCount = 0;  // items[0 .. itemCount) belong to the table's items
  // Empty: the edit keeps its text.
  std::array<std::optional<std::u16string>, kItemSlots> items;
};

// The monitor's state across ticks and one tick's work, without threads or dialogs.
class MonitorTick {
 public:
  // Runs the three monitor exchanges and builds the texts of the table's items from the
  // monitor buffer. Failed blocks leave their third of the buffer as it was.
  TickTexts RunTick(link::Link& link, const catalogue::DescriptionTables& tables);

  std::uint8_t counter() const { return counter_; }
  std::uint8_t faultCursor() const { return faultCursor_; }
  bool answered() const { return answered_; }
  const link::MonitorBuffer& buffer() const { return buffer_; }

 private:
  std::uint8_t counter_ = 0;  // wraps from 255 to 0 and is never reset
  std::uint8_t faultCursor_ = 0;
  bool answered_ = false;
  link::MonitorBuffer buffer_{};
};

// The number of the table's items that have an item slot.
int SlottedItemCount(const catalogue::DescriptionTables& tables);

}  // namespace qelvo::monitor
