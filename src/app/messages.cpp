#include "app/messages.h"

#include <array>

namespace qelvo::app {

namespace {

using ui::Buttons;
using ui::Icon;

constexpr std::u16string_view kMotorWarningText =
    u"Warning:Prohibit doing any configuration in user program while running motor.\r\n"
    u"\r\n"
    u"1.\"Yes\" to continue if the motor is not running.\r\n"
    u"2.\"No\" if the motor is running. Please reconnect user program after stopping motor.";

constexpr std::array<Message, 11> kCatalogue = {{
    {MessageId::kSettingError, u"RS232 setting error. ", Buttons::Ok, std::nullopt},
    {MessageId::kNoController, u"Controller no power or RS232 cable disconnect.",
     Buttons::RetryCancel, std::nullopt},
    {MessageId::kReadError, u"Read data error.", Buttons::RetryCancel, std::nullopt},
    {MessageId::kWriteError, u"Error writing data.", Buttons::RetryCancel, std::nullopt},
    {MessageId::kWriteSuccess, u"Written to success.", Buttons::Ok, std::nullopt},
    {MessageId::kConfirmExit, u"Sure to exit?", Buttons::OkCancel, Icon::Question},
    {MessageId::kVersionNotSupported,
     u"Software version does not match, please use the latest software.", Buttons::Ok,
     std::nullopt},
    {MessageId::kModelNotSupported,
     u"Does not support this model, please choose the right software.", Buttons::Ok, std::nullopt},
    {MessageId::kMotorWarning, kMotorWarningText, Buttons::YesNo, std::nullopt},
    {MessageId::kModuleNameMismatch,
     u"the control's Module Name is not match with the writing data.", Buttons::Ok, std::nullopt},
    {MessageId::kModuleNameUnreadable, u"Read the controller's Module Name Error!", Buttons::Ok,
     std::nullopt},
}};

}  // namespace

const Message* FindMessage(unsigned id) {
  for (const Message& m : kCatalogue)
    if (static_cast<unsigned>(m.id) == id)
      return &m;
  return nullptr;
}

const Message& MessageOf(MessageId id) {
  // Every MessageId has its row; the catalogue test walks them all.
  return *FindMessage(static_cast<unsigned>(id));
}

ui::Icon IconOf(const Message& message) {
  if (message.icon)
    return *message.icon;
  switch (message.buttons) {
    case Buttons::Ok:
    case Buttons::OkCancel:
      return Icon::Exclamation;
    case Buttons::YesNo:
      return Icon::Question;
    case Buttons::RetryCancel:
      return Icon::None;
  }
  return Icon::None;
}

ui::Answer ShowMessage(ui::Backend& backend, MessageId id) {
  const Message& m = MessageOf(id);
  return backend.ShowMessage(m.text, m.buttons, IconOf(m));
}

}  // namespace qelvo::app
