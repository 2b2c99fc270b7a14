#pragma once

#include "catalogue/validate.h"

namespace qelvo::monitor {

// Control ids of template 110. Item slot s is label kFirstLabelId + 2s and edit
// kFirstEditId + 2s; slot 47 is taken by the status row, so 47 items have slots.
inline constexpr int kTipsAreaId = 1001;
inline constexpr int kFirstLabelId = 1010;
inline constexpr int kFirstEditId = 1011;
inline constexpr int kLastItemEditId = 1103;
inline constexpr int kStatusLabelId = 1104;
inline constexpr int kStatusBoxId = 1105;
inline constexpr int kItemSlots = catalogue::kMonitorSlots;

constexpr int LabelIdOfSlot(int slot) {
  return kFirstLabelId + 2 * slot;
}
constexpr int EditIdOfSlot(int slot) {
  return kFirstEditId + 2 * slot;
}

static_assert(EditIdOfSlot(kItemSlots - 1) == kLastItemEditId);
static_assert(LabelIdOfSlot(kItemSlots) == kStatusLabelId);

}  // namespace qelvo::monitor
