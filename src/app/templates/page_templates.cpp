#include <array>

#include "app/templates/control_ids.h"
#include "app/templates/make_control.h"
#include "app/templates/placeholder_captions.h"
#include "app/templates/templates.h"

namespace qelvo::app {

namespace {

using ui::ControlKind;
using ui::ControlTemplate;

constexpr int kPageWidth = 400;
constexpr int kPageHeight = 300;
constexpr int kFontPoints = 9;

// The item-slot grid: three columns of 16 rows.
constexpr int kRowsPerColumn = 16;
constexpr int kRowPitch = 16;
constexpr int kLabelTop = 6;
constexpr int kEditTop = 3;
constexpr int kLabelWidth = 70;
constexpr int kLabelHeight = 8;
constexpr int kEditWidth = 40;
constexpr int kEditHeight = 14;
constexpr std::array<int, 2> kLabelColumnX = {1, 126};
constexpr std::array<int, 2> kEditColumnX = {80, 205};
constexpr int kFullSlotCount = 48;

ControlTemplate TipsArea() {
  return MakeControl(kTipsAreaId, ControlKind::Label, 0, 260, 400, 40);
}

// Where the tips area stands in the tab order.
enum class TipsPlace { First, Last };

struct PageLayout {
  int id;
  int column2LabelX;
  int column2EditX;
  TipsPlace tips;
};

constexpr std::array<PageLayout, 5> kLayouts = {{
    {kVehiclePageTemplateId, 255, 334, TipsPlace::First},
    {kControlPageTemplateId, 258, 337, TipsPlace::First},
    {kMotorPageTemplateId, 254, 333, TipsPlace::Last},
    {kMonitorPageTemplateId, 254, 333, TipsPlace::First},
    {kComPageTemplateId, 258, 337, TipsPlace::First},
}};

// The Vehicle page's flag check boxes and zero-point button.
constexpr int kFlagBoxCount = 16;
constexpr int kFirstFlagBoxId = 1106;
constexpr int kFlagBoxX = 268;
constexpr int kFlagBoxTop = 30;
constexpr int kLastFlagBoxX = 269;
constexpr int kLastFlagBoxY = 245;
constexpr int kFlagBoxWidth = 122;
constexpr int kFlagBoxHeight = 10;
constexpr int kReadZeroButtonId = 1341;
ControlTemplate ReadZeroButton() {
  return MakeControl(kReadZeroButtonId, ControlKind::PushButton, 329, 234, 41, 12,
                     kButtonPlaceholder);
}
// Vehicle carries only the first slot of column 2, after its check boxes in the tab order.
constexpr int kVehicleGridSlots = 32;

// The monitor page's fault edit reaches across the first row of column 2, and its last
// slot is the always visible status row.
constexpr int kFaultEditId = 1043;
constexpr int kFaultEditWidth = 191;
constexpr int kStatusLabelId = 1104;
constexpr int kStatusBoxId = 1105;

void AddSlot(std::vector<ControlTemplate>& controls, const PageLayout& layout, int slot) {
  const int column = slot / kRowsPerColumn;
  const int row = slot % kRowsPerColumn;
  const int labelX = column < 2 ? kLabelColumnX[column] : layout.column2LabelX;
  const int editX = column < 2 ? kEditColumnX[column] : layout.column2EditX;
  controls.push_back(MakeControl(SlotLabelId(slot), ControlKind::Label, labelX,
                                 kLabelTop + kRowPitch * row, kLabelWidth, kLabelHeight,
                                 kStaticPlaceholder, /*visible=*/false));
  controls.push_back(MakeControl(SlotEditId(slot), ControlKind::Edit, editX,
                                 kEditTop + kRowPitch * row, kEditWidth, kEditHeight, {},
                                 /*visible=*/false));
}

void AddFlagBoxes(std::vector<ControlTemplate>& controls) {
  for (int k = 0; k < kFlagBoxCount; ++k) {
    const bool last = k == kFlagBoxCount - 1;
    controls.push_back(MakeControl(kFirstFlagBoxId + k, ControlKind::CheckBox,
                                   last ? kLastFlagBoxX : kFlagBoxX,
                                   last ? kLastFlagBoxY : kFlagBoxTop + kRowPitch * k,
                                   kFlagBoxWidth, kFlagBoxHeight, kCheckBoxPlaceholder,
                                   /*visible=*/false));
  }
}

void ApplyMonitorExceptions(std::vector<ControlTemplate>& controls) {
  for (auto& c : controls) {
    if (c.id == kFaultEditId)
      c.width = kFaultEditWidth;
    if (c.id == kStatusLabelId) {
      c.visible = true;
      c.align = ui::TextAlign::Right;
    }
    if (c.id == kStatusBoxId)
      c.visible = true;
  }
}

ui::DialogTemplate Build(const PageLayout& layout) {
  ui::DialogTemplate t;
  t.id = layout.id;
  t.width = kPageWidth;
  t.height = kPageHeight;
  t.font.points = kFontPoints;
  t.style = ui::WindowStyle::Child;

  auto& controls = t.controls;
  if (layout.tips == TipsPlace::First)
    controls.push_back(TipsArea());
  if (layout.id == kVehiclePageTemplateId) {
    for (int s = 0; s < kVehicleGridSlots; ++s)
      AddSlot(controls, layout, s);
    AddFlagBoxes(controls);
    controls.push_back(ReadZeroButton());
    AddSlot(controls, layout, kVehicleGridSlots);
  } else {
    for (int s = 0; s < kFullSlotCount; ++s)
      AddSlot(controls, layout, s);
  }
  if (layout.tips == TipsPlace::Last)
    controls.push_back(TipsArea());

  if (layout.id == kMonitorPageTemplateId)
    ApplyMonitorExceptions(controls);
  return t;
}

const std::array<ui::DialogTemplate, kLayouts.size()>& AllPageTemplates() {
  static const auto kTemplates = [] {
    std::array<ui::DialogTemplate, kLayouts.size()> all;
    for (std::size_t i = 0; i < kLayouts.size(); ++i)
      all[i] = Build(kLayouts[i]);
    return all;
  }();
  return kTemplates;
}

}  // namespace

const ui::DialogTemplate* PageTemplate(int id) {
  for (const auto& t : AllPageTemplates())
    if (t.id == id)
      return &t;
  return nullptr;
}

}  // namespace qelvo::app
