#pragma once

#include <cstdint>
#include <span>

#include "harness/violation.h"

namespace qelvo::fuzz {

// Feeds one text to the calibration and monitor table parsers, their validation and
// LoadCalibrationText, and hands every table that passed validation to the code that reads
// tables (page listing, codec, monitor texts).
Violation CheckDescriptionTable(std::span<const std::uint8_t> text);

}  // namespace qelvo::fuzz
