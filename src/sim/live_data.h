#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "link/commands.h"

namespace qelvo::sim {

// Where the live values lie in the 48-byte monitor buffer.
namespace monitor_offset {
inline constexpr std::size_t kTps = 0;
inline constexpr std::size_t kBrake = 1;
inline constexpr std::size_t kBrakeSwitch1 = 2;
inline constexpr std::size_t kFootSwitch = 3;
inline constexpr std::size_t kForward = 4;
inline constexpr std::size_t kReverse = 5;
inline constexpr std::size_t kHallA = 6;
inline constexpr std::size_t kHallB = 7;
inline constexpr std::size_t kHallC = 8;
inline constexpr std::size_t kBatteryVoltage = 9;
inline constexpr std::size_t kMotorTemperature = 10;
inline constexpr std::size_t kControllerTemperature = 11;
inline constexpr std::size_t kSettingDirection = 12;
inline constexpr std::size_t kActualDirection = 13;
inline constexpr std::size_t kBrakeSwitch2 = 14;
inline constexpr std::size_t kLowSpeed = 15;
inline constexpr std::size_t kFaultWord = 16;  // two bytes, high first
inline constexpr std::size_t kMotorSpeed = 18;
inline constexpr std::size_t kPhaseCurrent = 20;
}  // namespace monitor_offset

// The controller's live data as a function of the time since it started, so that the same
// time always gives the same bytes. Pinned bytes override what the model gives.
class LiveData {
 public:
  explicit LiveData(std::uint16_t nominalVoltage);

  link::MonitorBuffer Sample(std::chrono::milliseconds sinceStart) const;

  void Pin(std::size_t offset, std::uint8_t value);  // offsets past the buffer are ignored
  void PinWord(std::size_t offset, std::uint16_t value);
  void PinFaultWord(std::uint16_t word) { PinWord(monitor_offset::kFaultWord, word); }
  void Unpin(std::size_t offset);
  void UnpinAll();

 private:
  std::uint16_t nominalVoltage_;
  std::array<std::optional<std::uint8_t>, link::kMonitorBufferSize> pins_{};
};

// Five zero-point readings near their centres, a little noisy; the same seed gives the
// same readings.
class ZeroPointSource {
 public:
  // Hall A, Hall B, internal A, internal B, internal C.
  static constexpr link::ZeroPoints kDefaultCentres{2048, 2050, 2040, 2045, 2052};
  static constexpr int kNoise = 3;  // readings lie within ± this of the centre

  explicit ZeroPointSource(std::uint32_t seed, link::ZeroPoints centres = kDefaultCentres);

  link::ZeroPoints Read();
  void SetCentres(const link::ZeroPoints& centres) { centres_ = centres; }
  const link::ZeroPoints& centres() const { return centres_; }

 private:
  std::uint32_t NextRandom();

  std::uint32_t state_;
  link::ZeroPoints centres_;
};

}  // namespace qelvo::sim
