#pragma once

#include <optional>
#include <vector>

#include "catalogue/tables.h"

namespace qelvo::pages {

// Which rows of the ParamTable a page shows.
enum class PageKind { Vehicle, Control, Motor, Com };

// Control ids every parameter page shares: item slot s is label 1010 + 2s and edit
// 1011 + 2s; the tips area sits at the foot of the page.
inline constexpr int kTipsAreaId = 1001;
inline constexpr int kFirstLabelId = 1010;
inline constexpr int kFirstEditId = 1011;
inline constexpr int kSlotIdStep = 2;

constexpr int LabelId(int slot) {
  return kFirstLabelId + kSlotIdStep * slot;
}
constexpr int EditId(int slot) {
  return kFirstEditId + kSlotIdStep * slot;
}
// The slot whose edit has this id; empty for any other id.
std::optional<int> SlotOfEdit(int id);

// The last edit whose focus shows a help text: all 33 on the Vehicle page, but on the three
// larger pages the edit of slot 47 (1105) shows none.
inline constexpr int kVehicleLastHelpEditId = 1075;
inline constexpr int kPageLastHelpEditId = 1103;
int LastHelpEditId(PageKind kind);

// Rows [begin, end) of the ParamTable.
struct RowRange {
  int begin = 0;
  int end = 0;
};

// The rows whose shown items take the page's item slots (Vehicle: from row 16 on). Clamped
// to the loaded rows, so start rows out of order give an empty range, never a wrong one.
RowRange SlotRowRange(PageKind kind, const catalogue::DescriptionTables& tables);
// The Vehicle page's flag rows: 0..15, as far as the page's rows reach.
RowRange FlagRowRange(const catalogue::DescriptionTables& tables);

// Table indexes of the rows of `range` whose show is 1, in table order, at most `limit`
// (the slots or boxes the template has).
std::vector<int> ShownRows(const catalogue::DescriptionTables& tables, RowRange range, int limit);

}  // namespace qelvo::pages
