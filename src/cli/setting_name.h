#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/tables.h"
#include "cli/page_listing.h"

namespace qelvo::cli {

struct SettingLookup {
  const ListedRow* row = nullptr;  // among the rows searched
  std::string error;               // why no single row, when row is null
};

// The shown row a NAME stands for: its caption exactly as shown (UTF-8), "@ADDRESS" for the
// row whose value starts at that image offset, or "@ADDRESS.BIT" for a flag. A caption that
// two shown rows share is refused with their addresses to choose from.
SettingLookup FindShownSetting(const catalogue::DescriptionTables& tables,
                               const std::vector<ListedRow>& rows, std::string_view name);

}  // namespace qelvo::cli
