#include "e2e/editable_rows.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "pages/page_template.h"

namespace qelvo::e2e {

namespace {

constexpr std::int32_t kRangeChecked = 1;

struct Span {
  std::int64_t low;
  std::int64_t high;
};

// What the row's bytes hold as the page shows them; empty for rows that are no plain number.
std::optional<Span> StorableValues(const catalogue::ParamItem& item) {
  const bool isSigned = item.sw == u"so";
  if (!isSigned && item.sw != u"uo")
    return std::nullopt;
  int bytes = 0;
  if (item.pro == 1)
    bytes = 1;
  else if (item.pro == 2 && (item.pos == 1 || item.pos == 3))
    bytes = item.pos + 1;
  else
    return std::nullopt;
  const int bits = 8 * bytes;
  if (isSigned)
    return Span{-(std::int64_t{1} << (bits - 1)), (std::int64_t{1} << (bits - 1)) - 1};
  return Span{0, (std::int64_t{1} << bits) - 1};
}

}  // namespace

std::vector<EditableRow> EditableRows(const catalogue::DescriptionTables& tables,
                                      pages::PageKind kind, const ui::DialogTemplate& tmpl) {
  std::vector<EditableRow> rows;
  const std::vector<int> shown =
      pages::ShownRows(tables, pages::SlotRowRange(kind, tables), pages::TemplateSlotCount(tmpl));
  for (int slot = 0; slot < static_cast<int>(shown.size()); ++slot) {
    const catalogue::ParamItem& item = tables.params[shown[slot]];
    const std::optional<Span> storable = StorableValues(item);
    if (item.en != kRangeChecked || !storable || (item.rangeL < 0 && item.sw == u"uo"))
      continue;
    const std::int64_t low = std::max<std::int64_t>(item.rangeL, storable->low);
    const std::int64_t high = std::min<std::int64_t>(
        {item.rangeH, storable->high, std::numeric_limits<std::int32_t>::max()});
    if (low >= high)
      continue;
    rows.push_back({.editId = pages::EditId(slot),
                    .item = item,
                    .low = static_cast<std::int32_t>(low),
                    .high = static_cast<std::int32_t>(high)});
  }
  return rows;
}

}  // namespace qelvo::e2e
