#include <cstddef>
#include <cstdint>

#include "fuzzer_entry.h"
#include "harness/backup_file_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return qelvo::fuzz::RunFuzzCheck(qelvo::fuzz::CheckBackupFile, data, size);
}
