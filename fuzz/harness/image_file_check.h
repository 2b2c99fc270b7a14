#pragma once

#include <cstdint>
#include <span>

#include "harness/violation.h"

namespace qelvo::fuzz {

// Offers the data as an image file to ReadImageFile and to `qelvo show --image FILE`: an
// exact 512-byte file is read as it is, anything else is refused with a message, and the
// command either shows the image or says why it cannot.
Violation CheckImageFile(std::span<const std::uint8_t> data);

}  // namespace qelvo::fuzz
