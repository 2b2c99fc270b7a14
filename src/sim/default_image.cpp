#include "sim/default_image.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "sim/default_blocks.h"

namespace qelvo::sim {
namespace {

constexpr std::size_t kModuleNameAddress = 0;
constexpr std::size_t kModuleNameSize = 8;
constexpr std::size_t kFamilyInName = 1;
constexpr std::size_t kVoltageClassInName = 3;
constexpr std::string_view kModuleNameFrame = "A????S01";
constexpr char kModuleNamePad = ' ';

constexpr std::size_t kUserNameAddress = 8;
constexpr std::string_view kUserName = "DEMO";
constexpr std::size_t kSerialNumberAddress = 12;
constexpr std::uint32_t kSerialNumber = 0x23110042;
constexpr std::size_t kSoftwareVersionAddress = 16;
constexpr std::size_t kBuildNumberAddress = 18;
constexpr std::uint16_t kBuildNumber = 0x0001;
constexpr std::size_t kControllerVoltageAddress = 23;
constexpr std::size_t kLowVoltAddress = 25;
constexpr std::size_t kOverVoltAddress = 27;
constexpr std::size_t kComMarkerAddress = 84;

struct VoltageLimits {
  std::uint32_t low = 18;
  std::uint32_t high = 180;
};

struct ClassLimit {
  std::string_view voltageClass;
  std::uint32_t low;
  std::uint32_t high;  // 0: a quarter above the controller voltage
};

// The limits the program gives the Low Volt and Over Volt settings for each voltage class.
constexpr std::array kClassLimits = std::to_array<ClassLimit>({
    {"24", 8, 30},
    {"32", 18, 380},
    {"36", 18, 45},
    {"48", 18, 60},
    {"60", 18, 80},
    {"72", 18, 90},
    {"84", 18, 105},
    {"96", 18, 120},
    {"12", 18, 136},
    {"14", 18, 180},
    {"10", 18, 400},
    {"80", 18, 0},
});

VoltageLimits LimitsFor(const Identity& identity) {
  for (const ClassLimit& entry : kClassLimits) {
    if (entry.voltageClass == identity.voltageClass) {
      const std::uint32_t high =
          entry.high != 0 ? entry.high : std::uint32_t{identity.controllerVoltage} * 125 / 100;
      return {entry.low, high};
    }
  }
  return {};
}

// Never below the low limit and, where the two cross, never above the high one.
std::uint32_t FitInto(std::uint32_t value, const VoltageLimits& limits) {
  return std::min(std::max(value, limits.low), limits.high);
}

void Put(link::CalibrationImage& image, std::size_t address, std::size_t width,
         std::uint32_t value) {
  for (std::size_t k = 0; k < width && address + k < image.size(); ++k) {
    image[address + k] = static_cast<std::uint8_t>(value >> (8 * (width - 1 - k)));
  }
}

void PutText(link::CalibrationImage& image, std::size_t address, std::string_view text,
             std::size_t size) {
  for (std::size_t k = 0; k < size; ++k) {
    image[address + k] = k < text.size() ? static_cast<std::uint8_t>(text[k]) : 0;
  }
}

}  // namespace

std::array<std::uint8_t, 8> ModuleName(const Identity& identity) {
  std::array<std::uint8_t, kModuleNameSize> name{};
  if (!identity.moduleName.empty()) {
    for (std::size_t k = 0; k < name.size(); ++k) {
      name[k] = static_cast<std::uint8_t>(k < identity.moduleName.size() ? identity.moduleName[k]
                                                                         : kModuleNamePad);
    }
    return name;
  }
  std::copy(kModuleNameFrame.begin(), kModuleNameFrame.end(), name.begin());
  for (std::size_t k = 0; k < 2; ++k) {
    name[kFamilyInName + k] =
        static_cast<std::uint8_t>(k < identity.family.size() ? identity.family[k] : kModuleNamePad);
    name[kVoltageClassInName + k] = static_cast<std::uint8_t>(
        k < identity.voltageClass.size() ? identity.voltageClass[k] : kModuleNamePad);
  }
  return name;
}

link::CalibrationImage DefaultImage(const Identity& identity) {
  link::CalibrationImage image{};
  for (const DefaultSetting& setting : CommonDefaultSettings()) {
    Put(image, setting.address, setting.width, setting.value);
  }
  for (const DefaultSetting& setting : DefaultSettingDifferences(CalibrationTableFor(identity))) {
    Put(image, setting.address, setting.width, setting.value);
  }

  const auto name = ModuleName(identity);
  std::copy(name.begin(), name.end(), image.begin() + kModuleNameAddress);
  PutText(image, kUserNameAddress, kUserName, kUserName.size());
  Put(image, kSerialNumberAddress, 4, kSerialNumber);
  Put(image, kSoftwareVersionAddress, 2, identity.softwareVersion);
  Put(image, kBuildNumberAddress, 2, kBuildNumber);

  // Undervoltage cut at 7/8 of the controller voltage, overvoltage at 6/5 of it.
  const std::uint32_t volts = identity.controllerVoltage;
  const VoltageLimits limits = LimitsFor(identity);
  Put(image, kControllerVoltageAddress, 2, volts);
  Put(image, kLowVoltAddress, 2, FitInto(volts * 7 / 8, limits));
  Put(image, kOverVoltAddress, 2, FitInto((volts * 12 + 5) / 10, limits));

  PutText(image, kComMarkerAddress, identity.comMarker, 2);
  return image;
}

}  // namespace qelvo::sim
