#pragma once

#include <cstdint>
#include <string>

namespace qelvo::sim {

// Who the simulated controller claims to be; it decides the default configuration block.
struct Identity {
  std::string family = "QV";               // "QV" or "RN", image bytes 1..2
  std::uint16_t softwareVersion = 0x0109;  // image bytes 16..17
  std::string voltageClass = "48";         // two characters, image bytes 3..4
  std::uint16_t controllerVoltage = 48;    // image bytes 23..24
  std::string comMarker;                   // image bytes 84..85; "2Q" hides the COM page
  // Replaces image bytes 0..7 when not empty (padded with blanks, at most 8 characters).
  // Family and voltage class above still choose the settings.
  std::string moduleName;
};

// The calibration table that describes this controller's block: 140, 153, 162 or 165 for
// "QV", 158 or 159 for "RN". A version below the oldest supported one gets that oldest
// table's layout, any other family the layout of 165.
int CalibrationTableFor(const Identity& identity);

// The battery voltage a voltage class stands for (48 for "48", 120 for "12"); 48 for a
// class the controllers do not know.
std::uint16_t NominalVoltage(const std::string& voltageClass);

}  // namespace qelvo::sim
