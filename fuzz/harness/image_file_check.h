#pragma once

#include <cstdint>
#include <span>

#include "harness/violation.h"

namespace qelvo::fuzz {

// Offers the data as a file to ReadImageFile, ReadImageOrBackup and `qelvo show --image FILE`:
// an exact 512-byte file or a sound backup is read as it is, anything else is refused with a
// message, and the command either shows the image or says why it cannot.
Violation CheckImageFile(std::span<const std::uint8_t> data);

}  // namespace qelvo::fuzz
