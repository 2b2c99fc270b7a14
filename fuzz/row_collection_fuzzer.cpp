#include <cstddef>
#include <cstdint>

#include "fuzzer_entry.h"
#include "harness/row_collection_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return qelvo::fuzz::RunFuzzCheck(qelvo::fuzz::CheckRowCollection, data, size);
}
