#include "pages/page_rows.h"

#include <algorithm>

#include "catalogue/validate.h"

namespace qelvo::pages {

std::optional<int> SlotOfEdit(int id) {
  if (id < kFirstEditId || (id - kFirstEditId) % kSlotIdStep != 0)
    return std::nullopt;
  return (id - kFirstEditId) / kSlotIdStep;
}

int LastHelpEditId(PageKind kind) {
  return kind == PageKind::Vehicle ? kVehicleLastHelpEditId : kPageLastHelpEditId;
}

namespace {

int LoadedRows(const catalogue::DescriptionTables& tables) {
  return std::clamp(tables.paramCount, 0, static_cast<int>(tables.params.size()));
}

RowRange Clamped(int begin, int end, int loaded) {
  begin = std::clamp(begin, 0, loaded);
  end = std::clamp(end, begin, loaded);
  return {begin, end};
}

}  // namespace

RowRange SlotRowRange(PageKind kind, const catalogue::DescriptionTables& tables) {
  const int loaded = LoadedRows(tables);
  switch (kind) {
    case PageKind::Vehicle:
      return Clamped(catalogue::kFlagRows, tables.controlStart, loaded);
    case PageKind::Control:
      return Clamped(tables.controlStart, tables.motorStart, loaded);
    case PageKind::Motor:
      return Clamped(tables.motorStart, tables.comStart, loaded);
    case PageKind::Com:
      return Clamped(tables.comStart, loaded, loaded);
  }
  return {};
}

RowRange FlagRowRange(const catalogue::DescriptionTables& tables) {
  return Clamped(0, std::min(catalogue::kFlagRows, tables.controlStart), LoadedRows(tables));
}

std::vector<int> ShownRows(const catalogue::DescriptionTables& tables, RowRange range, int limit) {
  std::vector<int> rows;
  for (int row = range.begin; row < range.end && static_cast<int>(rows.size()) < limit; ++row)
    if (tables.params[row].show == 1)
      rows.push_back(row);
  return rows;
}

}  // namespace qelvo::pages
