#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "catalogue/loader.h"

namespace qelvo::catalogue {

namespace {

// Where the image tells who the controller is.
constexpr std::size_t kFamilyCodeAt = 1;
constexpr std::size_t kVoltageClassAt = 3;
constexpr std::size_t kSoftwareVersionAt = 16;
constexpr std::size_t kControllerVoltageAt = 23;
constexpr std::size_t kComMarkerAt = 84;
constexpr std::size_t kTwoCharacters = 2;
// A controller with this marker has no COM settings to offer.
constexpr char kComMarker[] = "2Q";

// Up to two characters; a byte 0 ends the text early.
std::string ShortText(std::span<const std::uint8_t, 512> image, std::size_t at) {
  std::string text;
  for (std::size_t i = at; i < at + kTwoCharacters && image[i] != 0; ++i) {
    text.push_back(static_cast<char>(image[i]));
  }
  return text;
}

std::uint16_t HighFirst(std::span<const std::uint8_t, 512> image, std::size_t at) {
  return static_cast<std::uint16_t>((image[at] << 8) | image[at + 1]);
}

}  // namespace

ControllerIdentity IdentifyController(std::span<const std::uint8_t, 512> image) {
  ControllerIdentity identity;
  identity.familyCode = ShortText(image, kFamilyCodeAt);
  identity.voltageClass = ShortText(image, kVoltageClassAt);
  identity.softwareVersion = HighFirst(image, kSoftwareVersionAt);
  identity.controllerVoltage = HighFirst(image, kControllerVoltageAt);
  identity.comButtonHidden = image[kComMarkerAt] == static_cast<std::uint8_t>(kComMarker[0]) &&
                             image[kComMarkerAt + 1] == static_cast<std::uint8_t>(kComMarker[1]);
  return identity;
}

}  // namespace qelvo::catalogue
