#include "cli/hex_dump.h"

#include <cstdio>

namespace qelvo::cli {

std::string HexDump(std::span<const std::uint8_t> bytes) {
  constexpr std::size_t kBytesPerLine = 16;
  std::string out;
  char cell[24];
  for (std::size_t line = 0; line < bytes.size(); line += kBytesPerLine) {
    std::snprintf(cell, sizeof cell, "%04zx:", line);
    out += cell;
    std::string text;
    for (std::size_t i = line; i < line + kBytesPerLine; ++i) {
      if (i < bytes.size()) {
        std::snprintf(cell, sizeof cell, " %02x", bytes[i]);
        out += cell;
        text += (bytes[i] >= 0x20 && bytes[i] < 0x7F) ? static_cast<char>(bytes[i]) : '.';
      } else {
        out += "   ";
      }
    }
    out += "  " + text + "\n";
  }
  return out;
}

}  // namespace qelvo::cli
