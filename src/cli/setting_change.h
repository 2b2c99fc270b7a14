#pragma once

#include <string>
#include <string_view>

#include "catalogue/tables.h"
#include "cli/page_listing.h"
#include "link/commands.h"

namespace qelvo::cli {

struct SettingChange {
  bool applied = false;
  std::string oldValue;  // as the page shows it
  std::string newValue;
  std::string refusal;  // why the value was not taken, when not applied
};

// Takes a typed value (UTF-8) into the row's bytes by the rules of the page's collection: a
// flag takes 0 or 1, any other row its edit's text with the row's range check. A read-only
// row, a row without a value and a refused value leave the image as it was.
SettingChange ApplySetting(const catalogue::DescriptionTables& tables, const ListedRow& row,
                           std::string_view value, link::CalibrationImage& image);

}  // namespace qelvo::cli
