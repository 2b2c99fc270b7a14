#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Builds small calibration table texts in the form of the built-in tables.
namespace qelvo::testing {

struct TableRow {
  int address = 0;
  int pro = 1;
  int pos = 0;
  int show = 0;
  int en = 0;
  std::string sw = "uo";
  std::string name = "Reserved";
  int rangeL = 0;
  int rangeH = 255;
  std::string tips = "Reserved";
};

inline std::string RowText(const TableRow& row) {
  char bracket[16];
  std::snprintf(bracket, sizeof bracket, "[%03d]#", row.address);
  return std::string(bracket) + "\tpro=" + std::to_string(row.pro) +
         "#\tpos=" + std::to_string(row.pos) + "#\tshow=" + std::to_string(row.show) +
         "#\ten=" + std::to_string(row.en) + "#\tsw=" + row.sw + "#\tname=" + row.name +
         "#\trangeL=" + std::to_string(row.rangeL) + "#\trangeH=" + std::to_string(row.rangeH) +
         "#\ttips=" + row.tips + "#\r\n";
}

inline TableRow FlagRow(int address, int bit) {
  return {address, 0, bit, 1, 1, "uo", "Flag", 0, 1, "0:disable,1:enable"};
}

// The smallest table that loads: the 16 flag rows, the module name and one row opening
// each of the Control, Motor and COM pages (positions 17, 18 and 19).
inline std::vector<TableRow> MinimalRows() {
  std::vector<TableRow> rows;
  for (int bit = 0; bit < 8; ++bit)
    rows.push_back(FlagRow(20, bit));
  for (int bit = 0; bit < 8; ++bit)
    rows.push_back(FlagRow(21, bit));
  rows.push_back({0, 2, 7, 1, 0, "a", "Module Name", 0, 0, "Module Name,No range"});
  rows.push_back({128, 1, 0, 1, 1, "uo", "Control First", 0, 255, "first"});
  rows.push_back({256, 1, 0, 1, 1, "uo", "Motor First", 0, 255, "first"});
  rows.push_back({384, 1, 0, 0, 0, "uo", "COM First", 0, 255, "first"});
  return rows;
}

inline std::vector<std::uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

inline std::vector<std::uint8_t> TableText(const std::vector<TableRow>& rows) {
  std::string text;
  for (const TableRow& row : rows)
    text += RowText(row);
  text += "\\\r\n\r\n";
  return Bytes(text);
}

}  // namespace qelvo::testing
