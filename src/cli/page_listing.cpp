#include "cli/page_listing.h"

#include <array>

#include "catalogue/validate.h"
#include "cli/text.h"
#include "pages/item_codec.h"
#include "pages/page_rows.h"

namespace qelvo::cli {
namespace {

struct PageName {
  pages::PageKind kind;
  const char* name;
  int slots;
};
constexpr std::array<PageName, 4> kPages{{
    {pages::PageKind::Vehicle, "Vehicle", catalogue::kVehicleSlots},
    {pages::PageKind::Control, "Control", catalogue::kPageSlots},
    {pages::PageKind::Motor, "Motor", catalogue::kPageSlots},
    {pages::PageKind::Com, "COM", catalogue::kPageSlots},
}};
constexpr int kFlagBoxes = 16;

ListedRow Listed(const catalogue::DescriptionTables& tables, int row, const char* page) {
  const catalogue::ParamItem& item = tables.params[row];
  ListedRow listed;
  listed.position = row;
  listed.page = page;
  listed.caption = ToUtf8(item.name);
  listed.rangeL = item.rangeL;
  listed.rangeH = item.rangeH;
  listed.editable = item.en != 0;
  return listed;
}

}  // namespace

std::vector<ListedRow> ListShownRows(const catalogue::DescriptionTables& tables,
                                     const link::CalibrationImage& image) {
  std::vector<ListedRow> rows;
  const pages::ConstImage bytes(image);
  for (int row : pages::ShownRows(tables, pages::FlagRowRange(tables), kFlagBoxes)) {
    ListedRow listed = Listed(tables, row, "Vehicle");
    listed.flag = true;
    if (tables.params[row].pro == 0)
      listed.value = std::to_string(pages::ReadFlagBit(bytes, tables.params[row]));
    rows.push_back(std::move(listed));
  }
  for (const PageName& page : kPages) {
    for (int row : pages::ShownRows(tables, pages::SlotRowRange(page.kind, tables), page.slots)) {
      ListedRow listed = Listed(tables, row, page.name);
      if (auto text = pages::FormatItemValue(bytes, tables.params[row]))
        listed.value = ToUtf8(*text);
      rows.push_back(std::move(listed));
    }
  }
  return rows;
}

}  // namespace qelvo::cli
