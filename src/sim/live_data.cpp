#include "sim/live_data.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qelvo::sim {
namespace {

using std::chrono::milliseconds;
namespace at = monitor_offset;

constexpr int kPedalPeak = 255;
constexpr milliseconds kTpsPeriod{8000};
// The brake pedal rests during the lower half of its own, slower cycle.
constexpr milliseconds kBrakePeriod{11000};
constexpr int kBrakeRestLevel = 128;
constexpr int kBrakeSwitchLevel = 20;

constexpr milliseconds kFootSwitchPeriod{13000};
constexpr milliseconds kFootSwitchOffTime{2000};  // released at the end of each period
constexpr milliseconds kLowSpeedPeriod{30000};    // on during the second half

enum class Gear { Neutral, Forward, Reverse };
struct GearPhase {
  milliseconds end;
  Gear gear;
};
constexpr milliseconds kDriveCycle{30000};
constexpr std::array kDrivePhases = std::to_array<GearPhase>({
    {milliseconds{16000}, Gear::Forward},
    {milliseconds{18000}, Gear::Neutral},
    {milliseconds{26000}, Gear::Reverse},
    {milliseconds{30000}, Gear::Neutral},
});
constexpr milliseconds kDirectionLag{1000};  // the motor follows the selected direction late

constexpr milliseconds kHallStepTime{300};
constexpr std::array<std::array<std::uint8_t, 3>, 6> kHallSequence{{
    {1, 0, 1},
    {1, 0, 0},
    {1, 1, 0},
    {0, 1, 0},
    {0, 1, 1},
    {0, 0, 1},
}};

constexpr int kMaxMotorSpeed = 4000;  // rpm at full pedal
constexpr int kIdleCurrent = 5;
constexpr int kMaxPhaseCurrent = 200;
constexpr int kChargedAboveNominal = 3;  // volts of a charged pack over its class
constexpr int kCurrentPerVoltOfSag = 40;

struct Drift {
  int centre;
  int amplitude;
  milliseconds period;
};
constexpr Drift kMotorTemperature{45, 8, milliseconds{180000}};
constexpr Drift kControllerTemperature{38, 5, milliseconds{240000}};

struct FaultWindow {
  milliseconds from;
  milliseconds to;
  std::uint16_t bits;
};
constexpr milliseconds kFaultCycle{40000};
constexpr std::array kFaultWindows = std::to_array<FaultWindow>({
    {milliseconds{25000}, milliseconds{31000}, 0x0004},  // Low Voltage
    {milliseconds{28000}, milliseconds{31000}, 0x0040},  // Over temp
    {milliseconds{36000}, milliseconds{38000}, 0x0800},  // Hall Err
});

// Rises from 0 to `peak` over the first half of the period and falls back over the second.
int Triangle(milliseconds t, milliseconds period, int peak) {
  const auto phase = t.count() % period.count();
  const auto half = period.count() / 2;
  const auto rising = phase < half ? phase : period.count() - phase;
  return static_cast<int>(rising * peak / half);
}

Gear GearAt(milliseconds t) {
  const milliseconds phase{t.count() % kDriveCycle.count()};
  for (const GearPhase& entry : kDrivePhases) {
    if (phase < entry.end) {
      return entry.gear;
    }
  }
  return Gear::Neutral;
}

int DriftAt(const Drift& drift, milliseconds t) {
  const double angle = 2 * std::numbers::pi *
                       static_cast<double>(t.count() % drift.period.count()) /
                       static_cast<double>(drift.period.count());
  return drift.centre + static_cast<int>(std::lround(drift.amplitude * std::sin(angle)));
}

std::uint16_t FaultWordAt(milliseconds t) {
  const milliseconds phase{t.count() % kFaultCycle.count()};
  std::uint16_t word = 0;
  for (const FaultWindow& window : kFaultWindows) {
    if (phase >= window.from && phase < window.to) {
      word |= window.bits;
    }
  }
  return word;
}

std::uint8_t Byte(int value) {
  return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

void PutWord(link::MonitorBuffer& buffer, std::size_t offset, int value) {
  const auto word = static_cast<std::uint16_t>(std::clamp(value, 0, 0xFFFF));
  buffer[offset] = static_cast<std::uint8_t>(word >> 8);
  buffer[offset + 1] = static_cast<std::uint8_t>(word);
}

}  // namespace

LiveData::LiveData(std::uint16_t nominalVoltage) : nominalVoltage_(nominalVoltage) {}

link::MonitorBuffer LiveData::Sample(milliseconds sinceStart) const {
  const milliseconds t = std::max(sinceStart, milliseconds{0});
  link::MonitorBuffer buffer{};

  const Gear gear = GearAt(t);
  const bool inGear = gear != Gear::Neutral;
  const int tps = Triangle(t, kTpsPeriod, kPedalPeak);
  const int brake = std::max(0, Triangle(t, kBrakePeriod, kPedalPeak) - kBrakeRestLevel) * 2;
  const bool braking = brake > kBrakeSwitchLevel;
  const int speed =
      inGear ? tps * kMaxMotorSpeed / kPedalPeak * (kPedalPeak - brake) / kPedalPeak : 0;
  const int current = inGear ? kIdleCurrent + tps * kMaxPhaseCurrent / kPedalPeak : 0;
  const Gear lagging = GearAt(std::max(t - kDirectionLag, milliseconds{0}));
  const auto hall = kHallSequence[(t / kHallStepTime) % kHallSequence.size()];

  buffer[at::kTps] = Byte(tps);
  buffer[at::kBrake] = Byte(brake);
  buffer[at::kBrakeSwitch1] = braking ? 1 : 0;
  buffer[at::kFootSwitch] =
      t.count() % kFootSwitchPeriod.count() < (kFootSwitchPeriod - kFootSwitchOffTime).count() ? 1
                                                                                               : 0;
  buffer[at::kForward] = gear == Gear::Forward ? 1 : 0;
  buffer[at::kReverse] = gear == Gear::Reverse ? 1 : 0;
  buffer[at::kHallA] = hall[0];
  buffer[at::kHallB] = hall[1];
  buffer[at::kHallC] = hall[2];
  buffer[at::kBatteryVoltage] =
      Byte(nominalVoltage_ + kChargedAboveNominal - current / kCurrentPerVoltOfSag);
  buffer[at::kMotorTemperature] = Byte(DriftAt(kMotorTemperature, t));
  buffer[at::kControllerTemperature] = Byte(DriftAt(kControllerTemperature, t));
  buffer[at::kSettingDirection] = gear == Gear::Reverse ? 1 : 0;
  buffer[at::kActualDirection] = lagging == Gear::Reverse ? 1 : 0;
  buffer[at::kBrakeSwitch2] = braking ? 1 : 0;
  buffer[at::kLowSpeed] =
      t.count() % kLowSpeedPeriod.count() >= kLowSpeedPeriod.count() / 2 ? 1 : 0;
  PutWord(buffer, at::kFaultWord, FaultWordAt(t));
  PutWord(buffer, at::kMotorSpeed, speed);
  PutWord(buffer, at::kPhaseCurrent, current);

  for (std::size_t k = 0; k < buffer.size(); ++k) {
    if (pins_[k]) {
      buffer[k] = *pins_[k];
    }
  }
  return buffer;
}

void LiveData::Pin(std::size_t offset, std::uint8_t value) {
  if (offset < pins_.size()) {
    pins_[offset] = value;
  }
}

void LiveData::PinWord(std::size_t offset, std::uint16_t value) {
  Pin(offset, static_cast<std::uint8_t>(value >> 8));
  Pin(offset + 1, static_cast<std::uint8_t>(value));
}

void LiveData::Unpin(std::size_t offset) {
  if (offset < pins_.size()) {
    pins_[offset].reset();
  }
}

void LiveData::UnpinAll() {
  pins_.fill(std::nullopt);
}

ZeroPointSource::ZeroPointSource(std::uint32_t seed, link::ZeroPoints centres)
    : state_(seed != 0 ? seed : 1), centres_(centres) {}

// xorshift32: the same readings for a seed on every platform.
std::uint32_t ZeroPointSource::NextRandom() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

link::ZeroPoints ZeroPointSource::Read() {
  link::ZeroPoints values{};
  for (std::size_t k = 0; k < values.size(); ++k) {
    const int noise = static_cast<int>(NextRandom() % (2 * kNoise + 1)) - kNoise;
    values[k] = static_cast<std::uint16_t>(std::clamp(centres_[k] + noise, 0, 0xFFFF));
  }
  return values;
}

}  // namespace qelvo::sim
