#include <gtest/gtest.h>

#include <vector>

#include "app/app_harness.h"
#include "app/messages.h"
#include "app/templates/control_ids.h"
#include "sim/default_image.h"

namespace qelvo::app::testing {
namespace {

sim::Identity Controller(const char* family, std::uint16_t version, const char* voltageClass = "48",
                         std::uint16_t voltage = 48) {
  sim::Identity id;
  id.family = family;
  id.softwareVersion = version;
  id.voltageClass = voltageClass;
  id.controllerVoltage = voltage;
  return id;
}

struct ReloadCase {
  const char* name;
  sim::Identity plugged;  // the controller a later Read finds
  bool reloaded;
  bool readSucceeds;
  int tableId;  // when the Read succeeds
  std::vector<std::u16string> messages;
};

std::vector<std::u16string> TextsOf(std::initializer_list<MessageId> ids) {
  std::vector<std::u16string> texts;
  for (MessageId id : ids)
    texts.emplace_back(MessageOf(id).text);
  return texts;
}

TEST(TableReload, ALaterReadOfAnotherControllerLoadsItsTables) {
  const ReloadCase kCases[] = {
      {"the same controller", Controller("QV", 0x0109), false, true, 165, {}},
      {"a newer version the same table covers", Controller("QV", 0x0200), false, true, 165, {}},
      {"another table", Controller("RN", 0x0101), true, true, 158, {}},
      {"another voltage class", Controller("QV", 0x0109, "72", 72), true, true, 165, {}},
      {"a family no table covers", Controller("XX", 0x0109), true, false, 0,
       TextsOf({MessageId::kModelNotSupported})},
      {"a version no table covers", Controller("QV", 0x0103), true, false, 0,
       TextsOf({MessageId::kVersionNotSupported})},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    AppHarness h;
    h.UseSimulator(Controller("QV", 0x0109));
    bool ran = false;
    h.RunMainWindow([&](ui::HeadlessDialog& w) {
      ran = true;
      h.pages.log.clear();
      h.line->controller().SetStoredBlock(sim::DefaultImage(c.plugged));
      w.Click(kReadButtonId);

      for (int p = 1; p <= kPageCount; ++p)
        EXPECT_EQ(h.pages.records[p].reloads, c.reloaded ? 1 : 0);
      EXPECT_EQ(h.MessageTexts(), c.messages);
      EXPECT_EQ(h.state->imageValid, c.readSucceeds);
      EXPECT_EQ(h.state->tablesLoaded, c.readSucceeds);
      if (c.readSucceeds) {
        EXPECT_EQ(h.state->tables.calibrationTableId, c.tableId);
        EXPECT_EQ(w.Text(kStatusLineId), u"Read success!");
        EXPECT_EQ(h.pages.log, (NotificationLog{"1-", "1+"}));
        EXPECT_EQ(h.mainWindow->currentPage(), kVehiclePage);
      } else {
        EXPECT_EQ(w.Text(kStatusLineId), u"Read failure!");
        EXPECT_EQ(w.TextColor(kStatusLineId), ui::kFailureRed);
        // The image no table describes is neither shown nor written.
        w.Click(kVehicleButtonId);
        w.Click(kWriteButtonId);
        EXPECT_EQ(h.mainWindow->currentPage(), kNoPage);
        EXPECT_EQ(h.line->Count(link::command::kWriteBlock), 0);
      }
    });
    EXPECT_TRUE(ran);
  }
}

TEST(TableReload, AfterAnUnsupportedControllerASupportedOneWorksAgain) {
  AppHarness h;
  h.UseSimulator();
  h.RunMainWindow([&](ui::HeadlessDialog& w) {
    h.line->controller().SetStoredBlock(sim::DefaultImage(Controller("XX", 0x0109)));
    w.Click(kReadButtonId);
    ASSERT_FALSE(h.state->tablesLoaded);

    h.line->controller().SetStoredBlock(sim::DefaultImage(Controller("RN", 0x0102)));
    w.Click(kReadButtonId);
    EXPECT_TRUE(h.state->tablesLoaded);
    EXPECT_EQ(h.state->tables.calibrationTableId, 159);
    EXPECT_EQ(w.Text(kStatusLineId), u"Read success!");
    EXPECT_EQ(h.mainWindow->currentPage(), kVehiclePage);
    EXPECT_EQ(h.pages.records[kVehiclePage].reloads, 2);
  });
}

TEST(TableReload, TheComButtonFollowsTheNewController) {
  AppHarness h;
  h.UseSimulator();
  h.RunMainWindow([&](ui::HeadlessDialog& w) {
    ASSERT_TRUE(w.ControlVisible(kComButtonId));
    sim::Identity other = Controller("RN", 0x0102);
    other.comMarker = "2Q";
    h.line->controller().SetStoredBlock(sim::DefaultImage(other));
    w.Click(kReadButtonId);
    EXPECT_FALSE(w.ControlVisible(kComButtonId));
  });
}

}  // namespace
}  // namespace qelvo::app::testing
