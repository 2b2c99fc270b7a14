#pragma once

#include <string>
#include <utility>

#include "ui/dialog.h"

namespace qelvo::ui::testing {

inline constexpr int kButton = 10;
inline constexpr int kCheckBox = 11;
inline constexpr int kHiddenEdit = 12;
inline constexpr int kGroupBox = 13;
inline constexpr int kDefaultButton = 14;
inline constexpr int kLabel = 1010;  // an item slot: the label, and its edit next
inline constexpr int kEdit = 1011;
inline constexpr int kTips = 1001;

inline ControlTemplate Control(int id, ControlKind kind, int x, int y, int width, int height,
                               std::u16string caption = u"", bool visible = true) {
  ControlTemplate c;
  c.id = id;
  c.kind = kind;
  c.x = x;
  c.y = y;
  c.width = width;
  c.height = height;
  c.caption = std::move(caption);
  c.visible = visible;
  return c;
}

// A window with one control of each kind that matters, in a tab order that differs from the
// order of the ids.
inline DialogTemplate SmallWindow(WindowStyle style = WindowStyle::TopLevel, int templateId = 200) {
  DialogTemplate t;
  t.id = templateId;
  t.width = 160;
  t.height = 100;
  t.caption = u"Small window";
  t.style = style;
  t.controls = {
      Control(kGroupBox, ControlKind::GroupBox, 2, 2, 150, 44, u"Group"),
      Control(kCheckBox, ControlKind::CheckBox, 6, 12, 60, 10, u"Flag"),
      Control(kLabel, ControlKind::Label, 6, 28, 30, 8, u"标签"),
      Control(kEdit, ControlKind::Edit, 40, 25, 40, 14, u""),
      Control(kHiddenEdit, ControlKind::Edit, 84, 25, 40, 14, u"", false),
      Control(kButton, ControlKind::PushButton, 6, 80, 50, 14, u"Go"),
      Control(kNoId, ControlKind::EtchedLine, 0, 50, 160, 1, u""),
      Control(kTips, ControlKind::Label, 0, 54, 160, 20, u""),
      Control(kDefaultButton, ControlKind::DefaultPushButton, 100, 80, 50, 14, u"OK"),
  };
  return t;
}

// A page for the window above: a child with a label, an edit and a button.
inline DialogTemplate SmallPage(int templateId = 300) {
  DialogTemplate t;
  t.id = templateId;
  t.width = 80;
  t.height = 40;
  t.style = WindowStyle::Child;
  t.controls = {
      Control(kLabel, ControlKind::Label, 1, 6, 30, 8, u"Page label"),
      Control(kEdit, ControlKind::Edit, 34, 3, 40, 14, u""),
      Control(kButton, ControlKind::PushButton, 34, 20, 40, 14, u"Page button"),
  };
  return t;
}

inline constexpr Rect kPagePlace{60, 48, 80, 40};

}  // namespace qelvo::ui::testing
