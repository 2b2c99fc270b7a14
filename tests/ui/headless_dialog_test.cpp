// The state a headless dialog keeps and the notifications it gives.
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

class HeadlessDialogTest : public ::testing::Test {
 protected:
  HeadlessDialog& Make(const DialogTemplate& tmpl, RecordingEvents& events,
                       Dialog* parent = nullptr, std::optional<Rect> place = std::nullopt) {
    owned_.push_back(backend_.CreateDialog(tmpl, events, parent, place));
    return static_cast<HeadlessDialog&>(*owned_.back());
  }

  HeadlessBackend backend_;
  RecordingEvents events_;
  std::vector<std::unique_ptr<Dialog>> owned_;
};

TEST_F(HeadlessDialogTest, StartsFromTheTemplate) {
  auto& d = Make(SmallWindow(), events_);
  EXPECT_FALSE(d.IsShown());
  EXPECT_EQ(d.Caption(), u"Small window");
  EXPECT_EQ(d.Text(kButton), u"Go");
  EXPECT_EQ(d.Text(kLabel), u"标签");
  EXPECT_TRUE(d.ControlVisible(kEdit));
  EXPECT_FALSE(d.ControlVisible(kHiddenEdit));
  EXPECT_TRUE(d.Enabled(kEdit));
  EXPECT_FALSE(d.Checked(kCheckBox));
  EXPECT_EQ(d.TextColor(kTips), std::nullopt);
  EXPECT_FALSE(d.Bold(kTips));
  EXPECT_EQ(d.ControlRect(kEdit), (Rect{40, 25, 40, 14}));
  EXPECT_EQ(d.FocusedControl(), kNoId);
  EXPECT_THAT(events_.log, IsEmpty());
}

TEST_F(HeadlessDialogTest, KeepsWhatIsSet) {
  auto& d = Make(SmallWindow(), events_);
  d.SetText(kTips, u"Range: 0~100");
  d.SetControlVisible(kHiddenEdit, true);
  d.SetEnabled(kEdit, false);
  d.SetChecked(kCheckBox, true);
  d.SetTextColor(kTips, kTipsBlue);
  d.SetBold(kTips);
  d.SetAccessibleName(kEdit, u"Max speed");
  d.SetCaption(u"Renamed");

  EXPECT_EQ(d.Text(kTips), u"Range: 0~100");
  EXPECT_TRUE(d.ControlVisible(kHiddenEdit));
  EXPECT_FALSE(d.Enabled(kEdit));
  EXPECT_TRUE(d.Checked(kCheckBox));
  EXPECT_EQ(d.TextColor(kTips), kTipsBlue);
  EXPECT_TRUE(d.Bold(kTips));
  EXPECT_EQ(d.AccessibleName(kEdit), u"Max speed");
  EXPECT_EQ(d.Caption(), u"Renamed");

  d.SetTextColor(kTips, std::nullopt);
  EXPECT_EQ(d.TextColor(kTips), std::nullopt);
  EXPECT_THAT(events_.log, IsEmpty()) << "setting state notifies nobody";
}

TEST_F(HeadlessDialogTest, OnlyCheckBoxesCarryAMark) {
  auto& d = Make(SmallWindow(), events_);
  d.SetChecked(kButton, true);
  d.SetChecked(kEdit, true);
  EXPECT_FALSE(d.Checked(kButton));
  EXPECT_FALSE(d.Checked(kEdit));
}

TEST_F(HeadlessDialogTest, IgnoresUnknownIds) {
  auto& d = Make(SmallWindow(), events_);
  for (int id : {kNoId, 0, 4242}) {
    d.SetText(id, u"x");
    d.SetControlVisible(id, true);
    d.SetEnabled(id, true);
    d.SetChecked(id, true);
    d.SetTextColor(id, kFailureRed);
    d.SetBold(id);
    d.SetAccessibleName(id, u"x");
    d.SetFocus(id);
    EXPECT_EQ(d.Text(id), u"") << id;
    EXPECT_FALSE(d.ControlVisible(id)) << id;
    EXPECT_FALSE(d.Enabled(id)) << id;
    EXPECT_FALSE(d.Checked(id)) << id;
    EXPECT_EQ(d.TextColor(id), std::nullopt) << id;
    EXPECT_FALSE(d.Bold(id)) << id;
    EXPECT_EQ(d.AccessibleName(id), u"") << id;
    EXPECT_EQ(d.ControlRect(id), Rect{}) << id;
    EXPECT_EQ(d.FocusedControl(), kNoId) << id;
  }
  EXPECT_THAT(events_.log, IsEmpty());
}

TEST_F(HeadlessDialogTest, KeepsItsOwnCopyOfTheTemplate) {
  auto tmpl = std::make_unique<DialogTemplate>(SmallWindow());
  auto& d = Make(*tmpl, events_);
  tmpl.reset();
  EXPECT_EQ(d.Template().id, 200);
  EXPECT_EQ(d.Text(kButton), u"Go");
}

TEST_F(HeadlessDialogTest, NotifiesShowAndHideOnlyOnAChange) {
  auto& d = Make(SmallWindow(), events_);
  d.Hide();
  d.Show();
  d.Show();
  d.Hide();
  d.Hide();
  d.Show();
  EXPECT_THAT(events_.log, ElementsAre("shown", "hidden", "shown"));
  EXPECT_TRUE(d.IsShown());
}

TEST_F(HeadlessDialogTest, IsAlreadyShownWhenItsOwnerHearsOfIt) {
  auto& d = Make(SmallWindow(), events_);
  std::vector<bool> seen;
  events_.onShown = [&](bool) { seen.push_back(d.IsShown()); };
  d.Show();
  d.Hide();
  EXPECT_THAT(seen, ElementsAre(true, false));
}

TEST_F(HeadlessDialogTest, DestroyingAShownDialogDeliversTheHideFirst) {
  RecordingEvents hiddenEvents;
  {
    auto shown = backend_.CreateDialog(SmallWindow(), events_);
    auto hidden = backend_.CreateDialog(SmallWindow(), hiddenEvents);
    shown->Show();
    // The owner may still read its controls while it is told (a page collects its edits).
    events_.onShown = [&, d = shown.get()](bool) {
      events_.log.push_back("text " + std::to_string(d->Text(kButton).size()));
    };
  }
  EXPECT_THAT(events_.log, ElementsAre("shown", "hidden", "text 2"));
  EXPECT_THAT(hiddenEvents.log, IsEmpty());
  EXPECT_THAT(backend_.Dialogs(), IsEmpty());
}

TEST_F(HeadlessDialogTest, AChildRecordsItsPlaceAndParent) {
  auto& window = Make(SmallWindow(), events_);
  RecordingEvents pageEvents;
  auto& page = Make(SmallPage(), pageEvents, &window, kPagePlace);
  EXPECT_EQ(page.Parent(), &window);
  EXPECT_EQ(page.Place(), kPagePlace);
  EXPECT_EQ(window.Parent(), nullptr);
  EXPECT_EQ(window.Place(), std::nullopt);
  EXPECT_FALSE(page.IsShown()) << "a child starts hidden";
}

TEST_F(HeadlessDialogTest, DestroyingTheParentHidesItsShownChildren) {
  RecordingEvents pageEvents;
  auto window = backend_.CreateDialog(SmallWindow(), events_);
  auto page = backend_.CreateDialog(SmallPage(), pageEvents, window.get(), kPagePlace);
  auto* headlessPage = static_cast<HeadlessDialog*>(page.get());
  window->Show();
  page->Show();
  window.reset();
  EXPECT_THAT(pageEvents.log, ElementsAre("shown", "hidden"));
  EXPECT_EQ(headlessPage->Parent(), nullptr);
  EXPECT_FALSE(headlessPage->Click(kButton));
  page.reset();
  EXPECT_THAT(pageEvents.log, ElementsAre("shown", "hidden"));
}

TEST_F(HeadlessDialogTest, FindsLiveDialogsByTemplate) {
  RecordingEvents other;
  EXPECT_EQ(backend_.FindDialog(200), nullptr);
  auto first = backend_.CreateDialog(SmallWindow(), events_);
  auto page = backend_.CreateDialog(SmallPage(), other, first.get(), kPagePlace);
  auto second = backend_.CreateDialog(SmallWindow(), other);
  EXPECT_EQ(backend_.FindDialog(200), second.get()) << "the most recent one";
  EXPECT_EQ(backend_.FindDialog(300), page.get());
  EXPECT_THAT(backend_.Dialogs(), ElementsAre(first.get(), page.get(), second.get()));
  second.reset();
  EXPECT_EQ(backend_.FindDialog(200), first.get());
  EXPECT_EQ(backend_.Dialogs().size(), 2u);
}

}  // namespace
}  // namespace qelvo::ui
