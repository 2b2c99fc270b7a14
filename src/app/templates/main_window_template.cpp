#include "app/resources/pictures.h"
#include "app/templates/control_ids.h"
#include "app/templates/make_control.h"
#include "app/templates/placeholder_captions.h"
#include "app/templates/templates.h"

namespace qelvo::app {

namespace {

using ui::ControlKind;
using ui::ControlTemplate;

constexpr int kWidth = 498;
constexpr int kHeight = 409;
constexpr int kFontPoints = 9;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;

ControlTemplate Button(int id, int x, int y) {
  return MakeControl(id, ControlKind::PushButton, x, y, kButtonWidth, kButtonHeight,
                     kButtonPlaceholder);
}

ControlTemplate Line(int x, int y, int width, int height) {
  return MakeControl(ui::kNoId, ControlKind::EtchedLine, x, y, width, height);
}

ControlTemplate Picture(int x, int y, int width, int height,
                        std::span<const std::uint8_t> picture) {
  ControlTemplate c = MakeControl(ui::kNoId, ControlKind::Picture, x, y, width, height);
  c.picture = picture;
  return c;
}

ui::DialogTemplate Build() {
  ui::DialogTemplate t;
  t.id = kMainWindowTemplateId;
  t.width = kWidth;
  t.height = kHeight;
  t.caption = u"Qelvo User App";
  t.font.points = kFontPoints;
  t.style = ui::WindowStyle::TopLevel;
  t.icon = AppIconPicture();

  ControlTemplate defaultButton = Button(kHiddenDefaultButtonId, 21, 379);
  defaultButton.kind = ControlKind::DefaultPushButton;
  defaultButton.visible = false;

  ControlTemplate statusLine = MakeControl(kStatusLineId, ControlKind::Label, 2, 66, 86, 38);
  statusLine.verticallyCentred = true;

  const ControlTemplate pageArea = MakeControl(kPageAreaId, ControlKind::GroupBox, 91, 62, 400, 300,
                                               kGroupBoxPlaceholder, /*visible=*/false);

  t.controls = {
      defaultButton,
      Button(kQuitButtonId, 402, 390),
      Picture(1, 0, 497, 63, BannerPicture()),
      Picture(0, 106, 89, 300, SidePicture()),
      Line(1, 64, 497, 1),
      Button(kVehicleButtonId, 92, 371),
      Button(kControlButtonId, 92, 390),
      Button(kMotorButtonId, 152, 371),
      Button(kComButtonId, 152, 390),
      Button(kMonitorButtonId, 402, 371),
      Line(90, 367, 407, 1),
      Line(90, 62, 1, 344),
      statusLine,
      Button(kWriteButtonId, 213, 391),
      Line(496, 64, 1, 344),
      Line(2, 408, 494, 1),
      Button(kReadButtonId, 213, 371),
      pageArea,
  };
  return t;
}

}  // namespace

const ui::DialogTemplate& MainWindowTemplate() {
  static const ui::DialogTemplate kTemplate = Build();
  return kTemplate;
}

}  // namespace qelvo::app
