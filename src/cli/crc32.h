#pragma once

#include <cstdint>
#include <span>

namespace qelvo::cli {

// The CRC-32 of zip, PNG and Ethernet (reflected polynomial 0xEDB88320, initial value and
// final mask all ones): "123456789" gives 0xCBF43926, so any tool can check a backup.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

}  // namespace qelvo::cli
