#include "cli/crc32.h"

#include <array>

namespace qelvo::cli {
namespace {

constexpr std::uint32_t kReflectedPolynomial = 0xEDB88320u;
constexpr std::uint32_t kAllOnes = 0xFFFFFFFFu;
constexpr int kBitsPerByte = 8;

constexpr std::array<std::uint32_t, 256> MakeTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < table.size(); ++n) {
    std::uint32_t c = n;
    for (int bit = 0; bit < kBitsPerByte; ++bit)
      c = (c & 1u) != 0 ? kReflectedPolynomial ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

constexpr std::array<std::uint32_t, 256> kTable = MakeTable();

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  std::uint32_t crc = kAllOnes;
  for (std::uint8_t byte : bytes)
    crc = kTable[(crc ^ byte) & 0xFFu] ^ (crc >> kBitsPerByte);
  return crc ^ kAllOnes;
}

}  // namespace qelvo::cli
