#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "catalogue/parser.h"

namespace qelvo::catalogue {

namespace {

// The Low Volt and Over Volt rows take their limits from the controller's voltage class.
constexpr std::int32_t kLowVoltAddress = 25;
constexpr std::int32_t kOverVoltAddress = 27;

struct VoltageClassLimits {
  std::string_view voltageClass;
  std::optional<std::int32_t> rangeL;  // nothing: the table's value stays
  std::int32_t rangeH;
};

constexpr std::array<VoltageClassLimits, 11> kVoltageClassLimits{{
    {"24", 8, 30},
    {"32", std::nullopt, 380},
    {"36", std::nullopt, 45},
    {"48", std::nullopt, 60},
    {"60", std::nullopt, 80},
    {"72", std::nullopt, 90},
    {"84", std::nullopt, 105},
    {"96", std::nullopt, 120},
    {"12", std::nullopt, 136},
    {"14", std::nullopt, 180},
    {"10", std::nullopt, 400},
}};

// Class "80" controllers allow 125 % of their own rated voltage.
constexpr std::string_view kRatedVoltageClass = "80";
constexpr std::uint32_t kRatedVoltagePercent = 125;

}  // namespace

void ApplyVoltageOverride(ParamItem& item, const VoltageOverride& voltage) {
  if (item.address != kLowVoltAddress && item.address != kOverVoltAddress)
    return;
  if (voltage.voltageClass == kRatedVoltageClass) {
    item.rangeH = static_cast<std::int32_t>(static_cast<std::uint32_t>(voltage.controllerVoltage) *
                                            kRatedVoltagePercent / 100u);
    return;
  }
  for (const VoltageClassLimits& limits : kVoltageClassLimits) {
    if (voltage.voltageClass != limits.voltageClass)
      continue;
    if (limits.rangeL)
      item.rangeL = *limits.rangeL;
    item.rangeH = limits.rangeH;
    return;
  }
}

}  // namespace qelvo::catalogue
