#include "sim/identity.h"

#include <array>
#include <string_view>

namespace qelvo::sim {
namespace {

struct ClassVoltage {
  std::string_view voltageClass;
  std::uint16_t volts;
};

// The three classes above 99 V carry only their first two digits.
constexpr std::array kClassVoltages = std::to_array<ClassVoltage>({
    {"24", 24},
    {"32", 32},
    {"36", 36},
    {"48", 48},
    {"60", 60},
    {"72", 72},
    {"80", 80},
    {"84", 84},
    {"96", 96},
    {"10", 100},
    {"12", 120},
    {"14", 144},
});

constexpr std::uint16_t kUnknownClassVoltage = 48;

}  // namespace

int CalibrationTableFor(const Identity& identity) {
  const std::uint16_t version = identity.softwareVersion;
  if (identity.family == "RN") {
    return version >= 0x0102 ? 159 : 158;
  }
  if (identity.family != "QV" || version >= 0x0109) {
    return 165;
  }
  if (version >= 0x0106) {
    return 162;
  }
  return version == 0x0105 ? 153 : 140;
}

std::uint16_t NominalVoltage(const std::string& voltageClass) {
  for (const ClassVoltage& entry : kClassVoltages) {
    if (entry.voltageClass == voltageClass) {
      return entry.volts;
    }
  }
  return kUnknownClassVoltage;
}

}  // namespace qelvo::sim
