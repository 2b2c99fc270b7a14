#include "cli/setting_name.h"

#include <charconv>
#include <optional>

namespace qelvo::cli {
namespace {

constexpr char kAddressMark = '@';
constexpr char kBitMark = '.';
constexpr std::int32_t kFlagItem = 0;

struct Address {
  int offset = 0;
  std::optional<int> bit;
};

bool ParseWhole(std::string_view text, int& value) {
  if (text.empty() || text.front() == '-' || text.front() == '+')
    return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

// "@37" or "@20.3", decimal.
std::optional<Address> ParseAddress(std::string_view text) {
  Address address;
  const std::size_t dot = text.find(kBitMark);
  if (!ParseWhole(text.substr(0, dot), address.offset))
    return std::nullopt;
  if (dot != std::string_view::npos) {
    int bit = 0;
    if (!ParseWhole(text.substr(dot + 1), bit))
      return std::nullopt;
    address.bit = bit;
  }
  return address;
}

std::string AddressOf(const catalogue::ParamItem& item) {
  std::string text = kAddressMark + std::to_string(item.address);
  if (item.pro == kFlagItem)
    text += kBitMark + std::to_string(item.pos);
  return text;
}

SettingLookup Ambiguous(const catalogue::DescriptionTables& tables,
                        const std::vector<const ListedRow*>& found, std::string_view name) {
  std::string error = "'" + std::string(name) + "' names " + std::to_string(found.size()) +
                      " shown settings; give one by its address:";
  for (const ListedRow* row : found)
    error += " " + AddressOf(tables.params[row->position]);
  return {nullptr, error};
}

SettingLookup FindByAddress(const catalogue::DescriptionTables& tables,
                            const std::vector<ListedRow>& rows, std::string_view name) {
  const std::optional<Address> address = ParseAddress(name.substr(1));
  if (!address)
    return {nullptr,
            "'" + std::string(name) + "' is no address: give @ADDRESS or @ADDRESS.BIT, in decimal"};
  std::vector<const ListedRow*> found;
  bool flagsThere = false;
  for (const ListedRow& row : rows) {
    const catalogue::ParamItem& item = tables.params[row.position];
    if (item.address != address->offset)
      continue;
    const bool flag = item.pro == kFlagItem;
    flagsThere = flagsThere || flag;
    if (flag == address->bit.has_value() && (!flag || item.pos == *address->bit))
      found.push_back(&row);
  }
  if (found.size() == 1)
    return {found.front(), {}};
  if (found.size() > 1)
    return Ambiguous(tables, found, name);
  if (flagsThere && !address->bit)
    return {nullptr, "Byte " + std::to_string(address->offset) +
                         " holds flags: name one by its bit, such as @" +
                         std::to_string(address->offset) + ".0"};
  return {nullptr, "No shown setting lies at " + std::string(name) + "."};
}

}  // namespace

SettingLookup FindShownSetting(const catalogue::DescriptionTables& tables,
                               const std::vector<ListedRow>& rows, std::string_view name) {
  if (!name.empty() && name.front() == kAddressMark)
    return FindByAddress(tables, rows, name);
  std::vector<const ListedRow*> found;
  for (const ListedRow& row : rows)
    if (row.caption == name)
      found.push_back(&row);
  if (found.size() == 1)
    return {found.front(), {}};
  if (found.size() > 1)
    return Ambiguous(tables, found, name);
  return {nullptr,
          "No shown setting is called '" + std::string(name) + "'; 'qelvo show' lists them."};
}

}  // namespace qelvo::cli
