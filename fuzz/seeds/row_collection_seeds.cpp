#include <array>
#include <memory>
#include <set>
#include <string>
#include <tuple>

#include "catalogue/builtin_tables.h"
#include "catalogue/parser.h"
#include "harness/row_case.h"
#include "pages/item_codec.h"
#include "seeds/seed_set.h"
#include "sim/default_image.h"
#include "sim/identity.h"

namespace qelvo::fuzz {

namespace {

struct TableImage {
  int tableId;
  sim::Identity identity;
};

constexpr std::size_t kRowBytes = 24;

std::u16string Widen(const std::string& ascii) {
  return {ascii.begin(), ascii.end()};
}

bool IsByteText(const std::u16string& text) {
  for (const char16_t c : text) {
    if (c > 0xFF)
      return false;
  }
  return true;
}

}  // namespace

// Every kind of row the built-in tables have (pro, pos, code, editable), with the bytes the
// simulated controller holds there: the edit as shown, and the range's upper end and one past.
std::vector<Seed> RowCollectionSeeds() {
  const std::array<TableImage, 6> tables{{
      {165, {"QV", 0x0109, "48", 48, "", ""}},
      {162, {"QV", 0x0106, "48", 48, "", ""}},
      {153, {"QV", 0x0105, "48", 48, "", ""}},
      {140, {"QV", 0x0104, "48", 48, "", ""}},
      {159, {"RN", 0x0102, "48", 48, "", ""}},
      {158, {"RN", 0x0101, "48", 48, "", ""}},
  }};
  std::set<std::tuple<int, int, std::u16string, int>> kinds;
  std::vector<Seed> seeds;
  for (const TableImage& table : tables) {
    auto parsed = std::make_unique<catalogue::DescriptionTables>();
    if (!catalogue::ParseCalibrationTable(catalogue::BuiltinTableText(table.tableId), *parsed, {})
             .ok)
      continue;
    const link::CalibrationImage image = sim::DefaultImage(table.identity);
    for (int i = 0; i < parsed->paramCount; ++i) {
      const catalogue::ParamItem& item = parsed->params[i];
      if (!kinds.insert({item.pro, item.pos, item.sw, item.en}).second)
        continue;
      RowCase rowCase;
      rowCase.item = item;
      rowCase.fill = 0xFF;
      for (std::size_t k = 0; k < kRowBytes && item.address + k < image.size(); ++k)
        rowCase.rowBytes.push_back(image[item.address + k]);
      rowCase.number = item.rangeH;
      rowCase.bit = 1;
      const std::string name =
          "table_" + std::to_string(table.tableId) + "_row_" + std::to_string(i);
      const auto shown = pages::FormatItemValue(pages::ConstImage(image), item);
      const std::array<std::pair<const char*, std::u16string>, 3> texts{{
          {"_shown", shown.value_or(u"")},
          {"_high", Widen(std::to_string(item.rangeH))},
          {"_past", Widen(std::to_string(std::int64_t{item.rangeH} + 1))},
      }};
      for (const auto& [suffix, text] : texts) {
        rowCase.text = text;
        rowCase.pairs = !IsByteText(text);
        seeds.push_back({name + suffix, EncodeRowCase(rowCase)});
      }
    }
  }
  return seeds;
}

}  // namespace qelvo::fuzz
