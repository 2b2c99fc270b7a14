#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_fixture.h"
#include "sim/live_data.h"

namespace qelvo::cli::test {
namespace {

// Every byte of these differs from the simulated controller's stored zero points, noise
// included, so each stored point shows in both of its bytes.
constexpr link::ZeroPoints kCentres{1300, 1400, 1500, 1600, 1700};
constexpr std::array<const char*, 5> kNames{"Hall_A_Zero", "Hall_B_Zero", "RZ_A_Zero", "RZ_B_Zero",
                                            "RZ_C_Zero"};
constexpr std::array<std::size_t, 5> kOffsets{33, 35, 40, 42, 44};
const std::vector<std::size_t> kZeroPointBytes{33, 34, 35, 36, 40, 41, 42, 43, 44, 45};

struct ChannelLine {
  std::string name;
  std::string history;
  std::vector<int> readings;
  int lowest = 0;
};

std::vector<ChannelLine> ChannelLines(const std::string& out) {
  static const std::regex kLine(R"(^(\S+) +readings (\S*)  lowest (\d+)$)");
  std::vector<ChannelLine> lines;
  std::istringstream stream(out);
  for (std::string text; std::getline(stream, text);) {
    std::smatch match;
    if (!std::regex_match(text, match, kLine))
      continue;
    ChannelLine line{match[1], match[2], {}, std::stoi(match[3])};
    std::istringstream values(line.history);
    for (std::string value; std::getline(values, value, ',');)
      if (!value.empty())
        line.readings.push_back(std::stoi(value));
    lines.push_back(line);
  }
  return lines;
}

class ZeroCommand : public CliWithController {
 protected:
  void SetUp() override {
    CliWithController::SetUp();
    controller_.SetZeroPointCentres(kCentres);
  }

  // The controller leaves `readings` zero-point requests unanswered (0: all of them) after
  // answering the first `afterReadings`.
  void SilenceZeroReadings(int afterReadings, int readings) {
    sim::Faults faults;
    faults.silent = true;
    faults.onlyCommand = link::command::kReadZeroPoints;
    faults.afterRequests = afterReadings;
    faults.requestCount = readings;
    controller_.SetFaults(faults);
  }
};

TEST_F(ZeroCommand, PrintsEachChannelsThreeReadingsAndTheLowest) {
  const auto before = controller_.StoredBlock();
  const Outcome run = Qelvo({"zero", "--port", port()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");

  const auto lines = ChannelLines(run.out);
  ASSERT_EQ(lines.size(), kNames.size()) << run.out;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    EXPECT_EQ(lines[k].name, kNames[k]);
    ASSERT_EQ(lines[k].readings.size(), 3u) << lines[k].history;
    for (int reading : lines[k].readings)
      EXPECT_LE(std::abs(reading - kCentres[k]), sim::ZeroPointSource::kNoise) << kNames[k];
    EXPECT_EQ(lines[k].lowest,
              *std::min_element(lines[k].readings.begin(), lines[k].readings.end()));
  }
  EXPECT_EQ(RequestsSeen(link::command::kReadZeroPoints), 3u);
  // Without --store nothing is written.
  EXPECT_EQ(RequestsSeen(link::command::kWriteBlock), 0u);
  EXPECT_EQ(controller_.StoredBlock(), before);
}

TEST_F(ZeroCommand, StoreWritesExactlyTheTenZeroPointBytesHighByteFirst) {
  const auto before = controller_.StoredBlock();
  const Outcome run = Qelvo({"zero", "--store", "--port", port()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.out.ends_with("Written to success.\n")) << run.out;

  const auto after = controller_.StoredBlock();
  EXPECT_EQ(ChangedOffsets(before, after), kZeroPointBytes);
  const auto lines = ChannelLines(run.out);
  ASSERT_EQ(lines.size(), kOffsets.size());
  for (std::size_t k = 0; k < kOffsets.size(); ++k)
    EXPECT_EQ(after[kOffsets[k]] * 256 + after[kOffsets[k] + 1], lines[k].lowest) << kNames[k];
}

TEST_F(ZeroCommand, AFailedFirstReadingLeavesTheOtherTwoToCount) {
  SilenceZeroReadings(0, 1);
  const Outcome run = Qelvo({"zero", "--store", "--port", port()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "2 of 3 readings counted.\n");
  const auto lines = ChannelLines(run.out);
  ASSERT_EQ(lines.size(), kNames.size());
  for (const ChannelLine& line : lines) {
    // As on the dialog's empty edits: the history begins with the comma of reading 2.
    EXPECT_EQ(line.history.front(), ',') << line.history;
    ASSERT_EQ(line.readings.size(), 2u);
    EXPECT_EQ(line.lowest, std::min(line.readings[0], line.readings[1]));
  }
  const auto stored = controller_.StoredBlock();
  EXPECT_EQ(stored[33] * 256 + stored[34], lines[0].lowest);
}

TEST_F(ZeroCommand, NoReadingCountingStoresNothing) {
  SilenceZeroReadings(0, 0);
  const auto before = controller_.StoredBlock();
  for (const bool store : {false, true}) {
    std::vector<std::string> args{"zero", "--port", port()};
    if (store)
      args.push_back("--store");
    const Outcome run = Qelvo(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with("No zero-point reading counted")) << run.err;
  }
  EXPECT_EQ(RequestsSeen(link::command::kWriteBlock), 0u);
  EXPECT_EQ(controller_.StoredBlock(), before);
}

TEST_F(ZeroCommand, AnotherModuleRefusesTheStore) {
  // The controller is swapped after the image was read: the model check must catch it.
  sim::Faults faults;
  faults.otherModule = true;
  faults.otherModuleAfterReads = 1;
  controller_.SetFaults(faults);
  const auto before = controller_.StoredBlock();
  const Outcome run = Qelvo({"zero", "--store", "--port", port()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "the control's Module Name is not match with the writing data.\n");
  EXPECT_EQ(RequestsSeen(link::command::kWriteBlock), 0u);
  EXPECT_EQ(controller_.StoredBlock(), before);
}

TEST(ZeroCommandLine, RefusesWrongWords) {
  const Outcome run = Qelvo({"zero", "--stor"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("unexpected '--stor'"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace qelvo::cli::test
