#include "app/templates/make_control.h"
#include "app/templates/placeholder_captions.h"
#include "app/templates/templates.h"

namespace qelvo::app {

namespace {

using ui::ControlKind;

constexpr int kWidth = 297;
constexpr int kHeight = 157;
constexpr int kFontPoints = 10;

struct Row {
  int id;
  ControlKind kind;
  int x, y, width, height;
};

// Template order, which is the tab order. There is no control 1353.
constexpr Row kRows[] = {
    {1342, ControlKind::PushButton, 254, 115, 35, 14},
    {1343, ControlKind::PushButton, 254, 133, 35, 14},
    {1359, ControlKind::Label, 17, 93, 38, 8},
    {1360, ControlKind::Label, 17, 110, 39, 8},
    {1361, ControlKind::Label, 17, 126, 39, 9},
    {1344, ControlKind::Edit, 67, 90, 40, 14},
    {1345, ControlKind::Edit, 67, 107, 40, 14},
    {1346, ControlKind::Edit, 67, 124, 40, 14},
    {1347, ControlKind::Edit, 112, 90, 110, 14},
    {1348, ControlKind::Edit, 112, 107, 110, 14},
    {1349, ControlKind::Edit, 112, 124, 111, 14},
    {1358, ControlKind::GroupBox, 10, 78, 235, 69},
    {1355, ControlKind::GroupBox, 9, 14, 235, 52},
    {1356, ControlKind::Label, 18, 30, 41, 8},
    {1357, ControlKind::Label, 18, 47, 42, 8},
    {1350, ControlKind::Edit, 67, 27, 40, 14},
    {1351, ControlKind::Edit, 67, 44, 40, 14},
    {1352, ControlKind::Edit, 112, 27, 108, 14},
    {1354, ControlKind::Edit, 112, 44, 108, 14},
};

std::u16string PlaceholderFor(ControlKind kind) {
  switch (kind) {
    case ControlKind::PushButton:
      return kButtonPlaceholder;
    case ControlKind::Label:
      return kStaticPlaceholder;
    case ControlKind::GroupBox:
      return kGroupBoxPlaceholder;
    default:
      return {};
  }
}

ui::DialogTemplate Build() {
  ui::DialogTemplate t;
  t.id = kZeroDialogTemplateId;
  t.width = kWidth;
  t.height = kHeight;
  t.caption = u"读零点";
  t.font.points = kFontPoints;
  t.font.bold = true;
  t.style = ui::WindowStyle::Popup;
  for (const Row& r : kRows) {
    t.controls.push_back(
        MakeControl(r.id, r.kind, r.x, r.y, r.width, r.height, PlaceholderFor(r.kind)));
  }
  return t;
}

}  // namespace

const ui::DialogTemplate& ZeroDialogTemplate() {
  static const ui::DialogTemplate kTemplate = Build();
  return kTemplate;
}

}  // namespace qelvo::app
