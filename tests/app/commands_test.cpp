#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app_harness.h"
#include "app/messages.h"
#include "app/templates/control_ids.h"

namespace qelvo::app::testing {
namespace {

using ui::Answer;

struct Outcome {
  NotificationLog log;  // after the start-up's "1+"
  int currentPage = 0;
  bool readWriteEnabled = true;
  std::vector<std::u16string> messages;
  bool windowOpen = true;
  int writeBlocks = 0;
};

struct GuardCase {
  const char* name;
  // Acts as the user once the window is shown with the Vehicle page.
  std::function<void(AppHarness&, ui::HeadlessDialog&)> act;
  Outcome expected;
};

void Refuse(AppHarness& h, std::initializer_list<int> pages) {
  for (int p : pages)
    h.pages.records[p].valid = false;
}

void FailEveryRead(AppHarness& h) {
  sim::Faults faults;
  faults.badChecksum = true;
  faults.onlyCommand = link::command::kReadBlock;
  h.line->controller().SetFaults(faults);
}

std::u16string TextOf(MessageId id) {
  return std::u16string(MessageOf(id).text);
}

TEST(Commands, Guards) {
  const GuardCase kCases[] = {
      {"the page already shown twice: no hide, no refill",
       [](AppHarness&, ui::HeadlessDialog& w) { w.Click(kVehicleButtonId); },
       {{}, kVehiclePage, true, {}, true, 0}},
      {"another page",
       [](AppHarness&, ui::HeadlessDialog& w) { w.Click(kMotorButtonId); },
       {{"1-", "3+"}, kMotorPage, true, {}, true, 0}},
      {"a page that refused a value keeps the user",
       [](AppHarness& h, ui::HeadlessDialog& w) {
         Refuse(h, {kVehiclePage});
         w.Click(kControlButtonId);
       },
       {{"1-", "1+"}, kVehiclePage, true, {}, true, 0}},
      {"Write from a page that refused a value does not write",
       [](AppHarness& h, ui::HeadlessDialog& w) {
         Refuse(h, {kVehiclePage});
         w.Click(kWriteButtonId);
       },
       {{"1-", "1+"}, kVehiclePage, true, {}, true, 0}},
      {"Monitor can always be entered and disables Read and Write",
       [](AppHarness& h, ui::HeadlessDialog& w) {
         Refuse(h, {kVehiclePage});
         w.Click(kMonitorButtonId);
       },
       {{"1-", "4+"}, kMonitorPage, false, {}, true, 0}},
      {"Monitor twice does nothing",
       [](AppHarness&, ui::HeadlessDialog& w) {
         w.Click(kMonitorButtonId);
         w.Click(kMonitorButtonId);
       },
       {{"1-", "4+"}, kMonitorPage, false, {}, true, 0}},
      {"from Monitor every page is reachable without a check",
       [](AppHarness& h, ui::HeadlessDialog& w) {
         Refuse(h, {kVehiclePage, kControlPage, kMotorPage, kComPage});
         for (int button : {kControlButtonId, kMotorButtonId, kComButtonId, kVehicleButtonId}) {
           w.Click(kMonitorButtonId);
           w.Click(button);
         }
       },
       {{"1-", "4+", "4-", "2+", "2-", "4+", "4-", "3+", "3-", "4+", "4-", "5+", "5-", "4+", "4-",
         "1+"},
        kVehiclePage,
        true,
        {},
        true,
        0}},
      {"after a failed Read only Read does anything",
       [](AppHarness& h, ui::HeadlessDialog& w) {
         FailEveryRead(h);
         h.backend.QueueAnswers({Answer::Cancel});
         w.Click(kReadButtonId);
         for (int button : {kControlButtonId, kMonitorButtonId, kWriteButtonId})
           w.Click(button);
       },
       {{"1-"}, kNoPage, true, {TextOf(MessageId::kReadError)}, true, 0}},
      {"close, then Cancel, brings the page back",
       [](AppHarness& h, ui::HeadlessDialog& w) {
         h.backend.QueueAnswers({Answer::Cancel});
         w.RequestClose();
       },
       {{"1-", "1+"}, kVehiclePage, true, {TextOf(MessageId::kConfirmExit)}, true, 0}},
      {"close, then Cancel, on Monitor starts the monitor again",
       [](AppHarness& h, ui::HeadlessDialog& w) {
         w.Click(kMonitorButtonId);
         h.backend.QueueAnswers({Answer::Cancel});
         w.RequestClose();
       },
       {{"1-", "4+", "4-", "4+"}, kMonitorPage, false, {TextOf(MessageId::kConfirmExit)}, true, 0}},
      {"close, then OK, ends the window",
       [](AppHarness& h, ui::HeadlessDialog& w) {
         h.backend.QueueAnswers({Answer::Ok});
         w.RequestClose();
       },
       {{"1-"}, kNoPage, true, {TextOf(MessageId::kConfirmExit)}, false, 0}},
      {"Quit ends at once without asking",
       [](AppHarness&, ui::HeadlessDialog& w) { w.Click(kQuitButtonId); },
       {{}, kVehiclePage, true, {}, false, 0}},
      {"Esc ends at once without asking",
       [](AppHarness&, ui::HeadlessDialog& w) { w.PressEscape(); },
       {{}, kVehiclePage, true, {}, false, 0}},
      {"Enter leaves the window open",
       [](AppHarness&, ui::HeadlessDialog& w) { w.PressEnter(); },
       {{}, kVehiclePage, true, {}, true, 0}},
  };

  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    AppHarness h;
    h.UseSimulator();
    Outcome seen;
    bool ran = false;
    h.RunMainWindow([&](ui::HeadlessDialog& w) {
      ran = true;
      h.pages.log.clear();
      h.backend.ClearMessages();
      h.line->ClearLog();
      c.act(h, w);
      seen.log = h.pages.log;
      seen.currentPage = h.mainWindow->currentPage();
      seen.readWriteEnabled = w.Enabled(kReadButtonId) && w.Enabled(kWriteButtonId);
      EXPECT_EQ(w.Enabled(kReadButtonId), w.Enabled(kWriteButtonId));
      seen.messages = h.MessageTexts();
      seen.windowOpen = w.IsShown();
      seen.writeBlocks = h.line->Count(link::command::kWriteBlock);
      // A page is visible exactly when one is current.
      for (int p = 1; p <= kPageCount; ++p)
        EXPECT_EQ(h.mainWindow->page(p)->IsShown(), p == seen.currentPage) << p;
    });
    ASSERT_TRUE(ran);
    EXPECT_EQ(seen.log, c.expected.log);
    EXPECT_EQ(seen.currentPage, c.expected.currentPage);
    EXPECT_EQ(seen.readWriteEnabled, c.expected.readWriteEnabled);
    EXPECT_EQ(seen.messages, c.expected.messages);
    EXPECT_EQ(seen.windowOpen, c.expected.windowOpen);
    EXPECT_EQ(seen.writeBlocks, c.expected.writeBlocks);
  }
}

}  // namespace
}  // namespace qelvo::app::testing
