#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/loader.h"

namespace qelvo::catalogue {

namespace {

// The newest table whose lowest version the controller reaches; rows of a family stand
// from the newest down.
struct TableForVersions {
  std::string_view family;
  std::uint16_t lowestVersion;
  int tableId;
};

constexpr std::array<TableForVersions, 6> kCalibrationTables{{
    {"QV", 0x0109, 165},
    {"QV", 0x0106, 162},
    {"QV", 0x0105, 153},
    {"QV", 0x0104, 140},
    {"RN", 0x0102, 159},
    {"RN", 0x0101, 158},
}};

}  // namespace

TableSelection ChooseCalibrationTable(const std::string& familyCode, std::uint16_t version) {
  bool familyKnown = false;
  for (const TableForVersions& row : kCalibrationTables) {
    if (row.family != familyCode)
      continue;
    familyKnown = true;
    if (version >= row.lowestVersion)
      return {TableChoice::Found, row.tableId};
  }
  return {familyKnown ? TableChoice::VersionNotSupported : TableChoice::ModelNotSupported, 0};
}

}  // namespace qelvo::catalogue
