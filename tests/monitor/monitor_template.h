#pragma once

#include "monitor/monitor_controls.h"
#include "ui/dialog.h"

namespace qelvo::monitor::testing {

// The controls of template 110 that the page uses, hidden and shown as the template has them.
inline ui::ControlTemplate Control(int id, ui::ControlKind kind, bool visible) {
  ui::ControlTemplate control;
  control.id = id;
  control.kind = kind;
  control.visible = visible;
  return control;
}

inline ui::DialogTemplate MonitorTemplate() {
  ui::DialogTemplate tmpl;
  tmpl.id = 110;
  tmpl.width = 400;
  tmpl.height = 300;
  tmpl.controls.push_back(Control(kTipsAreaId, ui::ControlKind::Label, true));
  for (int slot = 0; slot < kItemSlots; ++slot) {
    tmpl.controls.push_back(Control(LabelIdOfSlot(slot), ui::ControlKind::Label, false));
    tmpl.controls.push_back(Control(EditIdOfSlot(slot), ui::ControlKind::Edit, false));
  }
  tmpl.controls.push_back(Control(kStatusLabelId, ui::ControlKind::Label, true));
  tmpl.controls.push_back(Control(kStatusBoxId, ui::ControlKind::Edit, true));
  return tmpl;
}

// The main window's page area, enough to be a parent.
inline ui::DialogTemplate ParentTemplate() {
  ui::DialogTemplate tmpl;
  tmpl.id = 102;
  tmpl.width = 498;
  tmpl.height = 409;
  tmpl.style = ui::WindowStyle::TopLevel;
  return tmpl;
}

inline constexpr ui::Rect kPageArea{91, 62, 400, 300};

}  // namespace qelvo::monitor::testing
