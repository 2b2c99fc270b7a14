#include "sim/live_data.h"

#include <gtest/gtest.h>

#include <set>

namespace qelvo::sim {
namespace {

using namespace std::chrono_literals;
namespace at = monitor_offset;

std::uint16_t Word(const link::MonitorBuffer& buffer, std::size_t offset) {
  return static_cast<std::uint16_t>(buffer[offset] << 8 | buffer[offset + 1]);
}

// A minute and a half of samples at the monitor's 200 ms period.
std::vector<link::MonitorBuffer> Samples(const LiveData& live) {
  std::vector<link::MonitorBuffer> samples;
  for (auto t = 0ms; t < 90s; t += 200ms) {
    samples.push_back(live.Sample(t));
  }
  return samples;
}

TEST(LiveDataTest, TheSameTimeGivesTheSameBytes) {
  const LiveData live(48);
  const LiveData other(48);
  EXPECT_EQ(live.Sample(4321ms), other.Sample(4321ms));
  EXPECT_EQ(live.Sample(4321ms), live.Sample(4321ms));
}

TEST(LiveDataTest, ValuesMoveWithinTheirRanges) {
  const LiveData live(48);
  std::set<int> tps, halls, faultWords, directions;
  std::set<int> switchesSeen[3];
  for (const link::MonitorBuffer& b : Samples(live)) {
    tps.insert(b[at::kTps]);
    halls.insert(b[at::kHallA] << 2 | b[at::kHallB] << 1 | b[at::kHallC]);
    faultWords.insert(Word(b, at::kFaultWord));
    directions.insert(b[at::kSettingDirection]);
    switchesSeen[0].insert(b[at::kFootSwitch]);
    switchesSeen[1].insert(b[at::kBrakeSwitch1]);
    switchesSeen[2].insert(b[at::kLowSpeed]);
    for (const std::size_t offset : {at::kBrakeSwitch1, at::kFootSwitch, at::kForward, at::kReverse,
                                     at::kHallA, at::kHallB, at::kHallC, at::kSettingDirection,
                                     at::kActualDirection, at::kBrakeSwitch2, at::kLowSpeed}) {
      EXPECT_LE(b[offset], 1) << "offset " << offset;
    }
    EXPECT_FALSE(b[at::kForward] && b[at::kReverse]);
    EXPECT_NEAR(b[at::kBatteryVoltage], 48, 6);
    EXPECT_GE(b[at::kMotorTemperature], 20);
    EXPECT_LE(b[at::kMotorTemperature], 80);
    EXPECT_LE(Word(b, at::kMotorSpeed), 10000);
    EXPECT_LE(Word(b, at::kPhaseCurrent), 800);
    for (std::size_t offset = 22; offset < b.size(); ++offset) {
      EXPECT_EQ(b[offset], 0) << "reserved offset " << offset;
    }
  }
  EXPECT_EQ(*tps.begin(), 0);
  EXPECT_GE(*tps.rbegin(), 250);
  EXPECT_EQ(halls.size(), 6u);
  EXPECT_EQ(halls.count(0), 0u);
  EXPECT_EQ(halls.count(7), 0u);
  EXPECT_GE(faultWords.size(), 3u);
  EXPECT_TRUE(faultWords.count(0));
  EXPECT_EQ(directions, (std::set<int>{0, 1}));
  for (const auto& seen : switchesSeen) {
    EXPECT_EQ(seen, (std::set<int>{0, 1}));
  }
}

TEST(LiveDataTest, PinnedBytesOverrideTheModel) {
  LiveData live(48);
  live.PinFaultWord(0x0088);
  live.Pin(at::kTps, 200);
  live.Pin(48, 1);  // past the buffer: ignored
  for (const std::chrono::milliseconds t : {0ms, 27000ms, 61000ms}) {
    const link::MonitorBuffer b = live.Sample(t);
    EXPECT_EQ(Word(b, at::kFaultWord), 0x0088);
    EXPECT_EQ(b[at::kTps], 200);
  }
  live.Unpin(at::kTps);
  EXPECT_EQ(live.Sample(0ms)[at::kTps], 0);
  live.UnpinAll();
  EXPECT_EQ(live.Sample(0ms), LiveData(48).Sample(0ms));
}

TEST(LiveDataTest, BatteryVoltageFollowsTheController) {
  EXPECT_NEAR(LiveData(72).Sample(3s)[at::kBatteryVoltage], 72, 6);
  EXPECT_EQ(LiveData(300).Sample(3s)[at::kBatteryVoltage], 255);
}

TEST(ZeroPointSourceTest, ReadingsStayWithinTheNoiseAndSpreadOverIt) {
  ZeroPointSource source(42);
  std::set<int> offsets;
  for (int reading = 0; reading < 200; ++reading) {
    const link::ZeroPoints values = source.Read();
    for (std::size_t k = 0; k < values.size(); ++k) {
      const int offset = values[k] - ZeroPointSource::kDefaultCentres[k];
      EXPECT_LE(std::abs(offset), ZeroPointSource::kNoise);
      offsets.insert(offset);
    }
  }
  EXPECT_EQ(offsets.size(), 7u);
}

TEST(ZeroPointSourceTest, ASeedOfZeroStillGivesNoise) {
  ZeroPointSource source(0);
  std::set<std::uint16_t> values;
  for (int reading = 0; reading < 20; ++reading) {
    values.insert(source.Read()[0]);
  }
  EXPECT_GT(values.size(), 1u);
}

TEST(ZeroPointSourceTest, ReadingsNearTheLimitsStayInside) {
  ZeroPointSource source(3, {0, 0xFFFF, 1, 0xFFFE, 2});
  for (int reading = 0; reading < 50; ++reading) {
    const link::ZeroPoints values = source.Read();
    EXPECT_LE(values[0], 3);
    EXPECT_GE(values[1], 0xFFFF - 3);
  }
}

}  // namespace
}  // namespace qelvo::sim
