#pragma once

#include <ctime>
#include <string>

#include "link/commands.h"

namespace qelvo::cli {

// "AQV48S01-23110042-20261210-114500.qbk": module name, serial number and the local time, in
// characters safe in any file name.
std::string DefaultBackupName(const link::CalibrationImage& image, const std::tm& localTime);

}  // namespace qelvo::cli
