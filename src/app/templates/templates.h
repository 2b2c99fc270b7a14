#pragma once

#include "ui/dialog.h"

namespace qelvo::app {

inline constexpr int kMainWindowTemplateId = 102;
inline constexpr int kVehiclePageTemplateId = 107;
inline constexpr int kControlPageTemplateId = 108;
inline constexpr int kMotorPageTemplateId = 109;
inline constexpr int kMonitorPageTemplateId = 110;
inline constexpr int kComPageTemplateId = 111;
inline constexpr int kZeroDialogTemplateId = 166;

// The main window, template 102.
const ui::DialogTemplate& MainWindowTemplate();
// A child page template, 107 to 111; nullptr for any other id.
const ui::DialogTemplate* PageTemplate(int id);
// The zero-point dialog, template 166.
const ui::DialogTemplate& ZeroDialogTemplate();

}  // namespace qelvo::app
