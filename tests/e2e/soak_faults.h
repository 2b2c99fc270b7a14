#pragma once

#include <chrono>
#include <random>
#include <string>

#include "sim/faults.h"

namespace qelvo::e2e {

// The exchanges of the operation a fault is chosen for.
enum class Exchanges { kRead, kWrite, kMonitor };

// A fault for one operation: one kind of misbehaviour scoped to some requests of one of the
// operation's commands, or the port going away.
struct SoakFault {
  sim::Faults faults;
  // Above zero: the port goes away for this long as the operation starts.
  std::chrono::milliseconds vanishNow{0};
  std::string what;
};

SoakFault RandomFault(std::mt19937& random, Exchanges exchanges);

}  // namespace qelvo::e2e
