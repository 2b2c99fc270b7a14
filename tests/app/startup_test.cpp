#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_harness.h"
#include "app/application.h"
#include "app/messages.h"
#include "app/templates/control_ids.h"
#include "app/templates/templates.h"

namespace qelvo::app::testing {
namespace {

using ui::Answer;

std::vector<std::u16string> TextsOf(std::initializer_list<MessageId> ids) {
  std::vector<std::u16string> texts;
  for (MessageId id : ids)
    texts.emplace_back(MessageOf(id).text);
  return texts;
}

TEST(Startup, AnythingButYesToTheWarningOpensNoWindowAndTriesNoPort) {
  for (const auto& answers : {std::vector<Answer>{Answer::No}, std::vector<Answer>{}}) {
    AppHarness h;
    h.backend.QueueAnswers(answers);
    CQelvoUserAppApp app(h.backend, *h.state, h.fakeConnection, h.pages);
    EXPECT_EQ(app.Run(), RunEnd::kWarningDeclined);
    EXPECT_EQ(h.fakeConnection.calls, 0);
    EXPECT_TRUE(h.backend.ModalRuns().empty());
    ASSERT_EQ(h.backend.Messages().size(), 1u);
    EXPECT_EQ(h.backend.Messages()[0].text, MessageOf(MessageId::kMotorWarning).text);
    EXPECT_EQ(h.backend.Messages()[0].buttons, ui::Buttons::YesNo);
  }
}

TEST(Startup, YesRunsTheMainWindow) {
  AppHarness h;
  h.backend.QueueAnswers({Answer::Yes, Answer::Cancel});
  CQelvoUserAppApp app(h.backend, *h.state, h.fakeConnection, h.pages);
  EXPECT_EQ(app.Run(), RunEnd::kMainWindowClosed);
  EXPECT_EQ(h.fakeConnection.calls, 1);
  ASSERT_EQ(h.backend.ModalRuns().size(), 1u);
  EXPECT_EQ(h.backend.ModalRuns()[0].templateId, kMainWindowTemplateId);
}

TEST(Startup, WithoutAControllerEveryRetryTriesThePortsAgain) {
  AppHarness h;
  h.backend.QueueAnswers({Answer::Retry, Answer::Retry, Answer::Cancel});
  const auto run = h.RunMainWindow(nullptr);
  EXPECT_EQ(h.fakeConnection.calls, 3);
  EXPECT_EQ(h.MessageTexts(), TextsOf({MessageId::kNoController, MessageId::kNoController,
                                       MessageId::kNoController}));
  EXPECT_FALSE(run.shown);
  EXPECT_TRUE(h.pages.templateIds.empty()) << "no page before a controller answered";
}

TEST(Startup, ARetryThatFindsTheControllerGoesOn) {
  AppHarness h;
  h.fakeConnection.answersFromCall = 2;  // answers, but nothing is behind the link: Read fails
  h.backend.QueueAnswers({Answer::Retry, Answer::Cancel});
  const auto run = h.RunMainWindow(nullptr);
  EXPECT_EQ(h.fakeConnection.calls, 2);
  EXPECT_EQ(h.MessageTexts(), TextsOf({MessageId::kNoController, MessageId::kReadError}));
  EXPECT_FALSE(run.shown);
}

TEST(Startup, AMissingPortGivesMessage149) {
  AppHarness h;
  h.serialConnection = std::make_unique<SerialConnection>(
      h.state->link, std::vector<std::string>{"/nonexistent/qelvo-port"});
  h.backend.QueueAnswers({Answer::Cancel});
  EXPECT_FALSE(h.RunMainWindow(nullptr).shown);
  EXPECT_EQ(h.MessageTexts(), TextsOf({MessageId::kNoController}));
}

TEST(Startup, EachPortWhoseSettingsFailIsReported) {
  AppHarness h;
  h.fakeConnection.badSettingPorts = {"/dev/ttyS0", "/dev/ttyS1"};
  h.backend.QueueAnswers({Answer::Cancel});
  h.RunMainWindow(nullptr);
  EXPECT_EQ(h.MessageTexts(), TextsOf({MessageId::kSettingError, MessageId::kSettingError,
                                       MessageId::kNoController}));
  EXPECT_EQ(h.backend.Messages()[0].text, u"RS232 setting error. ");
  EXPECT_EQ(h.backend.Messages()[0].buttons, ui::Buttons::Ok);
}

TEST(Startup, ASuccessfulStartShowsTheVehiclePageOverThePageArea) {
  AppHarness h;
  h.UseSimulator();
  bool checked = false;
  const auto run = h.RunMainWindow([&](ui::HeadlessDialog& window) {
    checked = true;
    EXPECT_EQ(h.mainWindow->currentPage(), kVehiclePage);
    EXPECT_EQ(window.Text(kStatusLineId), u"Read success!");
    EXPECT_EQ(window.TextColor(kStatusLineId), ui::kSuccessGreen);
    EXPECT_TRUE(window.Bold(kStatusLineId));
    // Every page was made hidden before the first Read; none showed before the tables.
    EXPECT_EQ(h.pages.templateIds, (std::vector<int>{107, 108, 109, 110, 111}));
    EXPECT_EQ(h.pages.log, (NotificationLog{"1+"}));
    EXPECT_EQ(h.mainWindow->pageCount(), 5);
    const ui::Rect pageArea = window.ControlRect(kPageAreaId);
    EXPECT_EQ(pageArea, (ui::Rect{91, 62, 400, 300}));
    for (int i = 1; i <= 5; ++i)
      EXPECT_EQ(h.pages.records[i].place, pageArea) << i;
    EXPECT_TRUE(window.Enabled(kReadButtonId));
    EXPECT_TRUE(window.Enabled(kWriteButtonId));
    EXPECT_TRUE(window.ControlVisible(kComButtonId));
  });
  EXPECT_TRUE(checked);
  EXPECT_TRUE(run.shown);
  EXPECT_TRUE(h.backend.Messages().empty());
  EXPECT_TRUE(h.state->tablesLoaded);
  EXPECT_EQ(h.state->tables.calibrationTableId, 165);
}

TEST(Startup, SetsTheEnglishCaptions) {
  AppHarness h;
  h.UseSimulator();
  h.RunMainWindow([&](ui::HeadlessDialog& window) {
    const struct {
      int id;
      std::u16string_view caption;
    } kCaptions[] = {{1002, u"Vehicle"}, {1003, u"Control"}, {1004, u"Motor"},   {1006, u"COM"},
                     {1007, u"Read"},    {1008, u"Write"},   {1005, u"Monitor"}, {2, u"Quit"}};
    for (const auto& c : kCaptions)
      EXPECT_EQ(window.Text(c.id), c.caption) << c.id;
    EXPECT_EQ(window.Caption(), u"Qelvo User App");
  });
}

TEST(Startup, AReadFailingOnceAndRetriedEndsOnTheVehiclePage) {
  AppHarness h;
  h.UseSimulator();
  sim::Faults faults;
  faults.badChecksum = true;
  faults.onlyCommand = link::command::kReadBlock;
  faults.requestCount = 1;
  h.line->controller().SetFaults(faults);
  h.backend.QueueAnswers({Answer::Retry});
  bool shown = false;
  h.RunMainWindow([&](ui::HeadlessDialog& window) {
    shown = true;
    EXPECT_EQ(window.Text(kStatusLineId), u"Read success!");
    EXPECT_EQ(window.TextColor(kStatusLineId), ui::kSuccessGreen);
    EXPECT_EQ(h.mainWindow->currentPage(), kVehiclePage);
    EXPECT_TRUE(h.mainWindow->page(kVehiclePage)->IsShown());
  });
  EXPECT_TRUE(shown);
  EXPECT_EQ(h.MessageTexts(), TextsOf({MessageId::kReadError}));
}

TEST(Startup, AFailedFirstReadEndsBeforeTheWindowIsShown) {
  AppHarness h;
  h.UseSimulator();
  sim::Faults faults;
  faults.badChecksum = true;
  faults.onlyCommand = link::command::kReadBlock;
  h.line->controller().SetFaults(faults);
  h.backend.QueueAnswers({Answer::Retry, Answer::Cancel});
  EXPECT_FALSE(h.RunMainWindow(nullptr).shown);
  EXPECT_EQ(h.MessageTexts(), TextsOf({MessageId::kReadError, MessageId::kReadError}));
  EXPECT_FALSE(h.state->imageValid);
  EXPECT_FALSE(h.state->tablesLoaded);
  EXPECT_TRUE(h.pages.log.empty());
}

TEST(Startup, AControllerNoTableCoversEndsWithItsMessage) {
  const struct {
    const char* family;
    std::uint16_t version;
    MessageId message;
  } kCases[] = {{"XX", 0x0109, MessageId::kModelNotSupported},
                {"QV", 0x0103, MessageId::kVersionNotSupported},
                {"RN", 0x0100, MessageId::kVersionNotSupported}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.family);
    AppHarness h;
    sim::Identity identity;
    identity.family = c.family;
    identity.softwareVersion = c.version;
    h.UseSimulator(identity);
    EXPECT_FALSE(h.RunMainWindow(nullptr).shown);
    EXPECT_EQ(h.MessageTexts(), TextsOf({c.message}));
    EXPECT_FALSE(h.state->tablesLoaded);
    EXPECT_TRUE(h.pages.log.empty());
  }
}

TEST(Startup, TheComMarkerHidesTheComButton) {
  AppHarness h;
  sim::Identity identity;
  identity.comMarker = "2Q";
  h.UseSimulator(identity);
  bool shown = false;
  h.RunMainWindow([&](ui::HeadlessDialog& window) {
    shown = true;
    EXPECT_FALSE(window.ControlVisible(kComButtonId));
  });
  EXPECT_TRUE(shown);
}

TEST(Startup, DestroyingTheWindowHidesTheVisiblePageFirst) {
  AppHarness h;
  h.UseSimulator();
  h.RunMainWindow([&](ui::HeadlessDialog& window) { window.Click(kQuitButtonId); });
  EXPECT_EQ(h.pages.log, (NotificationLog{"1+", "1-"}));
  EXPECT_EQ(h.mainWindow->page(kVehiclePage), nullptr) << "the pages are gone";
}

}  // namespace
}  // namespace qelvo::app::testing
