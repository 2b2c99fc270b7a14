// Writes the seeds of every fuzz target into DIR/<target>/, the starting corpus of a run.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "harness/fuzz_targets.h"
#include "seeds/seed_set.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  const std::filesystem::path root = argv[1];
  for (const qelvo::fuzz::FuzzTarget& target : qelvo::fuzz::kFuzzTargets) {
    const std::filesystem::path folder = root / std::string(target.name);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
      std::fprintf(stderr, "cannot create %s: %s\n", folder.c_str(), error.message().c_str());
      return 1;
    }
    for (const qelvo::fuzz::Seed& seed : qelvo::fuzz::SeedsFor(target.name)) {
      std::ofstream file(folder / seed.name, std::ios::binary | std::ios::trunc);
      file.write(reinterpret_cast<const char*>(seed.bytes.data()),
                 static_cast<std::streamsize>(seed.bytes.size()));
      if (!file) {
        std::fprintf(stderr, "cannot write %s/%s\n", folder.c_str(), seed.name.c_str());
        return 1;
      }
    }
  }
  return 0;
}
