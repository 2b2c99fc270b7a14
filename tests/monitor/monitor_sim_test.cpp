#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <set>
#include <string>

#include "catalogue/builtin_tables.h"
#include "catalogue/parser.h"
#include "link/serial_port.h"
#include "monitor/monitor_controls.h"
#include "monitor/monitor_page.h"
#include "monitor/monitor_template.h"
#include "sim/controller.h"
#include "sim/live_data.h"
#include "sim/pty_server.h"
#include "ui/headless/headless_backend.h"

namespace qelvo::monitor {
namespace {

using namespace std::chrono_literals;

constexpr int kTpsSlot = 0;  // rows of the built-in monitor table
constexpr int kFaultSlot = 16;
constexpr int kLowVoltageBit = 2;

// The monitor page, as the program has it, against the simulated controller at 19200 baud
// over a pseudo-terminal.
class MonitorSimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto text = catalogue::BuiltinTableText(catalogue::kMonitorTableId);
    ASSERT_FALSE(text.empty());
    ASSERT_TRUE(catalogue::ParseMonitorTable(text, *tables_).ok);

    controller_.SetPaced(true);
    auto started = sim::PtyServer::Start(controller_);
    ASSERT_TRUE(started.server) << started.error;
    server_ = std::move(started.server);
    port_ = link::SerialPort::Open(server_->PortPath());
    ASSERT_TRUE(port_);
    ASSERT_TRUE(port_->Configure().ok());
    link_.port = port_.get();

    parent_ = backend_.CreateDialog(parentTemplate_, parentEvents_);
    parent_->Show();
    page_ = std::make_unique<CMonitor1Dlg>(template_,
                                           MonitorContext{backend_, link_, *tables_, imageValid_});
    page_->CreateWindow(backend_, *parent_, testing::kPageArea);
    dialog_ = backend_.FindDialog(template_.id);
  }

  void TearDown() override {
    page_.reset();
    link_.port = nullptr;
  }

  std::u16string Edit(int slot) const { return dialog_->Text(EditIdOfSlot(slot)); }

  sim::SimulatedController controller_;
  std::unique_ptr<sim::PtyServer> server_;
  std::unique_ptr<link::SerialPort> port_;
  link::Link link_;
  std::unique_ptr<catalogue::DescriptionTables> tables_ =
      std::make_unique<catalogue::DescriptionTables>();
  bool imageValid_ = true;
  ui::HeadlessBackend backend_;
  ui::DialogTemplate template_ = testing::MonitorTemplate();
  ui::DialogTemplate parentTemplate_ = testing::ParentTemplate();
  ui::DialogEvents parentEvents_;
  std::unique_ptr<ui::Dialog> parent_;
  std::unique_ptr<CMonitor1Dlg> page_;
  ui::HeadlessDialog* dialog_ = nullptr;
};

TEST_F(MonitorSimTest, LiveValuesChangeOnScreen) {
  page_->Show();

  std::set<std::u16string> pedalReadings;
  const bool moving = backend_.RunPostedUntil(
      [&] {
        if (dialog_->Text(kStatusBoxId) == u"Success!")
          pedalReadings.insert(Edit(kTpsSlot));
        return pedalReadings.size() >= 3;
      },
      5000ms);
  page_->Hide();

  EXPECT_TRUE(moving) << pedalReadings.size() << " pedal readings";
  EXPECT_EQ(dialog_->TextColor(kStatusBoxId), ui::kSuccessGreen);
  EXPECT_EQ(dialog_->Text(LabelIdOfSlot(kTpsSlot)), u"TPS Pedal");
}

TEST_F(MonitorSimTest, ActiveFaultIsNamed) {
  controller_.PinFaultWord(1 << kLowVoltageBit);
  page_->Show();

  const bool named =
      backend_.RunPostedUntil([&] { return Edit(kFaultSlot) == u"Low Voltage"; }, 5000ms);
  page_->Hide();

  EXPECT_TRUE(named) << "fault edit: "
                     << std::string(Edit(kFaultSlot).begin(), Edit(kFaultSlot).end());
}

TEST_F(MonitorSimTest, FallenSilentControllerShowsFailureAndLeavingIsImmediate) {
  page_->Show();
  ASSERT_TRUE(
      backend_.RunPostedUntil([&] { return dialog_->Text(kStatusBoxId) == u"Success!"; }, 3000ms));
  const std::u16string lastPedal = Edit(kTpsSlot);
  sim::Faults silent;
  silent.silent = true;
  controller_.SetFaults(silent);

  // A silent tick waits out all three receives, several periods long.
  ASSERT_TRUE(
      backend_.RunPostedUntil([&] { return dialog_->Text(kStatusBoxId) == u"Failure!"; }, 15s));
  EXPECT_EQ(dialog_->TextColor(kStatusBoxId), ui::kFailureRed);
  EXPECT_EQ(Edit(kTpsSlot), lastPedal);

  const auto before = std::chrono::steady_clock::now();
  page_->Hide();
  EXPECT_LT(std::chrono::steady_clock::now() - before, 100ms);

  // The port serves the next exchange at once.
  controller_.SetFaults({});
  page_->Show();
  EXPECT_TRUE(
      backend_.RunPostedUntil([&] { return dialog_->Text(kStatusBoxId) == u"Success!"; }, 3000ms));
  page_->Hide();
}

}  // namespace
}  // namespace qelvo::monitor
