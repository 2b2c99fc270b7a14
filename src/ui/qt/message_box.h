#pragma once

#include <QMessageBox>
#include <string_view>

#include "ui/dialog.h"

class QWidget;

namespace qelvo::ui {

inline constexpr char16_t kMessageTitle[] = u"Qelvo User App";

// A message box ready to run: title, text, buttons and icon, modal over `parent`.
void PrepareMessageBox(QMessageBox& box, std::u16string_view text, Buttons buttons, Icon icon);
// The answer for the button that closed the box; the giving-up button when it was closed
// some other way.
Answer AnswerOf(const QMessageBox& box, Buttons buttons);

// Runs a message box modally over the active window.
Answer RunMessageBox(std::u16string_view text, Buttons buttons, Icon icon);

}  // namespace qelvo::ui
