// The user's actions on a headless dialog: clicks, typing, focus and keys.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ui/headless/headless_backend.h"
#include "ui/recording_events.h"
#include "ui/test_templates.h"

namespace qelvo::ui {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::RecordingEvents;
using namespace testing;  // the template's ids

class HeadlessActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = backend_.CreateDialog(SmallWindow(), events_);
    d().Show();
    events_.log.clear();
  }
  HeadlessDialog& d() { return static_cast<HeadlessDialog&>(*window_); }

  HeadlessBackend backend_;
  RecordingEvents events_;
  std::unique_ptr<Dialog> window_;
};

TEST_F(HeadlessActionsTest, ACheckBoxTogglesBeforeItsOwnerHears) {
  std::vector<bool> markSeen;
  events_.onClicked = [&](int id) { markSeen.push_back(d().Checked(id)); };
  EXPECT_TRUE(d().Click(kCheckBox));
  EXPECT_TRUE(d().Click(kCheckBox));
  EXPECT_THAT(markSeen, ElementsAre(true, false));
  EXPECT_THAT(events_.log, ElementsAre("click 11", "click 11"));
}

TEST_F(HeadlessActionsTest, AClickedButtonTakesTheFocus) {
  EXPECT_TRUE(d().Click(kButton));
  EXPECT_EQ(d().FocusedControl(), kButton);
  EXPECT_THAT(events_.log, ElementsAre("click 10"));
}

TEST_F(HeadlessActionsTest, ControlsOutOfReachIgnoreTheUser) {
  struct Case {
    const char* name;
    std::function<void(HeadlessDialog&)> prepare;
    int id;
  };
  const Case cases[] = {
      {"disabled button", [](HeadlessDialog& d) { d.SetEnabled(kButton, false); }, kButton},
      {"hidden button", [](HeadlessDialog& d) { d.SetControlVisible(kButton, false); }, kButton},
      {"disabled check box", [](HeadlessDialog& d) { d.SetEnabled(kCheckBox, false); }, kCheckBox},
      {"hidden dialog", [](HeadlessDialog& d) { d.Hide(); }, kCheckBox},
      {"a label", [](HeadlessDialog&) {}, kLabel},
      {"an edit", [](HeadlessDialog&) {}, kEdit},
      {"unknown id", [](HeadlessDialog&) {}, 4242},
  };
  for (const auto& c : cases) {
    HeadlessBackend backend;
    RecordingEvents events;
    auto dialog = backend.CreateDialog(SmallWindow(), events);
    auto& d = static_cast<HeadlessDialog&>(*dialog);
    d.Show();
    c.prepare(d);
    events.log.clear();
    EXPECT_FALSE(d.Click(c.id)) << c.name;
    EXPECT_FALSE(d.Checked(kCheckBox)) << c.name;
    EXPECT_THAT(events.log, IsEmpty()) << c.name;
  }
}

TEST_F(HeadlessActionsTest, TypingFocusesTheEditAndReplacesItsText) {
  d().SetText(kEdit, u"12");
  EXPECT_TRUE(d().Type(kEdit, u"345"));
  EXPECT_TRUE(d().Type(kEdit, u"  odd text ~ "));
  EXPECT_EQ(d().Text(kEdit), u"  odd text ~ ");
  EXPECT_THAT(events_.log, ElementsAre("focus 1011")) << "the focus entered once";
}

TEST_F(HeadlessActionsTest, TypingNeedsAnEditTheUserCanReach) {
  d().SetText(kEdit, u"12");
  d().SetEnabled(kEdit, false);
  EXPECT_FALSE(d().Type(kEdit, u"99"));
  EXPECT_FALSE(d().Type(kHiddenEdit, u"99"));
  EXPECT_FALSE(d().Type(kLabel, u"99"));
  EXPECT_EQ(d().Text(kEdit), u"12");
  EXPECT_EQ(d().Text(kLabel), u"标签");
  EXPECT_THAT(events_.log, IsEmpty());
}

TEST_F(HeadlessActionsTest, FocusEntersAnEditOnlyOnAChange) {
  EXPECT_TRUE(d().Focus(kEdit));
  EXPECT_TRUE(d().Focus(kEdit));
  EXPECT_TRUE(d().Focus(kButton));
  EXPECT_TRUE(d().Focus(kEdit));
  d().SetFocus(kEdit);
  EXPECT_THAT(events_.log, ElementsAre("focus 1011", "focus 1011"));
}

TEST_F(HeadlessActionsTest, DisabledAndHiddenControlsCannotTakeTheFocus) {
  d().SetEnabled(kEdit, false);
  EXPECT_FALSE(d().Focus(kEdit));
  d().SetFocus(kEdit);
  EXPECT_FALSE(d().Focus(kHiddenEdit));
  EXPECT_FALSE(d().Focus(kLabel));
  EXPECT_EQ(d().FocusedControl(), kNoId);
  EXPECT_THAT(events_.log, IsEmpty());
}

TEST_F(HeadlessActionsTest, FocusLeavesAControlThatIsDisabledOrHidden) {
  d().Focus(kEdit);
  d().SetEnabled(kEdit, false);
  EXPECT_EQ(d().FocusedControl(), kNoId);
  d().SetEnabled(kEdit, true);
  d().Focus(kEdit);
  d().Hide();
  d().Show();
  d().Focus(kEdit);
  EXPECT_THAT(events_.log,
              ElementsAre("focus 1011", "focus 1011", "hidden", "shown", "focus 1011"));
}

TEST_F(HeadlessActionsTest, TabFollowsTheTemplateOrderPastWhatCannotTakeTheFocus) {
  d().SetEnabled(kButton, false);
  std::vector<int> visited;
  for (int i = 0; i < 4; ++i) {
    d().PressTab();
    visited.push_back(d().FocusedControl());
  }
  // Check box, edit, (hidden edit, disabled button, line, tips skipped), default button, again.
  EXPECT_THAT(visited, ElementsAre(kCheckBox, kEdit, kDefaultButton, kCheckBox));
  EXPECT_THAT(events_.log, ElementsAre("focus 1011"));
}

TEST_F(HeadlessActionsTest, EnterClicksAFocusedButtonAndOtherwiseIsTheOkKey) {
  d().Focus(kButton);
  d().PressEnter();
  d().Focus(kCheckBox);
  d().PressEnter();
  d().Focus(kEdit);
  d().PressEnter();
  EXPECT_FALSE(d().Checked(kCheckBox)) << "Enter does not toggle a check box";
  EXPECT_THAT(events_.log, ElementsAre("click 10", "ok key", "focus 1011", "ok key"));
}

TEST_F(HeadlessActionsTest, SpaceClicksTheFocusedButtonOrCheckBox) {
  d().Focus(kCheckBox);
  EXPECT_TRUE(d().PressSpace());
  d().Focus(kEdit);
  EXPECT_FALSE(d().PressSpace());
  EXPECT_TRUE(d().Checked(kCheckBox));
  EXPECT_THAT(events_.log, ElementsAre("click 11", "focus 1011"));
}

TEST_F(HeadlessActionsTest, EscapeAndCloseGoToTheOwner) {
  EXPECT_TRUE(d().PressEscape());
  EXPECT_TRUE(d().RequestClose());
  EXPECT_TRUE(d().IsShown()) << "the owner decides whether to close";
  d().Hide();
  EXPECT_FALSE(d().RequestClose());
  EXPECT_FALSE(d().PressEscape());
  EXPECT_THAT(events_.log, ElementsAre("cancel key", "close", "hidden"));
}

TEST_F(HeadlessActionsTest, APageHasNoKeysOrCloseBoxOfItsOwn) {
  RecordingEvents pageEvents;
  auto pageDialog = backend_.CreateDialog(SmallPage(), pageEvents, window_.get(), kPagePlace);
  auto& page = static_cast<HeadlessDialog&>(*pageDialog);
  page.Show();
  page.Focus(kButton);
  page.PressEnter();
  page.Focus(kEdit);
  page.PressEnter();
  page.PressEscape();
  EXPECT_FALSE(page.RequestClose());
  EXPECT_THAT(pageEvents.log, ElementsAre("shown", "click 10", "focus 1011"));
  EXPECT_THAT(events_.log, ElementsAre("ok key", "cancel key"));
}

TEST_F(HeadlessActionsTest, APageOfAHiddenWindowIsOutOfReach) {
  RecordingEvents pageEvents;
  auto pageDialog = backend_.CreateDialog(SmallPage(), pageEvents, window_.get(), kPagePlace);
  auto& page = static_cast<HeadlessDialog&>(*pageDialog);
  page.Show();
  d().Hide();
  EXPECT_TRUE(page.IsShown()) << "a page's own visibility stays";
  EXPECT_FALSE(page.Reachable());
  EXPECT_FALSE(page.Click(kButton));
  d().Show();
  EXPECT_TRUE(page.Click(kButton));
  EXPECT_THAT(pageEvents.log, ElementsAre("shown", "click 10"));
}

}  // namespace
}  // namespace qelvo::ui
