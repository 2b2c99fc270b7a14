#pragma once

#include <optional>
#include <string_view>

#include "ui/dialog.h"

namespace qelvo::app {

// The program's numbered messages.
enum class MessageId : unsigned {
  kSettingError = 147,
  kNoController = 149,
  kReadError = 151,
  kWriteError = 152,
  kWriteSuccess = 153,
  kConfirmExit = 154,
  kVersionNotSupported = 156,
  kModelNotSupported = 157,
  kMotorWarning = 158,
  kModuleNameMismatch = 161,
  kModuleNameUnreadable = 163,
};

struct Message {
  MessageId id;
  std::u16string_view text;
  ui::Buttons buttons;
  std::optional<ui::Icon> icon;  // empty: the icon follows the buttons
};

// The catalogue entry of a message id; nullptr for an id the catalogue lacks.
const Message* FindMessage(unsigned id);
const Message& MessageOf(MessageId id);

// A message that names no icon gets one by its buttons: exclamation for OK and OK/Cancel,
// question for Yes/No, none for Retry/Cancel.
ui::Icon IconOf(const Message& message);

// Shows the message in a modal box titled "Qelvo User App"; returns the button pressed.
ui::Answer ShowMessage(ui::Backend& backend, MessageId id);

}  // namespace qelvo::app
