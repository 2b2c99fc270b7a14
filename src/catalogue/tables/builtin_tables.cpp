#include "catalogue/builtin_tables.h"

#include <array>

#include "catalogue/tables/embedded_tables.h"

namespace qelvo::catalogue {

namespace {

struct BuiltinTable {
  int id;
  std::span<const std::uint8_t> (*text)();
};

// The ids under which the controller software's tables have always been stored.
constexpr std::array<BuiltinTable, 7> kBuiltinTables{{
    {kMonitorTableId, tables::Monitor137Text},
    {140, tables::Calibration140Text},
    {153, tables::Calibration153Text},
    {158, tables::Calibration158Text},
    {159, tables::Calibration159Text},
    {162, tables::Calibration162Text},
    {165, tables::Calibration165Text},
}};

}  // namespace

std::span<const std::uint8_t> BuiltinTableText(int id) {
  for (const BuiltinTable& table : kBuiltinTables) {
    if (table.id == id) {
      return table.text();
    }
  }
  return {};
}

}  // namespace qelvo::catalogue
