#include <gtest/gtest.h>

#include "cli/backup_fixture.h"

namespace qelvo::cli::test {
namespace {

constexpr std::size_t kCurrentPercent = 37;  // Vehicle page, in the third Write block
constexpr std::size_t kHallAZero = 33;       // hidden, in the same block
constexpr int kThirdWriteBlock = 3;          // bytes 26..38

class VerifyOption : public CliWithController {
 protected:
  link::CalibrationImage Changed() const {
    link::CalibrationImage image = controller_.StoredBlock();
    image[kCurrentPercent] = 50;
    image[kHallAZero] ^= 0x01;
    return image;
  }
  void DropTheThirdWriteBlock() {
    sim::Faults faults;
    faults.dropWriteBlock = kThirdWriteBlock;
    controller_.SetFaults(faults);
  }
};

TEST_F(VerifyOption, CatchesAControllerThatIgnoresABlock) {
  const auto file = File("image.bin");
  WriteFile(file, Changed());
  DropTheThirdWriteBlock();

  // Without the check the write looks fine.
  const Outcome unchecked = Qelvo({"write", file.string(), "--port", port()});
  EXPECT_EQ(unchecked.status, 0) << unchecked.err;

  const Outcome run = Qelvo({"write", file.string(), "--verify", "--port", port()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "Write failure! The controller does not hold what was written:\n"
            "  Vehicle / Current Percent: written 50, holds 100\n"
            "  Other bytes differing: 1\n");
  EXPECT_EQ(run.out.find("Written to success."), std::string::npos) << run.out;
}

TEST_F(VerifyOption, GoesWithEveryCommandThatWrites) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  for (const Case& write : {
           Case{{"set", "Current Percent=50", "--verify"},
                "Write failure! The controller does not hold what was written:\n"
                "  Vehicle / Current Percent: written 50, holds 100\n"},
           // The zero points are hidden rows of the same block.
           Case{{"zero", "--store", "--verify"},
                "Write failure! The controller does not hold what was written:\n"
                "  Other bytes differing: "},
       }) {
    DropTheThirdWriteBlock();
    std::vector<std::string> args = write.args;
    args.insert(args.end(), {"--port", port()});
    const Outcome run = Qelvo(args);
    EXPECT_EQ(run.status, 1) << write.args[0];
    EXPECT_TRUE(run.err.starts_with(write.message)) << run.err;
  }
}

TEST_F(VerifyOption, PassesWhenTheBlockTook) {
  const link::CalibrationImage changed = Changed();
  const auto backup = File("backup.qbk");
  WriteBackupFile(backup, changed);
  const Outcome restore =
      Qelvo({"restore", backup.string(), "--yes", "--verify", "--port", port()});
  EXPECT_EQ(restore.status, 0) << restore.err;
  EXPECT_TRUE(restore.out.ends_with(
      "Verified: the controller holds every byte written.\nWritten to success.\n"))
      << restore.out;
  EXPECT_EQ(ChangedOffsets(controller_.StoredBlock(), changed), std::vector<std::size_t>{});

  const Outcome write = Qelvo({"write", backup.string(), "--verify", "--port", port()});
  EXPECT_EQ(write.status, 0) << write.err;
  EXPECT_EQ(write.out, "Verified: the controller holds every byte written.\nWritten to success.\n");
}

TEST_F(VerifyOption, ABlockThatCannotBeReadBackIsAFailure) {
  const auto file = File("image.bin");
  WriteFile(file, Changed());
  // The model check's Read block is answered; the ones after the Commit are not.
  sim::Faults faults;
  faults.silent = true;
  faults.onlyCommand = link::command::kReadBlock;
  faults.afterRequests = 1;
  controller_.SetFaults(faults);
  const Outcome run = Qelvo({"write", file.string(), "--verify", "--port", port()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "Write failure! The block could not be read back to verify it: Read data error.\n");
}

}  // namespace
}  // namespace qelvo::cli::test
