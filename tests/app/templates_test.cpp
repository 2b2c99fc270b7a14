#include "app/templates/templates.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/resources/pictures.h"

namespace qelvo::app {
namespace {

using ui::ControlKind;

std::vector<int> Ids(const ui::DialogTemplate& t) {
  std::vector<int> ids;
  for (const auto& c : t.controls)
    ids.push_back(c.id);
  return ids;
}

ui::Rect RectOf(const ui::ControlTemplate& c) {
  return {c.x, c.y, c.width, c.height};
}

std::vector<int> SlotIds(int first, int last) {
  std::vector<int> ids;
  for (int s = first; s <= last; ++s) {
    ids.push_back(1010 + 2 * s);
    ids.push_back(1011 + 2 * s);
  }
  return ids;
}

TEST(MainWindowTemplate, HasItsEighteenControlsInOrder) {
  const auto& t = MainWindowTemplate();
  EXPECT_EQ(t.id, 102);
  EXPECT_EQ(t.width, 498);
  EXPECT_EQ(t.height, 409);
  EXPECT_EQ(t.caption, u"Qelvo User App");
  EXPECT_EQ(t.font.points, 9);
  EXPECT_FALSE(t.font.bold);
  EXPECT_EQ(t.style, ui::WindowStyle::TopLevel);
  EXPECT_FALSE(t.icon.empty());

  constexpr int kNone = ui::kNoId;
  EXPECT_EQ(Ids(t), (std::vector<int>{1, 2, kNone, kNone, kNone, 1002, 1003, 1004, 1006, 1005,
                                      kNone, kNone, 1009, 1008, kNone, kNone, 1007, 1000}));

  const struct {
    std::size_t order;
    ControlKind kind;
    ui::Rect rect;
    bool visible;
  } kRows[] = {
      {0, ControlKind::DefaultPushButton, {21, 379, 50, 14}, false},
      {1, ControlKind::PushButton, {402, 390, 50, 14}, true},
      {2, ControlKind::Picture, {1, 0, 497, 63}, true},
      {3, ControlKind::Picture, {0, 106, 89, 300}, true},
      {4, ControlKind::EtchedLine, {1, 64, 497, 1}, true},
      {9, ControlKind::PushButton, {402, 371, 50, 14}, true},
      {11, ControlKind::EtchedLine, {90, 62, 1, 344}, true},
      {12, ControlKind::Label, {2, 66, 86, 38}, true},
      {13, ControlKind::PushButton, {213, 391, 50, 14}, true},
      {15, ControlKind::EtchedLine, {2, 408, 494, 1}, true},
      {17, ControlKind::GroupBox, {91, 62, 400, 300}, false},
  };
  for (const auto& r : kRows) {
    SCOPED_TRACE(r.order);
    const auto& c = t.controls.at(r.order);
    EXPECT_EQ(c.kind, r.kind);
    EXPECT_EQ(RectOf(c), r.rect);
    EXPECT_EQ(c.visible, r.visible);
  }
  EXPECT_TRUE(t.Find(1009)->verticallyCentred);
  EXPECT_TRUE(t.Find(1009)->caption.empty());
  EXPECT_EQ(t.controls[2].picture.data(), BannerPicture().data());
  EXPECT_EQ(t.controls[3].picture.data(), SidePicture().data());
}

TEST(PageTemplates, EveryPageIsAChildOfThePageAreaSize) {
  for (int id = 107; id <= 111; ++id) {
    SCOPED_TRACE(id);
    const auto* t = PageTemplate(id);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->id, id);
    EXPECT_EQ(t->width, 400);
    EXPECT_EQ(t->height, 300);
    EXPECT_EQ(t->style, ui::WindowStyle::Child);
    EXPECT_EQ(t->font.points, 9);
    const auto* tips = t->Find(1001);
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(RectOf(*tips), (ui::Rect{0, 260, 400, 40}));
    EXPECT_TRUE(tips->visible);
  }
  EXPECT_EQ(PageTemplate(106), nullptr);
  EXPECT_EQ(PageTemplate(112), nullptr);
}

TEST(PageTemplates, SlotsFollowTheGrid) {
  const struct {
    int id;
    int slots;
    int column2LabelX;
    int column2EditX;
  } kPages[] = {{107, 33, 255, 334},
                {108, 48, 258, 337},
                {109, 48, 254, 333},
                {110, 48, 254, 333},
                {111, 48, 258, 337}};
  for (const auto& p : kPages) {
    const auto& t = *PageTemplate(p.id);
    for (int s = 0; s < p.slots; ++s) {
      SCOPED_TRACE(testing::Message() << p.id << " slot " << s);
      const int column = s / 16, row = s % 16;
      const auto* label = t.Find(1010 + 2 * s);
      const auto* edit = t.Find(1011 + 2 * s);
      ASSERT_NE(label, nullptr);
      ASSERT_NE(edit, nullptr);
      EXPECT_EQ(label->kind, ControlKind::Label);
      EXPECT_EQ(edit->kind, ControlKind::Edit);
      const int labelX[] = {1, 126, p.column2LabelX};
      const int editX[] = {80, 205, p.column2EditX};
      EXPECT_EQ(RectOf(*label), (ui::Rect{labelX[column], 6 + 16 * row, 70, 8}));
      if (!(p.id == 110 && s == 16)) {
        EXPECT_EQ(RectOf(*edit), (ui::Rect{editX[column], 3 + 16 * row, 40, 14}));
      }
      const bool statusRow = p.id == 110 && s == 47;
      EXPECT_EQ(label->visible, statusRow);
      EXPECT_EQ(edit->visible, statusRow);
    }
    EXPECT_EQ(t.Find(1010 + 2 * p.slots), nullptr) << p.id;
  }
}

TEST(PageTemplates, TabOrders) {
  std::vector<int> vehicle = {1001};
  for (int id : SlotIds(0, 31))
    vehicle.push_back(id);
  for (int k = 0; k < 16; ++k)
    vehicle.push_back(1106 + k);
  vehicle.push_back(1341);
  vehicle.push_back(1074);
  vehicle.push_back(1075);
  EXPECT_EQ(Ids(*PageTemplate(107)), vehicle);

  std::vector<int> motor = SlotIds(0, 47);
  motor.push_back(1001);
  EXPECT_EQ(Ids(*PageTemplate(109)), motor);

  std::vector<int> tipsFirst = {1001};
  for (int id : SlotIds(0, 47))
    tipsFirst.push_back(id);
  EXPECT_EQ(Ids(*PageTemplate(108)), tipsFirst);
  EXPECT_EQ(Ids(*PageTemplate(110)), tipsFirst);
  EXPECT_EQ(Ids(*PageTemplate(111)), tipsFirst);
}

TEST(PageTemplates, ControlAndComAreTheSame) {
  const auto& control = PageTemplate(108)->controls;
  const auto& com = PageTemplate(111)->controls;
  ASSERT_EQ(control.size(), com.size());
  for (std::size_t i = 0; i < control.size(); ++i) {
    EXPECT_EQ(control[i].id, com[i].id);
    EXPECT_EQ(RectOf(control[i]), RectOf(com[i]));
  }
}

TEST(PageTemplates, VehicleCheckBoxesAndZeroPointButton) {
  const auto& t = *PageTemplate(107);
  for (int k = 0; k < 15; ++k) {
    const auto* box = t.Find(1106 + k);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->kind, ControlKind::CheckBox);
    EXPECT_EQ(RectOf(*box), (ui::Rect{268, 30 + 16 * k, 122, 10})) << k;
    EXPECT_FALSE(box->visible);
  }
  EXPECT_EQ(RectOf(*t.Find(1121)), (ui::Rect{269, 245, 122, 10}));
  EXPECT_FALSE(t.Find(1121)->visible);
  const auto* zero = t.Find(1341);
  EXPECT_EQ(zero->kind, ControlKind::PushButton);
  EXPECT_EQ(RectOf(*zero), (ui::Rect{329, 234, 41, 12}));
  EXPECT_TRUE(zero->visible);
  // Only slot 32 of column 2.
  EXPECT_EQ(t.Find(1076), nullptr);
}

TEST(PageTemplates, MonitorFaultEditAndStatusRow) {
  const auto& t = *PageTemplate(110);
  EXPECT_EQ(RectOf(*t.Find(1043)), (ui::Rect{205, 3, 191, 14}));
  EXPECT_EQ(t.Find(1104)->align, ui::TextAlign::Right);
  EXPECT_TRUE(t.Find(1104)->visible);
  EXPECT_TRUE(t.Find(1105)->visible);
  EXPECT_EQ(PageTemplate(108)->Find(1104)->align, ui::TextAlign::Left);
}

TEST(ZeroDialogTemplate, HasItsNineteenControls) {
  const auto& t = ZeroDialogTemplate();
  EXPECT_EQ(t.id, 166);
  EXPECT_EQ(t.width, 297);
  EXPECT_EQ(t.height, 157);
  EXPECT_EQ(t.caption, u"读零点");
  EXPECT_EQ(t.font.points, 10);
  EXPECT_TRUE(t.font.bold);
  EXPECT_EQ(t.style, ui::WindowStyle::Popup);

  const struct {
    int id;
    ControlKind kind;
    ui::Rect rect;
  } kRows[] = {
      {1342, ControlKind::PushButton, {254, 115, 35, 14}},
      {1343, ControlKind::PushButton, {254, 133, 35, 14}},
      {1359, ControlKind::Label, {17, 93, 38, 8}},
      {1360, ControlKind::Label, {17, 110, 39, 8}},
      {1361, ControlKind::Label, {17, 126, 39, 9}},
      {1344, ControlKind::Edit, {67, 90, 40, 14}},
      {1345, ControlKind::Edit, {67, 107, 40, 14}},
      {1346, ControlKind::Edit, {67, 124, 40, 14}},
      {1347, ControlKind::Edit, {112, 90, 110, 14}},
      {1348, ControlKind::Edit, {112, 107, 110, 14}},
      {1349, ControlKind::Edit, {112, 124, 111, 14}},
      {1358, ControlKind::GroupBox, {10, 78, 235, 69}},
      {1355, ControlKind::GroupBox, {9, 14, 235, 52}},
      {1356, ControlKind::Label, {18, 30, 41, 8}},
      {1357, ControlKind::Label, {18, 47, 42, 8}},
      {1350, ControlKind::Edit, {67, 27, 40, 14}},
      {1351, ControlKind::Edit, {67, 44, 40, 14}},
      {1352, ControlKind::Edit, {112, 27, 108, 14}},
      {1354, ControlKind::Edit, {112, 44, 108, 14}},
  };
  ASSERT_EQ(t.controls.size(), std::size(kRows));
  for (std::size_t i = 0; i < t.controls.size(); ++i) {
    SCOPED_TRACE(kRows[i].id);
    EXPECT_EQ(t.controls[i].id, kRows[i].id);
    EXPECT_EQ(t.controls[i].kind, kRows[i].kind);
    EXPECT_EQ(RectOf(t.controls[i]), kRows[i].rect);
    EXPECT_TRUE(t.controls[i].visible);
    if (t.controls[i].kind == ControlKind::Edit) {
      EXPECT_TRUE(t.controls[i].caption.empty());
    }
  }
}

}  // namespace
}  // namespace qelvo::app
