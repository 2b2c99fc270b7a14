#pragma once

#include <string_view>

#include "ui/dialog.h"

namespace qelvo::app {

// What the main window's status line can say after a Read or a Write.
enum class Status { kReadSuccess, kReadFailure, kWriteSuccess, kWriteFailure };

struct StatusLook {
  std::u16string_view text;
  ui::Rgb colour;  // success green, failure red, whatever happened before
};

StatusLook LookOf(Status status);

}  // namespace qelvo::app
