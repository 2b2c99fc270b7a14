#include <gtest/gtest.h>

#include "cli/backup_fixture.h"
#include "sim/default_image.h"

namespace qelvo::cli::test {
namespace {

constexpr std::size_t kCurrentPercent = 37;  // Vehicle page, 100 in the simulated block
constexpr std::size_t kIqKp = 128;           // Control page, two bytes, 1200
constexpr std::size_t kHiddenByte = 40;      // a reserved row no page shows
constexpr std::size_t kFlagByte = 20;        // bit 3 is a hidden flag, bit 0 a shown one

class DiffCommand : public CliWithController {
 protected:
  std::filesystem::path BackUp(const std::string& name) {
    const auto file = File(name);
    const Outcome run = Qelvo({"backup", "-o", file.string(), "--port", port()});
    EXPECT_EQ(run.status, 0) << run.err;
    return file;
  }
};

TEST_F(DiffCommand, TwoBackupsDifferInExactlyTheRowsChanged) {
  const auto before = BackUp("before.qbk");
  link::CalibrationImage changed = controller_.StoredBlock();
  changed[kCurrentPercent] = 50;
  changed[kIqKp] = 0x05;
  changed[kIqKp + 1] = 0x14;
  controller_.SetStoredBlock(changed);
  const auto after = BackUp("after.qbk");

  const Outcome run = Qelvo({"diff", before.string(), after.string()});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out,
            "Vehicle / Current Percent: 100 -> 50\n"
            "Control / IQ Kp: 1200 -> 1300\n"
            "Other bytes differing: 0\n");
  const Outcome same = Qelvo({"diff", after.string(), after.string()});
  EXPECT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(same.out, "Other bytes differing: 0\n");
}

TEST_F(DiffCommand, CountsTheBytesNoRowShows) {
  link::CalibrationImage file = controller_.StoredBlock();
  file[kHiddenByte] ^= 0x01;
  // A hidden flag beside shown flags in the same byte.
  file[kFlagByte] ^= 0x08;
  const auto raw = File("image.bin");
  WriteFile(raw, file);
  const Outcome run = Qelvo({"diff", raw.string(), "controller", "--port", port()});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out, "Other bytes differing: 2\n");
}

TEST_F(DiffCommand, ImagesOfTwoTablesCompareBytesOnly) {
  const auto current = BackUp("current.qbk");
  const auto older = File("older.bin");
  sim::Identity identity;
  identity.softwareVersion = 0x0106;
  const link::CalibrationImage olderImage = sim::DefaultImage(identity);
  WriteFile(older, olderImage);
  std::size_t differing = 0;
  const link::CalibrationImage stored = controller_.StoredBlock();
  for (std::size_t i = 0; i < stored.size(); ++i)
    differing += stored[i] != olderImage[i];

  const Outcome run = Qelvo({"diff", current.string(), older.string()});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out, current.string() + " is read with table 165, " + older.string() +
                         " with table 162: comparing bytes only.\nBytes differing: " +
                         std::to_string(differing) + "\n");
}

TEST(DiffTrouble, ExitsWithTwo) {
  test_support::TempDir dir;
  const auto good = dir.path() / "good.qbk";
  WriteBackupFile(good, sim::DefaultImage({}));
  const auto damaged = dir.path() / "damaged.qbk";
  std::ofstream(damaged) << "QELVO-BACKUP 1\nModule Name: AQV48S01\n0000: 41\n";
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  for (const Case& trouble : {
           Case{{"diff", good.string()}, "needs two images A and B"},
           Case{{"diff", "controller", "controller"}, "only one of A and B can be the controller"},
           Case{{"diff", good.string(), (dir.path() / "missing").string()}, "Cannot read"},
           Case{{"diff", damaged.string(), good.string()}, "line 3: 1 bytes where a line holds 16"},
           Case{{"diff", good.string(), "controller", "--port", "/nonexistent/tty"},
                "Controller no power or RS232 cable disconnect."},
       }) {
    const Outcome run = Qelvo(trouble.args);
    EXPECT_EQ(run.status, 2) << trouble.message;
    EXPECT_NE(run.err.find(trouble.message), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace qelvo::cli::test
