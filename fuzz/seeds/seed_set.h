#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qelvo::fuzz {

// A starting input of a fuzz target, made from the program's own data so that it follows the
// tables and the simulated controller as they change.
struct Seed {
  std::string name;
  std::vector<std::uint8_t> bytes;
};

// The seeds of the target of this name (see kFuzzTargets); none for an unknown name.
std::vector<Seed> SeedsFor(std::string_view target);

std::vector<Seed> DescriptionTableSeeds();
std::vector<Seed> PacketStreamSeeds();
std::vector<Seed> RowCollectionSeeds();
std::vector<Seed> ImageFileSeeds();
std::vector<Seed> SimRequestsSeeds();
std::vector<Seed> BackupFileSeeds();

}  // namespace qelvo::fuzz
