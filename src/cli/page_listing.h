#pragma once

#include <string>
#include <vector>

#include "catalogue/tables.h"
#include "link/commands.h"

namespace qelvo::cli {

// One shown row of a page as the page shows it.
struct ListedRow {
  int position = 0;  // in the ParamTable
  std::string page;  // "Vehicle", "Control", "Motor", "COM"
  std::string caption;
  std::string value;  // the edit's text, or 0 / 1 for a flag; empty when it has no format
  std::int32_t rangeL = 0;
  std::int32_t rangeH = 0;
  bool editable = false;
  bool flag = false;
};

// Every shown row of the four pages in page order (the Vehicle flags first), UTF-8.
std::vector<ListedRow> ListShownRows(const catalogue::DescriptionTables& tables,
                                     const link::CalibrationImage& image);

}  // namespace qelvo::cli
