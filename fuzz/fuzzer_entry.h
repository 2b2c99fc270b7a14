#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "harness/violation.h"

namespace qelvo::fuzz {

// Runs one check on libFuzzer's input; a broken rule aborts, so libFuzzer keeps the input.
inline int RunFuzzCheck(Violation (*check)(std::span<const std::uint8_t>), const std::uint8_t* data,
                        std::size_t size) {
  if (const Violation violation = check(std::span<const std::uint8_t>(data, size))) {
    std::fprintf(stderr, "fuzz check failed: %s\n", violation->c_str());
    std::abort();
  }
  return 0;
}

}  // namespace qelvo::fuzz
