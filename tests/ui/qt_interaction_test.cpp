// Qt dialogs turn the user's keys, clicks and focus, and their own showing, into notifications.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <thread>

#include "ui/qt_fixture.h"

namespace qelvo::ui {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace testing;

using QtInteractionTest = QtDialogTest;

TEST_F(QtInteractionTest, TellsShowAndHideOnlyOnAChange) {
  auto& d = Make(SmallWindow(), events_);
  d.Hide();
  d.Show();
  d.Show();
  EXPECT_TRUE(d.IsShown());
  d.Hide();
  d.Hide();
  EXPECT_THAT(events_.log, ElementsAre("shown", "hidden"));
}

TEST_F(QtInteractionTest, APageIsToldAtOnceEvenInsideAHiddenWindow) {
  auto& window = Make(SmallWindow(), events_);
  auto& page = Make(SmallPage(), pageEvents_, &window, kPagePlace);
  page.Show();  // as the main window shows its first page before it is itself shown
  window.Show();
  window.Hide();
  EXPECT_TRUE(page.IsShown()) << "a page's own visibility stays with its window's";
  page.Hide();
  EXPECT_THAT(pageEvents_.log, ElementsAre("shown", "hidden"));
}

TEST_F(QtInteractionTest, DestroyingShownDialogsTellsTheirHideFirst) {
  RecordingEvents pageEvents;
  auto window = backend_.CreateDialog(SmallWindow(), events_);
  auto page = backend_.CreateDialog(SmallPage(), pageEvents, window.get(), kPagePlace);
  window->Show();
  page->Show();
  pageEvents.onShown = [&, p = page.get()](bool) {
    pageEvents.log.push_back("reads " + std::string(p->Text(kButton).size(), '.'));
  };
  window.reset();
  EXPECT_THAT(pageEvents.log, ElementsAre("shown", "hidden", "reads ..........."));
  EXPECT_THAT(events_.log, ElementsAre("shown", "hidden"));
  EXPECT_EQ(static_cast<QtDialog*>(page.get())->Widget(), nullptr);
  page->Show();  // a page whose window is gone does nothing
  page.reset();
  EXPECT_EQ(pageEvents.log.size(), 3u);
}

TEST_F(QtInteractionTest, ClicksReachTheOwnerThroughAGroupBox) {
  auto& d = Make(SmallWindow(), events_);
  ShowActive(d);
  std::vector<bool> markSeen;
  events_.onClicked = [&](int id) { markSeen.push_back(d.Checked(id)); };
  auto* box = qobject_cast<QCheckBox*>(d.ControlWidget(kCheckBox));
  // The check box lies inside the group box's rectangle, which comes first in the template.
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
  QTest::mouseClick(d.ControlWidget(kButton), Qt::LeftButton);
  EXPECT_THAT(markSeen, ElementsAre(true, false));
  EXPECT_THAT(events_.log, ElementsAre("shown", "click 11", "click 10"));
}

TEST_F(QtInteractionTest, ADisabledButtonIgnoresClicks) {
  auto& d = Make(SmallWindow(), events_);
  ShowActive(d);
  d.SetEnabled(kButton, false);
  QTest::mouseClick(d.ControlWidget(kButton), Qt::LeftButton);
  EXPECT_THAT(events_.log, ElementsAre("shown"));
}

TEST_F(QtInteractionTest, FocusEnteringAnEditIsTold) {
  auto& d = Make(SmallWindow(), events_);
  ShowActive(d);
  d.SetFocus(kEdit);
  d.SetFocus(kButton);
  QTest::mouseClick(d.ControlWidget(kEdit), Qt::LeftButton);
  EXPECT_THAT(events_.log, ElementsAre("shown", "focus 1011", "focus 1011"));
}

TEST_F(QtInteractionTest, TabFollowsTheTemplateOrder) {
  auto& d = Make(SmallWindow(), events_);
  ShowActive(d);
  d.SetEnabled(kButton, false);
  d.SetFocus(kCheckBox);
  std::vector<QWidget*> visited;
  for (int i = 0; i < 3; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(QApplication::focusWidget());
  }
  EXPECT_THAT(visited, ElementsAre(d.ControlWidget(kEdit), d.ControlWidget(kDefaultButton),
                                   d.ControlWidget(kCheckBox)));
  EXPECT_THAT(events_.log, ElementsAre("shown", "focus 1011"));
}

TEST_F(QtInteractionTest, EnterAndSpaceOnAFocusedButtonClickIt) {
  auto& d = Make(SmallWindow(), events_);
  ShowActive(d);
  d.SetFocus(kButton);
  QTest::keyClick(d.ControlWidget(kButton), Qt::Key_Return);
  QTest::keyClick(d.ControlWidget(kButton), Qt::Key_Enter, Qt::KeypadModifier);
  QTest::keyClick(d.ControlWidget(kButton), Qt::Key_Space);
  EXPECT_THAT(events_.log, ElementsAre("shown", "click 10", "click 10", "click 10"));
}

TEST_F(QtInteractionTest, EnterElsewhereIsTheOkKeyAndEscTheCancelKey) {
  auto& d = Make(SmallWindow(), events_);
  ShowActive(d);
  d.SetFocus(kEdit);
  QTest::keyClick(d.ControlWidget(kEdit), Qt::Key_Return);
  QTest::keyClick(d.ControlWidget(kEdit), Qt::Key_Escape);
  d.SetFocus(kCheckBox);
  QTest::keyClick(d.ControlWidget(kCheckBox), Qt::Key_Return);
  EXPECT_TRUE(d.IsShown()) << "neither key closes the window by itself";
  EXPECT_FALSE(d.Checked(kCheckBox));
  EXPECT_THAT(events_.log, ElementsAre("shown", "focus 1011", "ok key", "cancel key", "ok key"));
}

TEST_F(QtInteractionTest, APagesKeysGoToItsWindow) {
  auto& window = Make(SmallWindow(), events_);
  auto& page = Make(SmallPage(), pageEvents_, &window, kPagePlace);
  page.Show();
  ShowActive(window);
  page.SetFocus(kEdit);
  QTest::keyClick(page.ControlWidget(kEdit), Qt::Key_Escape);
  QTest::keyClick(page.ControlWidget(kEdit), Qt::Key_Return);
  EXPECT_THAT(pageEvents_.log, ElementsAre("shown", "focus 1011"));
  EXPECT_THAT(events_.log, ElementsAre("shown", "cancel key", "ok key"));
}

TEST_F(QtInteractionTest, TheCloseBoxAsksTheOwner) {
  auto& d = Make(SmallWindow(), events_);
  ShowActive(d);
  EXPECT_FALSE(d.Widget()->close());
  EXPECT_TRUE(d.IsShown());
  EXPECT_THAT(events_.log, ElementsAre("shown", "close"));
}

TEST_F(QtInteractionTest, EndedDuringInitAModalDialogNeverShows) {
  auto& d = Make(SmallWindow(), events_);
  bool visibleAtInit = true;
  events_.onInit = [&] {
    visibleAtInit = d.Widget()->isVisible();
    d.EndModal(kResultCancel);
  };
  bool everVisible = false;
  events_.onShown = [&](bool) { everVisible = true; };
  EXPECT_EQ(d.RunModal(), kResultCancel);
  EXPECT_FALSE(visibleAtInit);
  EXPECT_FALSE(everVisible);
  EXPECT_THAT(events_.log, ElementsAre("init"));
}

TEST_F(QtInteractionTest, AModalDialogRunsUntilEndModal) {
  auto& d = Make(SmallWindow(), events_);
  bool visibleAtInit = true;
  events_.onInit = [&] {
    visibleAtInit = d.IsShown();
    d.SetText(kEdit, u"set in init");
  };
  events_.onClicked = [&](int id) {
    if (id == kButton)
      d.EndModal(kResultOk);
  };
  QTimer::singleShot(0, [&] {
    EXPECT_EQ(QApplication::activeModalWidget(), d.Widget());
    qobject_cast<QAbstractButton*>(d.ControlWidget(kButton))->click();
  });
  EXPECT_EQ(d.RunModal(), kResultOk);
  EXPECT_FALSE(visibleAtInit);
  EXPECT_FALSE(d.IsShown());
  EXPECT_EQ(d.Text(kEdit), u"set in init");
  EXPECT_THAT(events_.log, ElementsAre("init", "shown", "click 10", "hidden"));
}

TEST_F(QtInteractionTest, DestroyedWhileRunningTheModalRunEndsSafely) {
  auto dialog = backend_.CreateDialog(SmallWindow(), events_);
  QTimer::singleShot(0, [&] { dialog.reset(); });
  EXPECT_EQ(dialog->RunModal(), kResultCancel);
  EXPECT_EQ(dialog, nullptr);
  EXPECT_THAT(events_.log, ElementsAre("init", "shown", "hidden"));
}

TEST_F(QtInteractionTest, APostedTaskRunsLaterOnTheUserInterfaceThread) {
  std::atomic<QThread*> ranOn{nullptr};
  std::thread worker([&] { backend_.Post([&] { ranOn = QThread::currentThread(); }); });
  worker.join();  // Post returned without the task having run
  EXPECT_EQ(ranOn.load(), nullptr);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ranOn.load() != nullptr; }, 5000));
  EXPECT_EQ(ranOn.load(), QApplication::instance()->thread());
}

}  // namespace
}  // namespace qelvo::ui
