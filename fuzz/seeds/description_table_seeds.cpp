#include <array>
#include <string>

#include "catalogue/builtin_tables.h"
#include "seeds/seed_set.h"

namespace qelvo::fuzz {

namespace {

constexpr std::array<int, 7> kBuiltinTables = {137, 140, 153, 158, 159, 162, 165};

// A table small enough for the fuzzer to change every row: sixteen flags, the three page
// starts, a number, a text, a signed and a hex row, and both monitor sections.
std::string SmallTable() {
  std::string text;
  for (int flag = 0; flag < 16; ++flag) {
    text += "[0" + std::to_string(20 + flag / 8) + "]#\tpro=0#\tpos=" + std::to_string(flag % 8) +
            "#\tshow=1#\ten=1#\tsw=uo#\tname=Flag#\trangeL=0#\trangeH=1#\ttips=on or off#\n";
  }
  text +=
      "[025]#\tpro=2#\tpos=1#\tshow=1#\ten=1#\tsw=uo#\tname=Low Volt#\trangeL=10#\trangeH=90#\n"
      "[040]#\tpro=2#\tpos=7#\tshow=1#\ten=0#\tsw=a#\tname=User#\n"
      "[128]#\tpro=1#\tpos=0#\tshow=1#\ten=1#\tsw=so#\tname=Ctl#\trangeL=-5#\trangeH=5#\n"
      "[256]#\tpro=2#\tpos=3#\tshow=1#\ten=1#\tsw=h#\tname=Mtr#\n"
      "[384]#\tpro=1#\tpos=0#\tshow=1#\ten=1#\tsw=h#\tname=Com#\n"
      "[Dat]\n"
      "[000]#\tpro=1#\tpos=0#\tsw=uo#\tname=TPS#\tmin=0#\tmax=255#\tshow=1#\trgb=7F7F7F#\n"
      "[030]#\tpro=2#\tpos=3#\tsw=h#\tname=Fault#\tshow=1#\n"
      "[Err]\n"
      "[000]#\tname=Over current#\n"
      "\\";
  return text;
}

}  // namespace

std::vector<Seed> DescriptionTableSeeds() {
  std::vector<Seed> seeds;
  for (const int id : kBuiltinTables) {
    const auto text = catalogue::BuiltinTableText(id);
    if (!text.empty())
      seeds.push_back({"builtin_" + std::to_string(id), {text.begin(), text.end()}});
  }
  const std::string small = SmallTable();
  seeds.push_back({"small_table", {small.begin(), small.end()}});
  return seeds;
}

}  // namespace qelvo::fuzz
