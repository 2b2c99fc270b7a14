#pragma once

#include <optional>
#include <string>

namespace qelvo::fuzz {

// What an input made the code under test do wrong, or nothing when it behaved.
using Violation = std::optional<std::string>;

}  // namespace qelvo::fuzz
