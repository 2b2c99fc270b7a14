#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "catalogue/tables.h"
#include "link/commands.h"

namespace qelvo::cli {

// A shown row whose text differs between two images.
struct RowChange {
  std::string page;
  std::string caption;
  std::string before;
  std::string after;
};

struct ImageDifference {
  std::vector<RowChange> rows;
  // Bytes with a difference that no listed row shows: hidden rows, bytes no row describes, and
  // bits of a shown row that its text does not show (a character after the ending 0).
  std::size_t otherBytes = 0;
  bool identical = true;
};

// The shown rows of the two images as `tables` reads them, page by page; without tables,
// every differing byte counts as other.
ImageDifference CompareImages(const catalogue::DescriptionTables* tables,
                              const link::CalibrationImage& before,
                              const link::CalibrationImage& after);

// "  Control / IQ Kp: 1200 -> 1300" per row, `indent` before each line.
void PrintRowChanges(const ImageDifference& difference, std::string_view indent, std::ostream& out);

}  // namespace qelvo::cli
