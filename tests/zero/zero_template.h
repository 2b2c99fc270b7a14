#pragma once

#include <string>

#include "ui/dialog.h"

namespace qelvo::test_zero {

// Template 166 with its 19 controls in tab order (places do not matter here).
inline ui::DialogTemplate ZeroDialogTemplate() {
  struct Entry {
    int id;
    ui::ControlKind kind;
  };
  constexpr Entry kControls[] = {
      {1342, ui::ControlKind::PushButton}, {1343, ui::ControlKind::PushButton},
      {1359, ui::ControlKind::Label},      {1360, ui::ControlKind::Label},
      {1361, ui::ControlKind::Label},      {1344, ui::ControlKind::Edit},
      {1345, ui::ControlKind::Edit},       {1346, ui::ControlKind::Edit},
      {1347, ui::ControlKind::Edit},       {1348, ui::ControlKind::Edit},
      {1349, ui::ControlKind::Edit},       {1358, ui::ControlKind::GroupBox},
      {1355, ui::ControlKind::GroupBox},   {1356, ui::ControlKind::Label},
      {1357, ui::ControlKind::Label},      {1350, ui::ControlKind::Edit},
      {1351, ui::ControlKind::Edit},       {1352, ui::ControlKind::Edit},
      {1354, ui::ControlKind::Edit},
  };
  ui::DialogTemplate tmpl;
  tmpl.id = 166;
  tmpl.width = 297;
  tmpl.height = 157;
  tmpl.caption = u"读零点";
  tmpl.style = ui::WindowStyle::Popup;
  for (const Entry& entry : kControls) {
    ui::ControlTemplate control;
    control.id = entry.id;
    control.kind = entry.kind;
    if (entry.kind != ui::ControlKind::Edit)
      control.caption = u"占位";
    tmpl.controls.push_back(control);
  }
  return tmpl;
}

}  // namespace qelvo::test_zero
