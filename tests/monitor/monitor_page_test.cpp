#include "monitor/monitor_page.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "monitor/monitor_controls.h"
#include "monitor/monitor_template.h"
#include "monitor/scripted_controller.h"
#include "monitor/silent_port.h"
#include "monitor/table_fixture.h"
#include "support/scripted_stream.h"
#include "ui/headless/headless_backend.h"

namespace qelvo::monitor {
namespace {

using namespace std::chrono_literals;
using testing::Item;
using testing::MonitorTables;

constexpr auto kWaitForTicks = 3s;  // generous: many ticks' worth on a loaded machine

class MonitorPageTest : public ::testing::Test {
 protected:
  MonitorPageTest()
      : tables_(MonitorTables({Item(0, 1, 0, u"uo", u"TPS Pedal", u"The accelerator AD"),
                               Item(16, 2, 1, u"h", u"Fault", u"Fault status"),
                               Item(18, 2, 1, u"uo", u"Motor Speed", u"motor RPM")},
                              16)) {
    link_.port = &stream_;
    controller_.Attach(stream_);
    parent_ = backend_.CreateDialog(parentTemplate_, parentEvents_);
    parent_->Show();
  }

  void CreatePage() {
    page_ = std::make_unique<CMonitor1Dlg>(template_,
                                           MonitorContext{backend_, link_, *tables_, imageValid_});
    page_->CreateWindow(backend_, *parent_, testing::kPageArea);
    dialog_ = backend_.FindDialog(template_.id);
    ASSERT_NE(dialog_, nullptr);
  }

  // Runs posted tasks until the status box reads `status`.
  bool RunTicksUntilStatus(std::u16string_view status) {
    return backend_.RunPostedUntil(
        [&] { return dialog_->Text(kStatusBoxId) == status; },
        std::chrono::duration_cast<std::chrono::milliseconds>(kWaitForTicks));
  }

  std::size_t WritesNow() const { return stream_.Writes().size(); }

  ui::HeadlessBackend backend_;
  ui::DialogTemplate template_ = testing::MonitorTemplate();
  ui::DialogTemplate parentTemplate_ = testing::ParentTemplate();
  ui::DialogEvents parentEvents_;
  std::unique_ptr<ui::Dialog> parent_;
  test_support::ScriptedStream stream_;
  testing::ScriptedController controller_;
  link::Link link_;
  std::unique_ptr<catalogue::DescriptionTables> tables_;
  bool imageValid_ = true;
  std::unique_ptr<CMonitor1Dlg> page_;
  ui::HeadlessDialog* dialog_ = nullptr;
};

// ---- Labels, colours and tips ----

TEST_F(MonitorPageTest, FirstShowPlacesOneSlotPerItem) {
  CreatePage();
  EXPECT_FALSE(dialog_->ControlVisible(EditIdOfSlot(0)));

  page_->Show();
  page_->Hide();

  const std::u16string names[] = {u"TPS Pedal", u"Fault", u"Motor Speed"};
  for (int slot = 0; slot < kItemSlots; ++slot) {
    const bool used = slot < 3;
    EXPECT_EQ(dialog_->ControlVisible(LabelIdOfSlot(slot)), used) << "slot " << slot;
    EXPECT_EQ(dialog_->ControlVisible(EditIdOfSlot(slot)), used) << "slot " << slot;
    if (used) {
      EXPECT_EQ(dialog_->Text(LabelIdOfSlot(slot)), names[slot]);
    }
  }
  EXPECT_EQ(dialog_->Text(kStatusLabelId), u"Status");
  EXPECT_TRUE(dialog_->ControlVisible(kStatusBoxId));
}

TEST_F(MonitorPageTest, ColoursTheStatusBoxTipsAreaAndFaultEdit) {
  CreatePage();
  page_->Show();
  page_->Hide();

  EXPECT_EQ(dialog_->TextColor(kStatusBoxId), ui::kFailureRed);  // nothing answered yet
  EXPECT_EQ(dialog_->TextColor(kTipsAreaId), ui::kTipsBlue);
  EXPECT_EQ(dialog_->TextColor(EditIdOfSlot(1)), ui::kFailureRed);
  EXPECT_EQ(dialog_->TextColor(EditIdOfSlot(0)), std::nullopt);
  EXPECT_EQ(dialog_->TextColor(EditIdOfSlot(2)), std::nullopt);
}

TEST_F(MonitorPageTest, LastFaultCodedItemOwnsTheRedEdit) {
  tables_ = MonitorTables({Item(0, 1, 0, u"h"), Item(16, 2, 1, u"h"), Item(1, 1, 0, u"uo")});
  CreatePage();
  page_->Show();
  page_->Hide();

  EXPECT_EQ(dialog_->TextColor(EditIdOfSlot(0)), std::nullopt);
  EXPECT_EQ(dialog_->TextColor(EditIdOfSlot(1)), ui::kFailureRed);
}

TEST_F(MonitorPageTest, FocusShowsTheItemsTips) {
  CreatePage();
  page_->Show();

  ASSERT_TRUE(dialog_->Focus(EditIdOfSlot(2)));
  EXPECT_EQ(dialog_->Text(kTipsAreaId), u"motor RPM");
  ASSERT_TRUE(dialog_->Focus(EditIdOfSlot(0)));
  EXPECT_EQ(dialog_->Text(kTipsAreaId), u"The accelerator AD");
  // The status box has no tips: the last ones stay.
  ASSERT_TRUE(dialog_->Focus(kStatusBoxId));
  EXPECT_EQ(dialog_->Text(kTipsAreaId), u"The accelerator AD");
  // Ids past the items' slots, whatever sends them.
  page_->OnEditFocus(EditIdOfSlot(3));
  page_->OnEditFocus(kFirstLabelId);
  EXPECT_EQ(dialog_->Text(kTipsAreaId), u"The accelerator AD");
  page_->Hide();
}

TEST_F(MonitorPageTest, EmptyTableShowsOnlyTheStatusRow) {
  tables_ = MonitorTables({});
  CreatePage();
  page_->Show();

  EXPECT_TRUE(RunTicksUntilStatus(u"Success!"));
  page_->Hide();
  for (int slot = 0; slot < kItemSlots; ++slot)
    EXPECT_FALSE(dialog_->ControlVisible(EditIdOfSlot(slot))) << "slot " << slot;
  EXPECT_EQ(dialog_->Text(kStatusLabelId), u"Status");
}

TEST_F(MonitorPageTest, WithoutAValidImageNothingHappens) {
  imageValid_ = false;
  CreatePage();

  page_->Show();
  std::this_thread::sleep_for(500ms);
  page_->Hide();

  EXPECT_EQ(WritesNow(), 0u);
  EXPECT_EQ(backend_.PendingPosted(), 0u);
  EXPECT_FALSE(dialog_->ControlVisible(EditIdOfSlot(0)));
  EXPECT_NE(dialog_->Text(kStatusLabelId), u"Status");
}

TEST_F(MonitorPageTest, LabelsArePlacedByTheFirstNotificationWithAValidImage) {
  imageValid_ = false;
  CreatePage();
  page_->Show();
  imageValid_ = true;

  page_->Hide();

  EXPECT_TRUE(dialog_->ControlVisible(EditIdOfSlot(0)));
  EXPECT_EQ(dialog_->Text(kStatusLabelId), u"Status");
  EXPECT_EQ(WritesNow(), 0u);
}

TEST_F(MonitorPageTest, ReloadedTablesArePlacedAnew) {
  CreatePage();
  page_->Show();
  page_->Hide();
  tables_->monitorCount = 0;
  tables_->monitor[tables_->monitorCount++] = Item(4, 1, 0, u"uo", u"Forward SW");
  tables_->monitor[tables_->monitorCount++] = Item(40, 2, 1, u"h", u"Faults");

  page_->TablesReloaded();
  page_->Show();
  page_->Hide();

  EXPECT_EQ(dialog_->Text(LabelIdOfSlot(0)), u"Forward SW");
  EXPECT_EQ(dialog_->Text(LabelIdOfSlot(1)), u"Faults");
  EXPECT_FALSE(dialog_->ControlVisible(EditIdOfSlot(2)));
  EXPECT_EQ(dialog_->TextColor(EditIdOfSlot(1)), ui::kFailureRed);
}

// ---- Ticks while shown ----

TEST_F(MonitorPageTest, ShownPageDrawsEveryTick) {
  controller_.live[0] = 77;
  controller_.live[18] = 0x12;
  controller_.live[19] = 0x34;
  CreatePage();
  page_->Show();

  ASSERT_TRUE(RunTicksUntilStatus(u"Success!"));
  EXPECT_EQ(dialog_->TextColor(kStatusBoxId), ui::kSuccessGreen);
  EXPECT_EQ(dialog_->Text(EditIdOfSlot(0)), u"77");
  EXPECT_EQ(dialog_->Text(EditIdOfSlot(2)), u"4660");

  controller_.Update([](auto& c) { c.silent = {true, true, true}; });
  ASSERT_TRUE(RunTicksUntilStatus(u"Failure!"));
  EXPECT_EQ(dialog_->TextColor(kStatusBoxId), ui::kFailureRed);
  EXPECT_EQ(dialog_->Text(EditIdOfSlot(0)), u"77");  // the last reading stays
  page_->Hide();
}

TEST_F(MonitorPageTest, FaultNameAppearsOnTheTenthTick) {
  controller_.live[17] = 1 << 2;
  CreatePage();
  page_->Show();

  EXPECT_TRUE(backend_.RunPostedUntil(
      [&] { return dialog_->Text(EditIdOfSlot(1)) == u"Fault 2"; },
      std::chrono::duration_cast<std::chrono::milliseconds>(kWaitForTicks)));
  page_->Hide();
}

TEST_F(MonitorPageTest, NoTicksWhileHidden) {
  CreatePage();
  page_->Show();
  ASSERT_TRUE(RunTicksUntilStatus(u"Success!"));

  page_->Hide();
  const std::size_t writes = WritesNow();
  std::this_thread::sleep_for(500ms);

  EXPECT_EQ(WritesNow(), writes);
  EXPECT_EQ(writes % 3, 0u) << "a tick was cut short";
}

TEST_F(MonitorPageTest, ShowingAgainRestartsTheTicks) {
  CreatePage();
  page_->Show();
  ASSERT_TRUE(RunTicksUntilStatus(u"Success!"));
  page_->Hide();
  controller_.silent[0] = true;

  page_->Show();

  EXPECT_TRUE(RunTicksUntilStatus(u"Failure!"));
  page_->Hide();
}

// ---- Stopping with a silent controller ----

class SilentControllerTest : public MonitorPageTest {
 protected:
  SilentControllerTest() { link_.port = &silent_; }
  testing::SilentPort silent_;
};

TEST_F(SilentControllerTest, HideReturnsAtOnceAndNothingIsSentAfterIt) {
  CreatePage();
  page_->Show();
  ASSERT_TRUE(silent_.WaitForWrite(2s));  // a tick now waits for a reply that never comes

  const auto before = std::chrono::steady_clock::now();
  page_->Hide();
  const auto took = std::chrono::steady_clock::now() - before;

  EXPECT_LT(took, 100ms);
  const int writes = silent_.Writes();
  std::this_thread::sleep_for(400ms);
  EXPECT_EQ(silent_.Writes(), writes);
  EXPECT_FALSE(silent_.Cancelled()) << "the port must serve the next exchange";
  // The cut-short tick shows nothing: its failure came from the stop.
  backend_.RunPosted();
  EXPECT_NE(dialog_->Text(kStatusBoxId), u"Failure!");
}

TEST_F(SilentControllerTest, DestroyingAShownPageStopsTheMonitor) {
  CreatePage();
  page_->Show();
  ASSERT_TRUE(silent_.WaitForWrite(2s));

  page_->DestroyWindow();

  const int writes = silent_.Writes();
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(silent_.Writes(), writes);
  EXPECT_FALSE(silent_.Cancelled());
}

TEST_F(SilentControllerTest, DeletingAShownPageStopsTheMonitor) {
  CreatePage();
  page_->Show();
  ASSERT_TRUE(silent_.WaitForWrite(2s));

  page_.reset();

  const int writes = silent_.Writes();
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(silent_.Writes(), writes);
}

// ---- Tasks still queued when the page goes ----

TEST_F(MonitorPageTest, TasksQueuedBeforeThePageWentDrawNothing) {
  CreatePage();
  page_->Show();
  ASSERT_TRUE(
      backend_.WaitForPosted(std::chrono::duration_cast<std::chrono::milliseconds>(kWaitForTicks)));

  page_.reset();

  EXPECT_GE(backend_.RunPosted(), 1u);  // must not touch the dead page
}

TEST_F(MonitorPageTest, TasksQueuedBeforeTheWindowWentDrawNothing) {
  CreatePage();
  page_->Show();
  ASSERT_TRUE(
      backend_.WaitForPosted(std::chrono::duration_cast<std::chrono::milliseconds>(kWaitForTicks)));

  page_->DestroyWindow();

  EXPECT_GE(backend_.RunPosted(), 1u);
  EXPECT_EQ(page_->window(), nullptr);
}

}  // namespace
}  // namespace qelvo::monitor
