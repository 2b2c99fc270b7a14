#pragma once

#include <cstdint>
#include <span>

#include "harness/violation.h"

namespace qelvo::fuzz {

// Reads the data as a backup's text: a refused text says why; an accepted one, written out
// again, reads back to the same bytes. And a backup written of the data's first
// 512 bytes (whatever they are) reads back to them.
Violation CheckBackupFile(std::span<const std::uint8_t> data);

}  // namespace qelvo::fuzz
