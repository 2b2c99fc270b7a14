#include <array>
#include <string>

#include "link/commands.h"
#include "seeds/seed_set.h"
#include "sim/default_image.h"
#include "sim/identity.h"

namespace qelvo::fuzz {

namespace {

struct ImageSeed {
  const char* name;
  sim::Identity identity;
};

}  // namespace

std::vector<Seed> ImageFileSeeds() {
  // One controller per built-in table, one whose COM page is hidden, one unknown family.
  const std::array<ImageSeed, 8> identities{{
      {"qv_0109", {"QV", 0x0109, "48", 48, "", ""}},
      {"qv_0106", {"QV", 0x0106, "72", 72, "", ""}},
      {"qv_0105", {"QV", 0x0105, "24", 24, "", ""}},
      {"qv_0104", {"QV", 0x0104, "80", 96, "", ""}},
      {"rn_0102", {"RN", 0x0102, "96", 96, "", ""}},
      {"rn_0101", {"RN", 0x0101, "12", 120, "2Q", ""}},
      {"qv_0103", {"QV", 0x0103, "48", 48, "", ""}},
      {"xx_0109", {"XX", 0x0109, "48", 48, "", "UNKNOWN"}},
  }};
  std::vector<Seed> seeds;
  for (const ImageSeed& seed : identities) {
    const link::CalibrationImage image = sim::DefaultImage(seed.identity);
    seeds.push_back({seed.name, {image.begin(), image.end()}});
  }
  const link::CalibrationImage fresh = link::FreshImage();
  seeds.push_back({"short", {fresh.begin(), fresh.end() - 1}});
  std::vector<std::uint8_t> longer(fresh.begin(), fresh.end());
  longer.push_back(0);
  seeds.push_back({"long", longer});
  return seeds;
}

}  // namespace qelvo::fuzz
