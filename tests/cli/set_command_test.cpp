#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "catalogue/tables.h"
#include "cli/cli_fixture.h"
#include "cli/page_listing.h"
#include "cli/setting_name.h"

namespace qelvo::cli::test {
namespace {

struct ByteChange {
  std::size_t offset;
  std::uint8_t value;
};

struct AcceptedCase {
  std::string what;
  std::vector<std::string> assignments;
  std::vector<ByteChange> bytes;  // every byte that changes, in rising order
  std::string printed;
};

const std::vector<AcceptedCase>& AcceptedCases() {
  static const std::vector<AcceptedCase> cases{
      {"one-byte row", {"Current Percent=77"}, {{37, 77}}, "Current Percent: 100 → 77\n"},
      {"two-byte row", {"Max Speed=300"}, {{107, 0x01}, {108, 0x2C}}, "Max Speed: 4000 → 300\n"},
      {"caption in UTF-8", {"High Temp Cut ℃=120"}, {{319, 120}}, "High Temp Cut ℃: 130 → 120\n"},
      {"flag", {"Boost=1"}, {{20, 0xC3}}, "Boost: 0 → 1\n"},
      {"@ADDRESS", {"@37=50"}, {{37, 50}}, "Current Percent: 100 → 50\n"},
      {"@ADDRESS.BIT", {"@21.4=1"}, {{21, 0x11}}, "Cruise: 0 → 1\n"},
      {"two flags of one byte",
       {"Boost=1", "@20.0=0"},
       {{20, 0xC2}},
       "Boost: 0 → 1\nStartup H-Pedel: 1 → 0\n"},
  };
  return cases;
}

std::vector<std::size_t> Offsets(const std::vector<ByteChange>& bytes) {
  std::vector<std::size_t> offsets;
  for (const ByteChange& change : bytes)
    offsets.push_back(change.offset);
  return offsets;
}

std::vector<std::string> SetArgs(const std::vector<std::string>& assignments,
                                 std::vector<std::string> where) {
  std::vector<std::string> args{"set"};
  args.insert(args.end(), assignments.begin(), assignments.end());
  args.insert(args.end(), where.begin(), where.end());
  return args;
}

using SetCommand = CliWithController;

TEST_F(SetCommand, ChangesExactlyThatItemsBytesInTheController) {
  const auto original = controller_.StoredBlock();
  for (const AcceptedCase& c : AcceptedCases()) {
    controller_.SetStoredBlock(original);
    controller_.ClearRequestLog();
    const Outcome run = Qelvo(SetArgs(c.assignments, {"--port", port()}));
    ASSERT_EQ(run.status, 0) << c.what << ": " << run.err;
    EXPECT_EQ(run.out, c.printed + "Written to success.\n") << c.what;

    const auto stored = controller_.StoredBlock();
    EXPECT_EQ(ChangedOffsets(original, stored), Offsets(c.bytes)) << c.what;
    for (const ByteChange& change : c.bytes)
      EXPECT_EQ(stored[change.offset], change.value) << c.what << " at " << change.offset;
    EXPECT_EQ(RequestsSeen(link::command::kCommit), 1u) << c.what;
  }
}

TEST_F(SetCommand, AnUnchangedValueWritesNothing) {
  const Outcome run = Qelvo({"set", "Current Percent=100", "--port", port()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Current Percent: 100 → 100\nEvery value is as it was: nothing to write.\n");
  EXPECT_EQ(RequestsSeen(link::command::kWriteBlock), 0u);
}

struct RefusedCase {
  std::vector<std::string> assignments;
  std::string message;
};

const std::vector<RefusedCase>& RefusedCases() {
  static const std::string kCurrentPercentRange =
      "Param:Current Percent\nThe range should be between 20~100\n";
  static const std::vector<RefusedCase> cases{
      // The typed number is checked, not its low byte (44, which lies inside the range).
      {{"Current Percent=300"}, kCurrentPercentRange},
      {{"Current Percent=12abc"}, kCurrentPercentRange},
      {{"Current Percent="}, kCurrentPercentRange},
      {{"Low Volt=-5"}, "Param:Low Volt\nThe range should be between 18~60\n"},
      {{"Module Name=BQV48S01"}, "Module Name is read-only.\n"},
      {{"SW Level=1"}, "SW Level is read-only.\n"},
      {{"Current percent=50"},
       "No shown setting is called 'Current percent'; 'qelvo show' "
       "lists them.\n"},
      {{"Boost=2"}, "Boost is a flag: it takes 0 or 1.\n"},
      {{"@20=1"}, "Byte 20 holds flags: name one by its bit, such as @20.0\n"},
      {{"@20.3=1"}, "No shown setting lies at @20.3.\n"},  // a hidden flag
      {{"@38x=1"}, "'@38x' is no address: give @ADDRESS or @ADDRESS.BIT, in decimal\n"},
      // One refused value keeps the good ones out of the controller too.
      {{"Current Percent=77", "Battry Limit=101"},
       "Param:Battry Limit\nThe range should be between 20~100\n"},
  };
  return cases;
}

TEST_F(SetCommand, ARefusedValueWritesNothingAndSaysWhy) {
  const auto original = controller_.StoredBlock();
  for (const RefusedCase& c : RefusedCases()) {
    const Outcome run = Qelvo(SetArgs(c.assignments, {"--port", port()}));
    EXPECT_EQ(run.status, 1) << c.assignments.front();
    EXPECT_EQ(run.out, "") << c.assignments.front();
    EXPECT_EQ(run.err, c.message + "Nothing was written.\n");
  }
  EXPECT_EQ(RequestsSeen(link::command::kWriteBlock), 0u);
  EXPECT_EQ(controller_.StoredBlock(), original);
}

TEST_F(SetCommand, ImageFileChangesOnlyInThatItem) {
  const auto original = controller_.StoredBlock();
  const auto file = File("image.bin");
  WriteFile(file, original);

  const Outcome run = Qelvo({"set", "--image", file.string(), "Max Speed=300", "Boost=1"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Max Speed: 4000 → 300\nBoost: 0 → 1\n");
  const auto changed = ReadFile(file);
  EXPECT_EQ(ChangedOffsets(original, changed), (std::vector<std::size_t>{20, 107, 108}));
  EXPECT_EQ(changed[107], 0x01);
  EXPECT_EQ(changed[108], 0x2C);
  EXPECT_EQ(controller_.RequestLog().size(), 0u);

  // A refused value leaves the file as it was.
  const Outcome refused = Qelvo({"set", "--image", file.string(), "Max Speed=16001"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(ReadFile(file), changed);
}

TEST_F(SetCommand, RefusesAFileThatIsNoImage) {
  const auto file = File("short.bin");
  WriteFile(file, std::vector<std::uint8_t>(100, 0x55));
  const Outcome run = Qelvo({"set", "--image", file.string(), "Boost=1"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("it must be exactly 512 bytes"), std::string::npos) << run.err;
  EXPECT_EQ(ReadFile(file), std::vector<std::uint8_t>(100, 0x55));
}

TEST(SetCommandLine, RefusesWordsThatAreNoAssignment) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"set"}, {"set", "Boost"}, {"set", "=1"}}) {
    const Outcome run = Qelvo(args);
    EXPECT_EQ(run.status, 2) << args.size();
    EXPECT_NE(run.err.find("qelvo set: "), std::string::npos) << run.err;
  }
}

// Rows sharing a caption, as a table may have them; FindShownSetting reads only the
// position and caption of the listed rows.
TEST(FindShownSetting, ASharedCaptionAsksForTheAddress) {
  auto tables = std::make_unique<catalogue::DescriptionTables>();
  const auto add = [&](int position, std::int32_t address, std::int32_t pro, std::int32_t pos) {
    catalogue::ParamItem& item = tables->params[position];
    item.address = address;
    item.pro = pro;
    item.pos = pos;
    item.show = 1;
  };
  add(0, 20, 0, 1);
  add(1, 20, 0, 2);
  add(2, 40, 1, 0);
  add(3, 41, 1, 0);
  std::vector<ListedRow> rows(4);
  for (int i = 0; i < 4; ++i)
    rows[i].position = i;
  rows[0].caption = rows[1].caption = "Spare flag";
  rows[2].caption = rows[3].caption = "保留";
  rows[0].flag = rows[1].flag = true;

  struct Case {
    std::string name;
    int found;  // the row's position, or -1
    std::string error;
  };
  for (const Case& c :
       {Case{"保留", -1, "'保留' names 2 shown settings; give one by its address: @40 @41"},
        Case{"Spare flag", -1,
             "'Spare flag' names 2 shown settings; give one by its address: "
             "@20.1 @20.2"},
        Case{"@41", 3, ""}, Case{"@20.2", 1, ""}}) {
    const SettingLookup lookup = FindShownSetting(*tables, rows, c.name);
    EXPECT_EQ(lookup.row == nullptr ? -1 : lookup.row->position, c.found) << c.name;
    EXPECT_EQ(lookup.error, c.error);
  }
}

}  // namespace
}  // namespace qelvo::cli::test
