#pragma once

#include "ui/dialog.h"

namespace qelvo::ui {

inline bool IsPushButton(ControlKind kind) {
  return kind == ControlKind::PushButton || kind == ControlKind::DefaultPushButton;
}

// Push buttons and check boxes report clicks; nothing else does.
inline bool IsClickable(ControlKind kind) {
  return IsPushButton(kind) || kind == ControlKind::CheckBox;
}

// The kinds that stand in the tab order and can hold the keyboard focus.
inline bool TakesFocus(ControlKind kind) {
  return IsClickable(kind) || kind == ControlKind::Edit;
}

}  // namespace qelvo::ui
