#pragma once

#include <cstdint>
#include <span>

// The GBK bytes of each built-in table, generated at build time from the .txt beside this
// header by qelvo_embed_table.
namespace qelvo::catalogue::tables {

std::span<const std::uint8_t> Monitor137Text();
std::span<const std::uint8_t> Calibration140Text();
std::span<const std::uint8_t> Calibration153Text();
std::span<const std::uint8_t> Calibration158Text();
std::span<const std::uint8_t> Calibration159Text();
std::span<const std::uint8_t> Calibration162Text();
std::span<const std::uint8_t> Calibration165Text();

}  // namespace qelvo::catalogue::tables
