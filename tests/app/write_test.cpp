#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "app/app_harness.h"
#include "app/messages.h"
#include "app/templates/control_ids.h"

namespace qelvo::app::testing {
namespace {

using ui::Answer;
namespace command = link::command;

std::vector<std::u16string> TextsOf(std::initializer_list<MessageId> ids) {
  std::vector<std::u16string> texts;
  for (MessageId id : ids)
    texts.emplace_back(MessageOf(id).text);
  return texts;
}

sim::Faults Spoil(std::uint8_t onlyCommand, int requestCount = 0) {
  sim::Faults faults;
  faults.badChecksum = true;
  faults.onlyCommand = onlyCommand;
  faults.requestCount = requestCount;
  return faults;
}

sim::Faults OtherModuleAtTheCheck() {
  sim::Faults faults;
  faults.otherModule = true;
  faults.otherModuleAfterReads = 1;  // the start-up's Read saw the true name
  return faults;
}

struct WriteCase {
  const char* name;
  sim::Faults faults;
  std::vector<Answer> answers;
  std::vector<std::u16string> messages;
  std::u16string status;
  std::optional<ui::Rgb> colour;
  int modelChecks;  // Read block requests
  int prepares;
  int writeBlocks;
  int commits;
};

TEST(Write, Outcomes) {
  const WriteCase kCases[] = {
      {"success",
       {},
       {},
       TextsOf({MessageId::kWriteSuccess}),
       u"Write success!",
       ui::kSuccessGreen,
       1,
       3,
       40,
       1},
      {"no module name in reply",
       Spoil(command::kPrepare),
       {},
       TextsOf({MessageId::kModuleNameUnreadable}),
       u"Read success!",
       ui::kSuccessGreen,
       0,
       2,
       0,
       0},
      {"no reply to the module-name read",
       Spoil(command::kReadBlock),
       {},
       TextsOf({MessageId::kModuleNameUnreadable}),
       u"Read success!",
       ui::kSuccessGreen,
       1,
       2,
       0,
       0},
      {"another module name",
       OtherModuleAtTheCheck(),
       {},
       TextsOf({MessageId::kModuleNameMismatch}),
       u"Read success!",
       ui::kSuccessGreen,
       1,
       2,
       0,
       0},
      {"failing, retried, then given up",
       Spoil(command::kWriteBlock),
       {Answer::Retry, Answer::Cancel},
       TextsOf({MessageId::kWriteError, MessageId::kWriteError}),
       u"Write failure!",
       ui::kFailureRed,
       1,
       4,
       2,
       0},
      {"failing once, retried to success",
       Spoil(command::kWriteBlock, 1),
       {Answer::Retry},
       TextsOf({MessageId::kWriteError, MessageId::kWriteSuccess}),
       u"Write success!",
       ui::kSuccessGreen,
       1,
       4,
       41,
       1},
  };

  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    AppHarness h;
    h.UseSimulator();
    bool ran = false;
    h.RunMainWindow([&](ui::HeadlessDialog& w) {
      ran = true;
      // A change the Write must carry to the controller.
      h.state->image[300] ^= 0x01;
      h.line->ClearLog();
      h.line->controller().SetFaults(c.faults);
      h.backend.QueueAnswers(c.answers);
      w.Click(kWriteButtonId);

      EXPECT_EQ(h.MessageTexts(), c.messages);
      EXPECT_EQ(w.Text(kStatusLineId), c.status);
      EXPECT_EQ(w.TextColor(kStatusLineId), c.colour);
      EXPECT_EQ(h.line->Count(command::kReadBlock), c.modelChecks);
      EXPECT_EQ(h.line->Count(command::kPrepare), c.prepares);
      EXPECT_EQ(h.line->Count(command::kWriteBlock), c.writeBlocks);
      EXPECT_EQ(h.line->Count(command::kCommit), c.commits);
      // No page is shown after a Write, whatever came of it.
      EXPECT_EQ(h.mainWindow->currentPage(), kNoPage);
      EXPECT_FALSE(h.mainWindow->page(kVehiclePage)->IsShown());
      EXPECT_TRUE(w.Enabled(kReadButtonId));
      EXPECT_TRUE(w.Enabled(kWriteButtonId));
      EXPECT_EQ(h.line->controller().StoredBlock() == h.state->image, c.commits == 1);
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(h.state->writeSucceeded, c.commits == 1);
  }
}

TEST(Write, SendsTheCheckThenTheWholeImageThenTheCommit) {
  AppHarness h;
  h.UseSimulator();
  h.RunMainWindow([&](ui::HeadlessDialog& w) {
    h.line->ClearLog();
    w.Click(kWriteButtonId);
    std::vector<std::uint8_t> expected = {command::kPrepare, command::kPrepare, command::kReadBlock,
                                          command::kPrepare};
    expected.insert(expected.end(), 40, command::kWriteBlock);
    expected.push_back(command::kCommit);
    EXPECT_EQ(h.line->Commands(), expected);
  });
}

TEST(Write, AReadFailureAfterASuccessfulWriteIsRed) {
  AppHarness h;
  h.UseSimulator();
  h.RunMainWindow([&](ui::HeadlessDialog& w) {
    w.Click(kWriteButtonId);
    ASSERT_EQ(w.Text(kStatusLineId), u"Write success!");
    h.line->controller().SetFaults(Spoil(command::kReadBlock));
    h.backend.QueueAnswers({Answer::Cancel});
    w.Click(kReadButtonId);
    EXPECT_EQ(w.Text(kStatusLineId), u"Read failure!");
    EXPECT_EQ(w.TextColor(kStatusLineId), ui::kFailureRed);
  });
}

}  // namespace
}  // namespace qelvo::app::testing
