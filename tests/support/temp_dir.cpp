#include "support/temp_dir.h"

#include <stdlib.h>

#include <string>

namespace qelvo::test_support {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qelvo-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) != nullptr) {
    path_ = pattern;
  }
}

TempDir::~TempDir() {
  if (!path_.empty()) {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
}

}  // namespace qelvo::test_support
