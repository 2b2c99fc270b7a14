#pragma once

#include "link/commands.h"
#include "sim/identity.h"

namespace qelvo::sim {

// The configuration block a new controller of this identity holds: module name, user name,
// serial number, software version, controller voltage, voltage limits fitted to the voltage
// class, COM marker, and a plausible value inside its limits for every other setting.
link::CalibrationImage DefaultImage(const Identity& identity);

// The module name a controller of this identity reports in bytes 0..7.
std::array<std::uint8_t, 8> ModuleName(const Identity& identity);

}  // namespace qelvo::sim
