#include <gtest/gtest.h>

#include "sim/controller.h"
#include "sim_exchange.h"

namespace qelvo::sim {
namespace {

using namespace testing;
using namespace std::chrono_literals;

class ControllerFaultsTest : public ::testing::Test {
 protected:
  Bytes TrueReadAtZero() {
    const link::CalibrationImage stored = controller.StoredBlock();
    return MakeFrame(0xF2, std::span(stored).first(16));
  }
  Bytes WriteBlock(std::size_t address, std::uint8_t fill = 0x77) {
    return WriteBlockRequest(address, Bytes(13, fill));
  }

  SimulatedController controller{Identity{}, 1, kStart};
};

TEST_F(ControllerFaultsTest, ReplyFaultsSpoilTheReplyAsTold) {
  struct Case {
    const char* what;
    Faults faults;
    const char* reply;
  };
  const auto with = [](auto set) {
    Faults faults;
    set(faults);
    return faults;
  };
  const Case cases[] = {
      {"none", {}, "F1 00 F1"},
      {"silent", with([](Faults& f) { f.silent = true; }), ""},
      {"bad checksum", with([](Faults& f) { f.badChecksum = true; }), "F1 00 F2"},
      {"wrong command", with([](Faults& f) { f.wrongCommand = true; }), "71 00 71"},
      {"split", with([](Faults& f) { f.split = true; }), "F1 00 F1"},
  };
  for (const Case& c : cases) {
    controller.SetFaults(c.faults);
    EXPECT_EQ(Hex(Exchange(controller, MakeFrame(0xF1))), c.reply) << c.what;
  }
}

TEST_F(ControllerFaultsTest, AShortReplyCarriesHalfThePayloadWithAFittingChecksum) {
  Faults faults;
  faults.shortReply = true;
  controller.SetFaults(faults);
  const Bytes reply = Exchange(controller, ReadBlockRequest(0));
  const link::CalibrationImage stored = controller.StoredBlock();
  EXPECT_EQ(Hex(reply), Hex(MakeFrame(0xF2, std::span(stored).first(8))));
}

TEST_F(ControllerFaultsTest, ASplitReplyComesInPiecesShortOfTheReadGap) {
  Faults faults;
  faults.split = true;
  controller.SetFaults(faults);
  controller.Receive(ReadBlockRequest(0), kStart);
  const auto bytes = DrainTimed(controller);
  ASSERT_EQ(bytes.size(), 19u);
  int pieces = 1;
  for (std::size_t k = 1; k < bytes.size(); ++k) {
    const auto gap = bytes[k].due - bytes[k - 1].due;
    EXPECT_LT(gap, 20ms);
    pieces += gap > 0ms ? 1 : 0;
  }
  EXPECT_EQ(pieces, 3);
}

TEST_F(ControllerFaultsTest, ADelayHoldsTheReplyBack) {
  Faults faults;
  faults.delay = 40ms;
  controller.SetFaults(faults);
  controller.Receive(MakeFrame(0x11), kStart);
  EXPECT_EQ(controller.NextOutputDue(), kStart + 40ms);
  std::array<std::uint8_t, 8> out{};
  EXPECT_EQ(controller.TakeOutput(kStart + 39ms, out), 0u);
  EXPECT_EQ(controller.TakeOutput(kStart + 40ms, out), 6u);
}

TEST_F(ControllerFaultsTest, ASilentControllerDoesNotCarryOutTheRequest) {
  const link::CalibrationImage original = controller.StoredBlock();
  Exchange(controller, MakeFrame(0xF1));
  Faults faults;
  faults.silent = true;
  faults.onlyCommand = 0xF3;
  controller.SetFaults(faults);
  EXPECT_EQ(Hex(Exchange(controller, WriteBlock(0))), "");
  EXPECT_EQ(controller.StagedBlock(), original);

  controller.SetFaults({});
  Exchange(controller, WriteBlock(0));
  faults.onlyCommand = 0xF4;
  controller.SetFaults(faults);
  EXPECT_EQ(Hex(Exchange(controller, MakeFrame(0xF4))), "");
  EXPECT_EQ(controller.StoredBlock(), original);
}

TEST_F(ControllerFaultsTest, TheScopePicksTheCommandAndTheRequestNumber) {
  Faults faults;
  faults.silent = true;
  faults.onlyCommand = 0xF3;
  faults.afterRequests = 4;
  faults.requestCount = 1;
  controller.SetFaults(faults);
  EXPECT_EQ(Hex(Exchange(controller, MakeFrame(0xF1))), "F1 00 F1");
  for (int block = 1; block <= 7; ++block) {
    const bool answered = !Exchange(controller, WriteBlock(13 * block)).empty();
    EXPECT_EQ(answered, block != 5) << "block " << block;
    // Other commands in between neither count nor get the fault.
    EXPECT_EQ(Hex(Exchange(controller, MakeFrame(0x11))), "11 03 00 00 01 15");
  }
}

TEST_F(ControllerFaultsTest, FaultsFromARequestOnHitEveryLaterOne) {
  Faults faults;
  faults.badChecksum = true;
  faults.afterRequests = 2;
  controller.SetFaults(faults);
  EXPECT_EQ(Hex(Exchange(controller, MakeFrame(0xF1))), "F1 00 F1");
  EXPECT_EQ(Hex(Exchange(controller, MakeFrame(0xF1))), "F1 00 F1");
  for (int request = 3; request <= 5; ++request) {
    EXPECT_EQ(Hex(Exchange(controller, MakeFrame(0xF1))), "F1 00 F2") << "request " << request;
  }
}

TEST_F(ControllerFaultsTest, AnotherModuleAnswersOnceTheFirstReadIsDone) {
  const Bytes truth = TrueReadAtZero();
  Faults faults;
  faults.otherModule = true;
  controller.SetFaults(faults);
  EXPECT_EQ(Hex(Exchange(controller, ReadBlockRequest(0))), Hex(truth));
  Exchange(controller, ReadBlockRequest(16));

  const Bytes other = Exchange(controller, ReadBlockRequest(0));
  ASSERT_EQ(other.size(), truth.size());
  EXPECT_NE(Bytes(other.begin() + 2, other.begin() + 10),
            Bytes(truth.begin() + 2, truth.begin() + 10));
  // Same family and voltage class, same settings after the name, a checksum that fits.
  EXPECT_EQ(Bytes(other.begin() + 3, other.begin() + 7),
            Bytes(truth.begin() + 3, truth.begin() + 7));
  EXPECT_EQ(Bytes(other.begin() + 10, other.end() - 1), Bytes(truth.begin() + 10, truth.end() - 1));
  EXPECT_EQ(Hex(other), Hex(MakeFrame(0xF2, std::span(other).subspan(2, 16))));
}

TEST_F(ControllerFaultsTest, AnotherModuleAtOnceWhenNoTrueReadIsWanted) {
  const Bytes truth = TrueReadAtZero();
  Faults faults;
  faults.otherModule = true;
  faults.otherModuleAfterReads = 0;
  controller.SetFaults(faults);
  EXPECT_NE(Hex(Exchange(controller, ReadBlockRequest(0))), Hex(truth));
}

TEST_F(ControllerFaultsTest, ADroppedWriteBlockIsAcknowledgedButNotKept) {
  const link::CalibrationImage original = controller.StoredBlock();
  Faults faults;
  faults.dropWriteBlock = 2;
  controller.SetFaults(faults);
  for (int attempt = 0; attempt < 2; ++attempt) {
    Exchange(controller, MakeFrame(0xF1));
    for (std::size_t block = 0; block < 3; ++block) {
      EXPECT_EQ(Hex(Exchange(controller, WriteBlock(13 * block))), "F3 00 F3");
    }
    Exchange(controller, MakeFrame(0xF4));
    const link::CalibrationImage stored = controller.StoredBlock();
    EXPECT_EQ(stored[0], 0x77);
    EXPECT_EQ(stored[13], original[13]) << "attempt " << attempt;
    EXPECT_EQ(stored[25], original[25]);
    EXPECT_EQ(stored[26], 0x77);
  }
}

TEST_F(ControllerFaultsTest, ThePortVanishesOnceAfterTheWriteBlocksAndTheNextByte) {
  Faults faults;
  faults.vanishAfterWriteBlocks = 2;
  controller.SetFaults(faults);
  Exchange(controller, MakeFrame(0xF1));
  EXPECT_EQ(Hex(Exchange(controller, WriteBlock(0))), "F3 00 F3");
  EXPECT_EQ(Hex(Exchange(controller, WriteBlock(13))), "F3 00 F3");
  // The second block is answered; the port goes as the third starts to arrive.
  EXPECT_FALSE(controller.TakeVanish());
  EXPECT_EQ(Hex(Exchange(controller, WriteBlock(26))), "");
  EXPECT_TRUE(controller.TakeVanish());
  EXPECT_FALSE(controller.TakeVanish());
  EXPECT_EQ(controller.faults().vanishAfterWriteBlocks, 0);
  EXPECT_EQ(controller.StagedBlock()[26], controller.StoredBlock()[26]);

  controller.ResetLine();
  for (std::size_t block = 2; block < 6; ++block) {
    EXPECT_EQ(Hex(Exchange(controller, WriteBlock(13 * block))), "F3 00 F3");
  }
  EXPECT_FALSE(controller.TakeVanish());
}

TEST_F(ControllerFaultsTest, ResetLineForgetsHalfARequestAndUnsentReplies) {
  controller.Receive(MakeFrame(0x11), kStart);
  controller.Receive(Bytes{0xF2, 0x03}, kStart);
  controller.ResetLine();
  EXPECT_FALSE(controller.NextOutputDue());
  EXPECT_EQ(Hex(Exchange(controller, MakeFrame(0xF1))), "F1 00 F1");
}

}  // namespace
}  // namespace qelvo::sim
