#include <cstddef>
#include <cstdint>

#include "fuzzer_entry.h"
#include "harness/description_table_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return qelvo::fuzz::RunFuzzCheck(qelvo::fuzz::CheckDescriptionTable, data, size);
}
