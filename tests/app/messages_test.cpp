#include "app/messages.h"

#include <gtest/gtest.h>

#include "app/status_line.h"
#include "ui/headless/headless_backend.h"

namespace qelvo::app {
namespace {

using ui::Buttons;
using ui::Icon;

struct CatalogueRow {
  unsigned id;
  std::u16string_view text;
  Buttons buttons;
  Icon icon;
};

const CatalogueRow kExpected[] = {
    {147, u"RS232 setting error. ", Buttons::Ok, Icon::Exclamation},
    {149, u"Controller no power or RS232 cable disconnect.", Buttons::RetryCancel, Icon::None},
    {151, u"Read data error.", Buttons::RetryCancel, Icon::None},
    {152, u"Error writing data.", Buttons::RetryCancel, Icon::None},
    {153, u"Written to success.", Buttons::Ok, Icon::Exclamation},
    {154, u"Sure to exit?", Buttons::OkCancel, Icon::Question},
    {156, u"Software version does not match, please use the latest software.", Buttons::Ok,
     Icon::Exclamation},
    {157, u"Does not support this model, please choose the right software.", Buttons::Ok,
     Icon::Exclamation},
    {158,
     u"Warning:Prohibit doing any configuration in user program while running motor.\r\n"
     u"\r\n"
     u"1.\"Yes\" to continue if the motor is not running.\r\n"
     u"2.\"No\" if the motor is running. Please reconnect user program after stopping motor.",
     Buttons::YesNo, Icon::Question},
    {161, u"the control's Module Name is not match with the writing data.", Buttons::Ok,
     Icon::Exclamation},
    {163, u"Read the controller's Module Name Error!", Buttons::Ok, Icon::Exclamation},
};

TEST(MessageCatalogue, EveryMessageHasItsExactTextButtonsAndIcon) {
  for (const auto& row : kExpected) {
    SCOPED_TRACE(row.id);
    ui::HeadlessBackend backend;
    ShowMessage(backend, static_cast<MessageId>(row.id));
    ASSERT_EQ(backend.Messages().size(), 1u);
    const auto& shown = backend.Messages()[0];
    EXPECT_EQ(shown.text, row.text);
    EXPECT_EQ(shown.buttons, row.buttons);
    EXPECT_EQ(shown.icon, row.icon);
  }
}

TEST(MessageCatalogue, KnowsNoOtherIds) {
  for (unsigned id = 0; id < 200; ++id) {
    bool listed = false;
    for (const auto& row : kExpected)
      listed = listed || row.id == id;
    EXPECT_EQ(FindMessage(id) != nullptr, listed) << id;
  }
}

TEST(MessageCatalogue, IconFollowsTheButtonsUnlessNamed) {
  const struct {
    Buttons buttons;
    Icon icon;
  } kRule[] = {{Buttons::Ok, Icon::Exclamation},
               {Buttons::OkCancel, Icon::Exclamation},
               {Buttons::YesNo, Icon::Question},
               {Buttons::RetryCancel, Icon::None}};
  for (const auto& r : kRule)
    EXPECT_EQ(IconOf({MessageId::kReadError, u"", r.buttons, std::nullopt}), r.icon);
  EXPECT_EQ(IconOf({MessageId::kConfirmExit, u"", Buttons::OkCancel, Icon::None}), Icon::None);
}

TEST(MessageCatalogue, ShowMessageReturnsTheButtonPressed) {
  ui::HeadlessBackend backend;
  backend.QueueAnswers({ui::Answer::Retry, ui::Answer::Yes});
  EXPECT_EQ(ShowMessage(backend, MessageId::kReadError), ui::Answer::Retry);
  EXPECT_EQ(ShowMessage(backend, MessageId::kMotorWarning), ui::Answer::Yes);
  EXPECT_FALSE(backend.ScriptMisfit());
}

TEST(StatusLine, SuccessIsGreenAndFailureRedWhateverCameBefore) {
  EXPECT_EQ(LookOf(Status::kReadSuccess).text, u"Read success!");
  EXPECT_EQ(LookOf(Status::kReadFailure).text, u"Read failure!");
  EXPECT_EQ(LookOf(Status::kWriteSuccess).text, u"Write success!");
  EXPECT_EQ(LookOf(Status::kWriteFailure).text, u"Write failure!");
  EXPECT_EQ(LookOf(Status::kReadSuccess).colour, (ui::Rgb{0, 213, 11}));
  EXPECT_EQ(LookOf(Status::kWriteSuccess).colour, (ui::Rgb{0, 213, 11}));
  EXPECT_EQ(LookOf(Status::kReadFailure).colour, (ui::Rgb{255, 0, 0}));
  EXPECT_EQ(LookOf(Status::kWriteFailure).colour, (ui::Rgb{255, 0, 0}));
}

}  // namespace
}  // namespace qelvo::app
