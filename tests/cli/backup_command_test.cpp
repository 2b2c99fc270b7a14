#include <gtest/gtest.h>

#include <unistd.h>

#include <cctype>
#include <functional>

#include "cli/backup_fixture.h"
#include "cli/image_or_backup.h"
#include "sim/default_image.h"

namespace qelvo::cli::test {
namespace {

constexpr std::size_t kCurrentPercent = 37;  // Vehicle page, 100 in the simulated block
constexpr std::size_t kHiddenByte = 40;      // a reserved row no page shows
const std::vector<std::size_t> kNone;

// "AQV48S01-23110042-" then the date and time, "20261210-114500", and the extension.
bool IsTimeStampedName(const std::string& name) {
  const std::string prefix = "AQV48S01-23110042-", pattern = "dddddddd-dddddd.qbk";
  if (!name.starts_with(prefix) || name.size() != prefix.size() + pattern.size())
    return false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = name[prefix.size() + i];
    if (pattern[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(c)) : c != pattern[i])
      return false;
  }
  return true;
}

class BackupCommand : public CliWithController {
 protected:
  // The stored block with one shown and one hidden byte changed.
  link::CalibrationImage Changed() const {
    link::CalibrationImage changed = controller_.StoredBlock();
    changed[kCurrentPercent] = 50;
    changed[kHiddenByte] ^= 0xFF;
    return changed;
  }
  std::filesystem::path BackUp() {
    const auto file = File("saved.qbk");
    const Outcome run = Qelvo({"backup", "-o", file.string(), "--port", port()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Backup of AQV48S01 written to " + file.string() + "\n");
    return file;
  }
};

TEST_F(BackupCommand, RestoreGivesBackTheBlockBackedUp) {
  const link::CalibrationImage original = controller_.StoredBlock();
  const auto file = BackUp();
  controller_.SetStoredBlock(Changed());

  const Outcome run = Qelvo({"restore", file.string(), "--yes", "--port", port()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "Changes to AQV48S01 (controller -> backup):\n"
            "  Vehicle / Current Percent: 50 -> 100\n"
            "  Other bytes differing: 1\n"
            "Written to success.\n");
  EXPECT_EQ(ChangedOffsets(controller_.StoredBlock(), original), kNone);
}

TEST_F(BackupCommand, NamesItsFileAfterTheControllerAndTheTime) {
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(dir_.path());
  const Outcome run = Qelvo({"backup", "--port", port()});
  std::filesystem::current_path(before);
  ASSERT_EQ(run.status, 0) << run.err;

  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
    files.push_back(entry.path());
  ASSERT_EQ(files.size(), 1u);
  const std::string name = files[0].filename().string();
  EXPECT_TRUE(IsTimeStampedName(name)) << name;
  const ImageOrBackup read = ReadImageOrBackup(files[0].string());
  ASSERT_TRUE(read.image) << read.error;
  EXPECT_EQ(*read.image, controller_.StoredBlock());
  EXPECT_NE(ReadFile(files[0]).size(), 0u);
}

TEST_F(BackupCommand, WritesOnlyAfterAClearYes) {
  const link::CalibrationImage original = controller_.StoredBlock();
  const link::CalibrationImage changed = Changed();
  const auto file = BackUp();
  struct Answer {
    std::string input;
    bool writes;
  };
  for (const Answer& answer :
       {Answer{"y\n", true}, Answer{"yes\n", true}, Answer{" Y \n", true}, Answer{"n\n", false},
        Answer{"\n", false}, Answer{"yess\n", false}, Answer{"y es\n", false}, Answer{"", false}}) {
    controller_.SetStoredBlock(changed);
    controller_.ClearRequestLog();
    const Outcome run = QelvoAnswering({"restore", file.string(), "--port", port()}, answer.input);
    EXPECT_NE(run.out.find("Write these changes to the controller? [y/N] "), std::string::npos);
    EXPECT_EQ(run.status, answer.writes ? 0 : 1) << answer.input << run.err;
    EXPECT_EQ(ChangedOffsets(controller_.StoredBlock(), answer.writes ? original : changed), kNone)
        << answer.input;
    if (!answer.writes) {
      EXPECT_EQ(run.err, "Nothing written.\n");
      EXPECT_EQ(RequestsSeen(link::command::kWriteBlock), 0u) << answer.input;
    }
  }
}

TEST_F(BackupCommand, NothingToChangeWritesNothing) {
  const auto file = BackUp();
  controller_.ClearRequestLog();
  const Outcome run = Qelvo({"restore", file.string(), "--port", port()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "The controller already holds this backup; nothing to write.\n");
  EXPECT_EQ(RequestsSeen(link::command::kWriteBlock), 0u);
}

TEST_F(BackupCommand, AnInterruptedRestoreLeavesTheOldBlock) {
  const auto file = BackUp();
  const link::CalibrationImage changed = Changed();
  controller_.SetStoredBlock(changed);
  sim::Faults faults;
  faults.vanishAfterWriteBlocks = 5;
  controller_.SetFaults(faults);

  const Outcome run = Qelvo({"restore", file.string(), "--yes", "--port", port()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Error writing data."), std::string::npos) << run.err;
  EXPECT_EQ(RequestsSeen(link::command::kCommit), 0u);
  EXPECT_EQ(ChangedOffsets(controller_.StoredBlock(), changed), kNone);
}

TEST_F(BackupCommand, ServesWhereARawImageDoes) {
  const auto file = BackUp();
  const Outcome show = Qelvo({"show", "--image", file.string()});
  EXPECT_EQ(show.status, 0) << show.err;
  EXPECT_NE(show.out.find("  Current Percent = 100  (20..100)\n"), std::string::npos);

  // set keeps a backup a backup, header and all.
  const ImageOrBackup before = ReadImageOrBackup(file.string());
  const Outcome set = Qelvo({"set", "--image", file.string(), "Current Percent=50"});
  EXPECT_EQ(set.status, 0) << set.err;
  const ImageOrBackup after = ReadImageOrBackup(file.string());
  ASSERT_TRUE(after.backup) << after.error;
  EXPECT_EQ(after.backup->created, before.backup->created);
  EXPECT_EQ(ChangedOffsets(*before.image, *after.image), std::vector<std::size_t>{kCurrentPercent});
  const std::vector<std::uint8_t> bytes = ReadFile(file);
  EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("\n# Vehicle / Current Percent = 50 "),
            std::string::npos);
}

struct Refusal {
  const char* name;
  // Sets the controller up and gives the block of the backup to restore onto it.
  std::function<link::CalibrationImage(sim::SimulatedController&)> arrange;
  std::string message;
};

class RestoreRefuses : public CliWithController, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RestoreRefuses, BeforeAnyWriteBlock) {
  const link::CalibrationImage backedUp = GetParam().arrange(controller_);
  const link::CalibrationImage before = controller_.StoredBlock();
  const auto file = File("backup.qbk");
  WriteBackupFile(file, backedUp);
  const Outcome run = Qelvo({"restore", file.string(), "--yes", "--port", port()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
  EXPECT_EQ(RequestsSeen(link::command::kWriteBlock), 0u);
  EXPECT_EQ(ChangedOffsets(controller_.StoredBlock(), before), kNone);
}

sim::Identity OfVoltageClass(const std::string& voltageClass) {
  sim::Identity identity;
  identity.voltageClass = voltageClass;
  return identity;
}

sim::Identity OfVersion(std::uint16_t softwareVersion) {
  sim::Identity identity;
  identity.softwareVersion = softwareVersion;
  return identity;
}

link::CalibrationImage WithCurrentPercent(link::CalibrationImage image, std::uint8_t value) {
  image[kCurrentPercent] = value;
  return image;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RestoreRefuses,
    ::testing::Values(
        Refusal{"AnotherModel",
                [](sim::SimulatedController& controller) {
                  const link::CalibrationImage backedUp = controller.StoredBlock();
                  controller.SetStoredBlock(sim::DefaultImage(OfVoltageClass("72")));
                  return WithCurrentPercent(backedUp, 50);
                },
                "the control's Module Name is not match with the writing data.\n"
                "The backup is of AQV48S01, the controller is AQV72S01."},
        Refusal{"ControllerSwappedAfterTheRead",
                [](sim::SimulatedController& controller) {
                  sim::Faults faults;
                  faults.otherModule = true;
                  faults.otherModuleAfterReads = 1;
                  controller.SetFaults(faults);
                  return WithCurrentPercent(controller.StoredBlock(), 50);
                },
                "the control's Module Name is not match with the writing data."},
        Refusal{"OtherSoftwareVersion",
                [](sim::SimulatedController& controller) {
                  return WithCurrentPercent(sim::DefaultImage(OfVersion(0x0106)),
                                            controller.StoredBlock()[kCurrentPercent]);
                },
                "The backup's settings are those of table 162; the controller's software uses "
                "table 165. Nothing written."}),
    [](const auto& info) { return std::string(info.param.name); });

// Each is refused by the file alone: the port named does not exist.
TEST(RestoreOfAFile, IsRefusedBeforeAnyPortIsTouched) {
  test_support::TempDir dir;
  const link::CalibrationImage image = sim::DefaultImage({});
  link::CalibrationImage otherFamily = image;
  otherFamily[1] = 'X';
  const auto damaged = dir.path() / "damaged.qbk";
  WriteBackupFile(damaged, image);
  const std::vector<std::uint8_t> bytes = ReadFile(damaged);
  std::string text(bytes.begin(), bytes.end());
  text.replace(text.find("0010: 01 09"), 11, "0010: 01 08");
  std::ofstream(damaged) << text;
  const auto unknown = dir.path() / "unknown.qbk";
  WriteBackupFile(unknown, otherFamily);
  const auto old = dir.path() / "old.qbk";
  WriteBackupFile(old, sim::DefaultImage(OfVersion(0x0103)));
  const auto raw = dir.path() / "raw.bin";
  WriteFile(raw, image);

  struct Case {
    std::filesystem::path file;
    std::string message;
  };
  for (const Case& refused : {
           Case{damaged, damaged.string() + ", line 46: CRC-32 mismatch"},
           Case{unknown, "Does not support this model, please choose the right software.\n"},
           Case{old, "Software version does not match, please use the latest software.\n"},
           Case{raw, raw.string() + " is a raw image, not a backup: 'qelvo write' writes it.\n"},
           Case{dir.path() / "missing.qbk", "Cannot read " + (dir.path() / "missing.qbk").string()},
       }) {
    const Outcome run = Qelvo({"restore", refused.file.string(), "--port", "/nonexistent/tty"});
    EXPECT_EQ(run.status, 1) << refused.file;
    EXPECT_TRUE(run.err.starts_with(refused.message)) << run.err;
  }
}

}  // namespace
}  // namespace qelvo::cli::test
