#include <cstddef>
#include <cstdint>

#include "fuzzer_entry.h"
#include "harness/sim_requests_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return qelvo::fuzz::RunFuzzCheck(qelvo::fuzz::CheckSimRequests, data, size);
}
