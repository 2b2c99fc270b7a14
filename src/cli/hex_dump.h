#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qelvo::cli {

// Sixteen bytes a line: "0000: 41 51 56 ... 38  AQV48...", offsets in hex.
std::string HexDump(std::span<const std::uint8_t> bytes);

}  // namespace qelvo::cli
