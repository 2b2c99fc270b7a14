#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "catalogue/tables.h"

namespace qelvo::fuzz {

// One row collection case as the fuzz data lays it out: the row, the image around it, a
// number and a flag bit to store, and the text typed into the row's edit.
struct RowCase {
  catalogue::ParamItem item;
  std::uint8_t fill = 0xFF;            // every image byte but the row's
  std::vector<std::uint8_t> rowBytes;  // from the row's address on, at most 24
  std::int32_t number = 0;
  int bit = 0;
  bool pairs = false;  // the text came as UTF-16LE pairs, not one character per byte
  std::u16string text;
};

RowCase DecodeRowCase(std::span<const std::uint8_t> data);
// The data that decodes to `rowCase` (pro, code, address and pos as the decoder offers them).
std::vector<std::uint8_t> EncodeRowCase(const RowCase& rowCase);

}  // namespace qelvo::fuzz
