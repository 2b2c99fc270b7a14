#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "harness/fuzz_targets.h"
#include "seeds/seed_set.h"

namespace qelvo::fuzz {

// Test names and messages show a target by its name.
void PrintTo(const FuzzTarget& target, std::ostream* out) {
  *out << target.name;
}

namespace {

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The kept inputs of a target in name order; README files describe them and are no input.
std::vector<std::filesystem::path> KeptInputs(std::string_view target) {
  const std::filesystem::path folder =
      std::filesystem::path(QELVO_FUZZ_REGRESSIONS_DIR) / std::string(target);
  std::vector<std::filesystem::path> inputs;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.is_regular_file() && entry.path().extension() != ".md")
      inputs.push_back(entry.path());
  }
  std::ranges::sort(inputs);
  return inputs;
}

class FuzzTargetReplay : public ::testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzTargetReplay, SeedsPassTheCheck) {
  const std::vector<Seed> seeds = SeedsFor(GetParam().name);
  ASSERT_FALSE(seeds.empty());
  for (const Seed& seed : seeds) {
    EXPECT_EQ(GetParam().check(seed.bytes), std::nullopt) << "seed " << seed.name;
  }
}

TEST_P(FuzzTargetReplay, KeptInputsPassTheCheck) {
  for (const std::filesystem::path& input : KeptInputs(GetParam().name)) {
    EXPECT_EQ(GetParam().check(ReadBytes(input)), std::nullopt) << input;
  }
}

INSTANTIATE_TEST_SUITE_P(AllTargets, FuzzTargetReplay, ::testing::ValuesIn(kFuzzTargets),
                         [](const ::testing::TestParamInfo<FuzzTarget>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace qelvo::fuzz
