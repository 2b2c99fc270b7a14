// Scripted message boxes, modal runs and posted tasks of the headless backend.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ui/headless/headless_backend.h"
#include "ui/recording_events.h"
#include "ui/test_templates.h"

namespace qelvo::ui {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::RecordingEvents;
using namespace testing;  // the template's ids
using namespace std::chrono_literals;

// ---- Message boxes ----

TEST(HeadlessMessagesTest, AnswersFromTheScriptAndRecordsEveryBox) {
  HeadlessBackend backend;
  backend.QueueAnswers({Answer::Retry, Answer::Cancel});
  EXPECT_EQ(backend.ShowMessage(u"Read data error.", Buttons::RetryCancel, Icon::None),
            Answer::Retry);
  EXPECT_EQ(backend.ShowMessage(u"line one\r\nline two", Buttons::RetryCancel, Icon::None),
            Answer::Cancel);
  ASSERT_EQ(backend.Messages().size(), 2u);
  const MessageRecord& second = backend.Messages()[1];
  EXPECT_EQ(second.text, u"line one\r\nline two");
  EXPECT_EQ(second.buttons, Buttons::RetryCancel);
  EXPECT_EQ(second.icon, Icon::None);
  EXPECT_EQ(second.answer, Answer::Cancel);
  EXPECT_TRUE(second.scripted);
  EXPECT_FALSE(backend.ScriptRanDry());
  EXPECT_EQ(backend.PendingAnswers(), 0u);
}

TEST(HeadlessMessagesTest, AnEmptyScriptGivesUpAndSaysSo) {
  const struct {
    Buttons buttons;
    Answer givingUp;
  } cases[] = {
      {Buttons::Ok, Answer::Ok},
      {Buttons::OkCancel, Answer::Cancel},
      {Buttons::YesNo, Answer::No},
      {Buttons::RetryCancel, Answer::Cancel},
  };
  for (const auto& c : cases) {
    HeadlessBackend backend;
    EXPECT_EQ(backend.ShowMessage(u"?", c.buttons, Icon::Question), c.givingUp);
    EXPECT_TRUE(backend.ScriptRanDry());
    ASSERT_EQ(backend.Messages().size(), 1u);
    EXPECT_FALSE(backend.Messages()[0].scripted);
    EXPECT_EQ(backend.Messages()[0].answer, c.givingUp);
  }
}

TEST(HeadlessMessagesTest, AnAnswerTheBoxDoesNotOfferIsAFaultInTheScript) {
  HeadlessBackend backend;
  backend.QueueAnswers({Answer::Retry, Answer::Yes});
  // Retry is no button of a Yes/No box: the user could only have said Yes or No.
  EXPECT_EQ(backend.ShowMessage(u"Warning", Buttons::YesNo, Icon::Question), Answer::No);
  EXPECT_TRUE(backend.ScriptMisfit());
  EXPECT_FALSE(backend.ScriptRanDry());
  EXPECT_EQ(backend.ShowMessage(u"Warning", Buttons::YesNo, Icon::Question), Answer::Yes)
      << "the misfit answer was used up";
}

TEST(HeadlessMessagesTest, ClearingTheRecordKeepsTheQueuedAnswers) {
  HeadlessBackend backend;
  backend.ShowMessage(u"a", Buttons::Ok, Icon::Exclamation);
  backend.QueueAnswers({Answer::Cancel});
  backend.ClearMessages();
  EXPECT_THAT(backend.Messages(), IsEmpty());
  EXPECT_FALSE(backend.ScriptRanDry());
  EXPECT_EQ(backend.ShowMessage(u"b", Buttons::OkCancel, Icon::Question), Answer::Cancel);
}

// ---- Modal runs ----

class HeadlessModalTest : public ::testing::Test {
 protected:
  HeadlessBackend backend_;
  RecordingEvents events_;
};

TEST_F(HeadlessModalTest, EndedDuringInitItIsNeverShown) {
  auto dialog = backend_.CreateDialog(SmallWindow(), events_);
  events_.onInit = [&] { dialog->EndModal(kResultCancel); };
  bool handlerRan = false;
  backend_.OnModal(200, [&](HeadlessDialog&) { handlerRan = true; });
  EXPECT_EQ(dialog->RunModal(), kResultCancel);
  EXPECT_FALSE(handlerRan);
  EXPECT_THAT(events_.log, ElementsAre("init"));
  ASSERT_EQ(backend_.ModalRuns().size(), 1u);
  EXPECT_FALSE(backend_.ModalRuns()[0].shown);
}

TEST_F(HeadlessModalTest, TheHandlerActsWhileTheDialogIsShown) {
  auto dialog = backend_.CreateDialog(SmallWindow(), events_);
  events_.onClicked = [&](int id) {
    if (id == kButton)
      dialog->EndModal(kResultOk);
  };
  backend_.OnModal(200, [&](HeadlessDialog& d) {
    EXPECT_TRUE(d.IsShown());
    EXPECT_TRUE(d.InModalRun());
    d.Type(kEdit, u"7");
    EXPECT_TRUE(d.Click(kButton));
    EXPECT_FALSE(d.IsShown()) << "EndModal hides at once";
    EXPECT_FALSE(d.Click(kButton)) << "an ended dialog is out of reach";
  });
  EXPECT_EQ(dialog->RunModal(), kResultOk);
  EXPECT_EQ(dialog->Text(kEdit), u"7");
  EXPECT_THAT(events_.log, ElementsAre("init", "shown", "focus 1011", "click 10", "hidden"));
  ASSERT_EQ(backend_.ModalRuns().size(), 1u);
  EXPECT_TRUE(backend_.ModalRuns()[0].shown);
  EXPECT_EQ(backend_.ModalRuns()[0].result, kResultOk);
}

TEST_F(HeadlessModalTest, EndsWithCancelWhenNobodyEndsIt) {
  auto dialog = backend_.CreateDialog(SmallWindow(), events_);
  EXPECT_EQ(dialog->RunModal(), kResultCancel);
  backend_.OnModal(200, [](HeadlessDialog& d) { d.PressEscape(); });
  EXPECT_EQ(dialog->RunModal(), kResultCancel);
  EXPECT_THAT(events_.log,
              ElementsAre("init", "shown", "hidden", "init", "shown", "cancel key", "hidden"));
}

TEST_F(HeadlessModalTest, RunsNestedAndRefusesToRunInsideItself) {
  RecordingEvents innerEvents;
  auto outer = backend_.CreateDialog(SmallWindow(), events_);
  std::unique_ptr<Dialog> inner;
  int innerResult = 0;
  events_.onClicked = [&](int) {
    inner = backend_.CreateDialog(SmallWindow(WindowStyle::Popup, 166), innerEvents, outer.get());
    innerResult = inner->RunModal();
    inner.reset();
  };
  backend_.OnModal(166, [&](HeadlessDialog& d) {
    EXPECT_EQ(outer->RunModal(), kResultCancel) << "already running";
    d.EndModal(kResultOk);
  });
  backend_.OnModal(200, [&](HeadlessDialog& d) {
    d.Click(kButton);
    d.EndModal(kResultOk);
  });
  EXPECT_EQ(outer->RunModal(), kResultOk);
  EXPECT_EQ(innerResult, kResultOk);
  ASSERT_EQ(backend_.ModalRuns().size(), 2u);
  EXPECT_EQ(backend_.ModalRuns()[0].templateId, 166) << "the inner run ends first";
  EXPECT_EQ(backend_.ModalRuns()[1].templateId, 200);
}

TEST_F(HeadlessModalTest, EndModalOutsideARunDoesNothing) {
  auto dialog = backend_.CreateDialog(SmallWindow(), events_);
  dialog->Show();
  dialog->EndModal(kResultOk);
  EXPECT_TRUE(dialog->IsShown());
  EXPECT_TRUE(backend_.ModalRuns().empty());
}

TEST_F(HeadlessModalTest, AHandlerCanReplaceItselfWhileRunning) {
  auto dialog = backend_.CreateDialog(SmallWindow(), events_);
  int runs = 0;
  backend_.OnModal(200, [&](HeadlessDialog& d) {
    ++runs;
    backend_.OnModal(200, nullptr);
    d.EndModal(kResultOk);
  });
  EXPECT_EQ(dialog->RunModal(), kResultOk);
  EXPECT_EQ(dialog->RunModal(), kResultCancel);
  EXPECT_EQ(runs, 1);
}

TEST_F(HeadlessModalTest, ADialogDestroyedByItsHandlerEndsItsRunSafely) {
  auto dialog = backend_.CreateDialog(SmallWindow(), events_);
  backend_.OnModal(200, [&](HeadlessDialog&) { dialog.reset(); });
  EXPECT_EQ(dialog->RunModal(), kResultCancel);
  EXPECT_EQ(dialog, nullptr);
  EXPECT_THAT(events_.log, ElementsAre("init", "shown", "hidden"));
  ASSERT_EQ(backend_.ModalRuns().size(), 1u);
}

TEST(HeadlessLifetimeTest, DialogsMayOutliveTheBackend) {
  RecordingEvents events;
  std::unique_ptr<Dialog> dialog;
  {
    HeadlessBackend backend;
    dialog = backend.CreateDialog(SmallWindow(), events);
    dialog->Show();
  }
  EXPECT_EQ(dialog->RunModal(), kResultCancel);
  dialog.reset();
  EXPECT_THAT(events.log, ElementsAre("shown", "init", "hidden"));
}

// ---- Posted tasks ----

TEST(HeadlessPostTest, TasksFromAnotherThreadRunOnTheTestThread) {
  HeadlessBackend backend;
  std::vector<std::thread::id> ranOn;
  std::thread worker([&] {
    for (int i = 0; i < 3; ++i)
      backend.Post([&] { ranOn.push_back(std::this_thread::get_id()); });
  });
  ASSERT_TRUE(backend.WaitForPosted(5s, 3));
  worker.join();
  EXPECT_TRUE(ranOn.empty()) << "nothing runs until the test says";
  EXPECT_EQ(backend.RunPosted(), 3u);
  EXPECT_THAT(ranOn, ElementsAre(std::this_thread::get_id(), std::this_thread::get_id(),
                                 std::this_thread::get_id()));
  EXPECT_EQ(backend.RunPosted(), 0u);
}

TEST(HeadlessPostTest, ATaskPostedByATaskWaitsForTheNextRun) {
  HeadlessBackend backend;
  std::vector<int> order;
  backend.Post([&] {
    order.push_back(1);
    backend.Post([&] { order.push_back(3); });
  });
  backend.Post([&] { order.push_back(2); });
  EXPECT_EQ(backend.RunPosted(), 2u);
  EXPECT_EQ(backend.PendingPosted(), 1u);
  EXPECT_EQ(backend.RunPosted(), 1u);
  EXPECT_THAT(order, ElementsAre(1, 2, 3));
}

TEST(HeadlessPostTest, WaitingGivesUpAtTheTimeout) {
  HeadlessBackend backend;
  EXPECT_FALSE(backend.WaitForPosted(20ms));
  EXPECT_FALSE(backend.RunPostedUntil([] { return false; }, 20ms));
}

TEST(HeadlessPostTest, RunsTasksAsTheyArriveUntilTheConditionHolds) {
  HeadlessBackend backend;
  std::atomic<bool> stop{false};
  int ticks = 0;
  std::thread worker([&] {
    while (!stop) {
      backend.Post([&] { ++ticks; });
      std::this_thread::sleep_for(2ms);
    }
  });
  EXPECT_TRUE(backend.RunPostedUntil([&] { return ticks >= 5; }, 5s));
  stop = true;
  worker.join();
  EXPECT_GE(ticks, 5);
}

}  // namespace
}  // namespace qelvo::ui
