#pragma once

#include <cstdint>
#include <span>

#include "harness/violation.h"

namespace qelvo::fuzz {

// Builds one row of any pro, pos, code, address and range from the data, types the rest of
// the data into it and runs the row collection and the codec's store, read and format calls;
// none may touch a byte outside the row's own, and an unchanged edit must store unchanged bytes.
Violation CheckRowCollection(std::span<const std::uint8_t> data);

}  // namespace qelvo::fuzz
