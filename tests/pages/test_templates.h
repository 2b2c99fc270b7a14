#pragma once

#include <string>

#include "ui/dialog.h"

namespace qelvo::test_pages {

inline ui::ControlTemplate Control(int id, ui::ControlKind kind, bool visible,
                                   std::u16string caption = u"") {
  ui::ControlTemplate control;
  control.id = id;
  control.kind = kind;
  control.visible = visible;
  control.caption = std::move(caption);
  return control;
}

// Page templates as the grid rule lays them out (only the ids matter here): slot s is label
// 1010 + 2s and edit 1011 + 2s, both hidden; the tips area 1001 is visible.
inline ui::DialogTemplate PageTemplate(int templateId, int slots) {
  ui::DialogTemplate tmpl;
  tmpl.id = templateId;
  tmpl.width = 400;
  tmpl.height = 300;
  tmpl.style = ui::WindowStyle::Child;
  tmpl.controls.push_back(Control(1001, ui::ControlKind::Label, true));
  for (int s = 0; s < slots; ++s) {
    tmpl.controls.push_back(Control(1010 + 2 * s, ui::ControlKind::Label, false, u"标签"));
    tmpl.controls.push_back(Control(1011 + 2 * s, ui::ControlKind::Edit, false));
  }
  return tmpl;
}

// Template 108 (109 and 111 differ only in places).
inline ui::DialogTemplate ControlPageTemplate() {
  return PageTemplate(108, 48);
}

// Template 107: 33 slots, the flag boxes 1106..1121 hidden, the zero-point button visible.
inline ui::DialogTemplate VehiclePageTemplate() {
  ui::DialogTemplate tmpl = PageTemplate(107, 33);
  for (int id = 1106; id <= 1121; ++id)
    tmpl.controls.push_back(Control(id, ui::ControlKind::CheckBox, false, u"复选框"));
  tmpl.controls.push_back(Control(1341, ui::ControlKind::PushButton, true, u"按钮"));
  return tmpl;
}

// The main window's page area is all a page needs of its parent.
inline ui::DialogTemplate ParentTemplate() {
  ui::DialogTemplate tmpl;
  tmpl.id = 102;
  tmpl.width = 498;
  tmpl.height = 409;
  tmpl.style = ui::WindowStyle::TopLevel;
  tmpl.controls.push_back(Control(1000, ui::ControlKind::GroupBox, false));
  return tmpl;
}

}  // namespace qelvo::test_pages
