#include "link/port_list.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace qelvo::link {
namespace {

namespace fs = std::filesystem;
using test_support::TempDir;

// A /sys/class/tty look-alike: class entries are links to device directories, as in sysfs.
struct FakeSysfs {
  FakeSysfs() {
    fs::create_directories(root());
    fs::create_directories(dir.path() / "drivers");
  }

  fs::path root() const { return dir.path() / "class" / "tty"; }

  // drivers: the driver of the device, of its parent and so on; "" for a level without one.
  void AddPort(const std::string& name, const std::vector<std::string>& drivers) {
    fs::path device = dir.path() / "devices" / ("dev-" + name);
    for (std::size_t level = 1; level < drivers.size(); ++level) {
      device /= "child" + std::to_string(level);
    }
    fs::create_directories(device);
    fs::path level = device;
    for (const auto& driver : drivers) {
      if (!driver.empty()) {
        fs::create_directories(dir.path() / "drivers" / driver);
        fs::create_directory_symlink(dir.path() / "drivers" / driver, level / "driver");
      }
      level = level.parent_path();
    }
    const fs::path classDir = dir.path() / "devices" / ("tty-" + name);
    fs::create_directories(classDir);
    fs::create_directory_symlink(device, classDir / "device");
    fs::create_directory_symlink(classDir, root() / name);
  }

  void AddVirtual(const std::string& name) { fs::create_directories(root() / name); }

  TempDir dir;
};

TEST(EnumeratePortsTest, ListsDevicesInNaturalOrderWithoutLegacyUartsThatHaveNoHardware) {
  FakeSysfs sysfs;
  sysfs.AddPort("ttyS10", {"serial"});
  sysfs.AddPort("ttyUSB0", {"ftdi_sio"});
  sysfs.AddPort("ttyS2", {"serial"});
  sysfs.AddPort("ttyS0", {"port", "ctrl", "serial"});  // a serial-base port on a PnP UART
  sysfs.AddPort("ttyACM0", {"cdc_acm"});
  sysfs.AddPort("ttyS3", {});
  sysfs.AddPort("ttyLongAdapterName123", {"pl2303"});
  // Legacy 8250 slots, owned directly or through serial-base devices: only a probe of
  // /dev/<name> could show a UART behind them, and these cannot be opened.
  for (const char* name : {"/dev/ttyS250", "/dev/ttyS251"}) {
    ASSERT_NE(::access(name, F_OK), 0) << name;
  }
  sysfs.AddPort("ttyS250", {"serial8250"});
  sysfs.AddPort("ttyS251", {"port", "ctrl", "serial8250"});
  sysfs.AddVirtual("tty0");
  sysfs.AddVirtual("ptmx");
  sysfs.AddVirtual("console");

  const std::vector<std::string> expected = {
      "/dev/ttyACM0", "/dev/ttyLongAdapterName123",
      "/dev/ttyS0",   "/dev/ttyS2",
      "/dev/ttyS3",   "/dev/ttyS10",
      "/dev/ttyUSB0",
  };
  EXPECT_EQ(EnumeratePorts(sysfs.root().string()), expected);
}

TEST(EnumeratePortsTest, NumbersCompareByValueWhateverTheirLength) {
  FakeSysfs sysfs;
  for (const char* name : {"ttyUSB100", "ttyUSB9", "ttyUSB010", "ttyUSB1"}) {
    sysfs.AddPort(name, {"ftdi_sio"});
  }
  const std::vector<std::string> expected = {"/dev/ttyUSB1", "/dev/ttyUSB9", "/dev/ttyUSB010",
                                             "/dev/ttyUSB100"};
  EXPECT_EQ(EnumeratePorts(sysfs.root().string()), expected);
}

TEST(EnumeratePortsTest, AMissingOrEmptyTreeGivesNoPorts) {
  FakeSysfs sysfs;
  EXPECT_TRUE(EnumeratePorts(sysfs.root().string()).empty());
  EXPECT_TRUE(EnumeratePorts((sysfs.dir.path() / "nowhere").string()).empty());
}

}  // namespace
}  // namespace qelvo::link
