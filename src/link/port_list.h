#pragma once

#include <string>
#include <vector>

namespace qelvo::link {

// The serial ports of this machine as device paths ("/dev/ttyS0", "/dev/ttyUSB0", ...), from
// /sys/class/tty: entries with a device, minus legacy 8250 UARTs with no hardware behind them,
// in natural name order (ttyS2 before ttyS10). sysfsRoot is for tests.
std::vector<std::string> EnumeratePorts(const std::string& sysfsRoot = "/sys/class/tty");

}  // namespace qelvo::link
