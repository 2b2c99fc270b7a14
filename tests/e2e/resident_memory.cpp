#include "e2e/resident_memory.h"

#include <fstream>
#include <sstream>
#include <string>

namespace qelvo::e2e {

std::optional<long> ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) != 0)
      continue;
    std::istringstream fields(line.substr(6));
    long kilobytes = 0;
    if (fields >> kilobytes)
      return kilobytes;
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace qelvo::e2e
