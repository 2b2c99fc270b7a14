#pragma once

#include <cstdint>
#include <vector>

#include "catalogue/tables.h"
#include "pages/page_rows.h"
#include "ui/dialog.h"

namespace qelvo::e2e {

// A row of a parameter page that takes a decimal number from the user, with the values it
// accepts that its bytes can also hold (a one-byte row of range 0~300 keeps only 0..255).
struct EditableRow {
  int editId = 0;
  catalogue::ParamItem item;
  std::int32_t low = 0;
  std::int32_t high = 0;
};

// The page's editable decimal rows, in slot order.
std::vector<EditableRow> EditableRows(const catalogue::DescriptionTables& tables,
                                      pages::PageKind kind, const ui::DialogTemplate& tmpl);

}  // namespace qelvo::e2e
