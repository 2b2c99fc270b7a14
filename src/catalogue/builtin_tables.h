#pragma once

#include <cstdint>
#include <span>

namespace qelvo::catalogue {

inline constexpr int kMonitorTableId = 137;

// The GBK bytes of a built-in description table (137, 140, 153, 158, 159, 162, 165), end
// mark included; empty for an unknown id.
std::span<const std::uint8_t> BuiltinTableText(int id);

}  // namespace qelvo::catalogue
