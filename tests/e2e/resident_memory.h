#pragma once

#include <optional>

namespace qelvo::e2e {

// This process's resident set in kB (VmRSS of /proc/self/status); empty where it cannot be
// read.
std::optional<long> ResidentKilobytes();

}  // namespace qelvo::e2e
