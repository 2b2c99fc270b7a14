#include "link/port_list.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>

#include "link/unique_fd.h"

namespace qelvo::link {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDevicePrefix = "/dev/";
// The platform driver that owns the legacy 8250 ports, with or without a UART behind them.
constexpr std::string_view kLegacyUartDriver = "serial8250";

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Compares two runs of digits by value, however many digits they have.
int CompareNumbers(std::string_view a, std::string_view b) {
  auto strip = [](std::string_view s) {
    const auto first = s.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view{} : s.substr(first);
  };
  a = strip(a);
  b = strip(b);
  if (a.size() != b.size()) {
    return a.size() < b.size() ? -1 : 1;
  }
  return a.compare(b);
}

std::string_view TakeRun(std::string_view& s) {
  const bool digits = IsDigit(s.front());
  std::size_t n = 0;
  while (n < s.size() && IsDigit(s[n]) == digits) {
    ++n;
  }
  const auto run = s.substr(0, n);
  s.remove_prefix(n);
  return run;
}

// ttyS2 before ttyS10; the text between numbers compares as plain text (ttyACM before ttyS).
bool NaturalLess(std::string_view a, std::string_view b) {
  std::string_view restA = a;
  std::string_view restB = b;
  while (!restA.empty() && !restB.empty()) {
    const auto runA = TakeRun(restA);
    const auto runB = TakeRun(restB);
    const bool numbers = IsDigit(runA.front()) && IsDigit(runB.front());
    const int order = numbers ? CompareNumbers(runA, runB) : runA.compare(runB);
    if (order != 0) {
      return order < 0;
    }
  }
  if (restA.empty() != restB.empty()) {
    return restA.empty();
  }
  return a < b;  // "ttyS01" and "ttyS1" still get one stable order
}

// Newer kernels put a serial-base controller and port device between the tty and the device
// that owns it, so the driver is looked for on the device and two levels above it.
constexpr int kDriverSearchDepth = 3;

bool DriverIs(const fs::path& entry, std::string_view driver) {
  std::error_code error;
  fs::path device = fs::canonical(entry / "device", error);
  for (int level = 0; !error && level < kDriverSearchDepth; ++level) {
    std::error_code linkError;
    const fs::path target = fs::read_symlink(device / "driver", linkError);
    if (!linkError && target.filename() == driver) {
      return true;
    }
    device = device.parent_path();
  }
  return false;
}

// A legacy 8250 port is real only when the driver knows a UART type for it. A port that
// cannot be probed counts as absent.
bool HasUartBehind(const std::string& devicePath) {
  UniqueFd fd(::open(devicePath.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.valid()) {
    return false;
  }
  serial_struct info{};
  return ::ioctl(fd.get(), TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
}

}  // namespace

std::vector<std::string> EnumeratePorts(const std::string& sysfsRoot) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(sysfsRoot, error), end; !error && it != end; it.increment(error)) {
    const fs::path entry = it->path();
    std::error_code linkError;
    if (!fs::exists(fs::symlink_status(entry / "device", linkError))) {
      continue;  // virtual terminals, ptys, the console
    }
    std::string name = entry.filename().string();
    if (DriverIs(entry, kLegacyUartDriver) && !HasUartBehind(std::string(kDevicePrefix) + name)) {
      continue;
    }
    names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(), NaturalLess);
  std::vector<std::string> paths;
  paths.reserve(names.size());
  for (const auto& name : names) {
    paths.push_back(std::string(kDevicePrefix) + name);
  }
  return paths;
}

}  // namespace qelvo::link
