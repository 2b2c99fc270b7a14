#include "pages/parameter_page.h"

#include <gtest/gtest.h>

#include <string>

#include "pages/item_codec.h"
#include "pages/page_fixture.h"
#include "pages/param_row.h"

namespace qelvo::test_pages {
namespace {

using catalogue::ParamItem;
using pages::CControlDlg;
using pages::EditId;
using pages::LabelId;

constexpr int kTips = 1001;

// The Control page's rows begin at row 1 here; row 0 stands for the Vehicle page.
class ControlPageTest : public PageFixture {
 protected:
  void SetControlRows(std::vector<ParamItem> rows) {
    rows.insert(rows.begin(), Row(0, 2, 7, u"a").Name(u"Module"));
    const int end = static_cast<int>(rows.size());
    SetRows(rows, 1, end, end);
  }
  void MakePage() {
    page_ = std::make_unique<CControlDlg>(template_, Context());
    Create(*page_);
  }
  ui::HeadlessDialog& Page() { return Window(*page_); }

  const ui::DialogTemplate& template_ = *app::PageTemplate(app::kControlPageTemplateId);
  std::unique_ptr<CControlDlg> page_;
};

ParamItem Byte(int address, std::u16string name, int en = 1, int low = 0, int high = 255) {
  return Row(address, 1, 0, u"uo").Name(name).En(en).Range(low, high).Tips(name + u" tips.");
}

TEST_F(ControlPageTest, ShownRowsTakeConsecutiveSlotsWithTheirCaptions) {
  ParamItem hidden = Byte(131, u"Hidden");
  hidden.show = 0;
  ParamItem notOne = Byte(133, u"Show two");
  notOne.show = 2;
  ParamItem editableTwo = Byte(134, u"En two", 2);
  SetControlRows({Byte(130, u"First"), hidden, Byte(132, u"Read only", 0), notOne, editableTwo});
  image_[130] = 7;
  image_[132] = 250;
  image_[134] = 3;
  MakePage();

  page_->Show();

  struct Expected {
    std::u16string caption;
    bool enabled;
    std::u16string value;
  };
  const Expected expected[] = {
      {u"First", true, u"7"}, {u"Read only", false, u"250"}, {u"En two", true, u"3"}};
  for (int slot = 0; slot < 3; ++slot) {
    SCOPED_TRACE(slot);
    EXPECT_TRUE(Page().ControlVisible(LabelId(slot)));
    EXPECT_TRUE(Page().ControlVisible(EditId(slot)));
    EXPECT_EQ(Page().Text(LabelId(slot)), expected[slot].caption);
    EXPECT_EQ(Page().AccessibleName(EditId(slot)), expected[slot].caption);
    EXPECT_EQ(Page().Enabled(EditId(slot)), expected[slot].enabled);
    EXPECT_EQ(Page().Text(EditId(slot)), expected[slot].value);
  }
  for (int slot = 3; slot < 48; ++slot) {
    EXPECT_FALSE(Page().ControlVisible(LabelId(slot))) << slot;
    EXPECT_FALSE(Page().ControlVisible(EditId(slot))) << slot;
  }
  EXPECT_EQ(Page().TextColor(kTips), ui::kTipsBlue);
  EXPECT_EQ(Page().TextColor(LabelId(0)), std::nullopt);
}

TEST_F(ControlPageTest, RowsWithoutFormatLeaveTheirEditsEmpty) {
  ParamItem threeByteHex = Row(140, 2, 2, u"h").En(2).Name(u"Three hex");
  ParamItem bit = Row(142, 0, 3, u"uo").Name(u"A bit");
  SetControlRows({Byte(130, u"Before"), threeByteHex, bit});
  MakePage();

  page_->Show();

  EXPECT_EQ(Page().Text(EditId(0)), u"255");
  EXPECT_EQ(Page().Text(EditId(1)), u"");
  EXPECT_TRUE(Page().ControlVisible(EditId(2)));
  EXPECT_EQ(Page().Text(EditId(2)), u"");
}

TEST_F(ControlPageTest, EveryShowRefillsFromTheImage) {
  SetControlRows({Byte(130, u"A", 1, 0, 100), Byte(131, u"B", 1, 0, 100)});
  image_[130] = 10;
  image_[131] = 20;
  MakePage();
  page_->Show();
  ASSERT_TRUE(Page().Type(EditId(0), u"11"));
  page_->Hide();
  EXPECT_EQ(image_[130], 11);
  EXPECT_TRUE(page_->PageValid());

  image_[131] = 21;  // a Read brought in a new value
  page_->Show();

  EXPECT_EQ(Page().Text(EditId(0)), u"11");
  EXPECT_EQ(Page().Text(EditId(1)), u"21");
  EXPECT_FALSE(page_->PageValid());
}

TEST_F(ControlPageTest, NotificationsWithoutAValidImageChangeNothing) {
  SetControlRows({Byte(130, u"A", 1, 0, 100)});
  image_[130] = 5;
  imageValid_ = false;
  MakePage();

  page_->Show();
  EXPECT_FALSE(Page().ControlVisible(EditId(0)));
  page_->Hide();
  EXPECT_FALSE(page_->PageValid());

  imageValid_ = true;
  page_->Show();
  page_->Hide();
  ASSERT_TRUE(page_->PageValid());

  // A failed Read: the page keeps its flag and its edits.
  imageValid_ = false;
  image_[130] = 6;
  page_->Show();
  EXPECT_TRUE(page_->PageValid());
  EXPECT_EQ(Page().Text(EditId(0)), u"5");
}

TEST_F(ControlPageTest, FocusShowsTheHelpTextOfTheSlotsRow) {
  std::vector<ParamItem> rows;
  for (int i = 0; i < 48; ++i)
    rows.push_back(Byte(130 + i, u"Row"));
  rows[0].show = 0;  // so slot 0 belongs to the second row
  rows[1].tips = u"Phase Current Percent.";
  rows[1].rangeL = 20;
  rows[1].rangeH = 100;
  rows[47].tips = u"Second last.";
  rows.push_back(Byte(180, u"Last"));
  SetControlRows(rows);
  image_.fill(50);
  MakePage();
  page_->Show();

  ASSERT_TRUE(Page().Focus(EditId(0)));
  EXPECT_EQ(Page().Text(kTips), u"Phase Current Percent. Range:20~100");

  // The 48th slot's edit (1105) takes the focus but has no help text.
  ASSERT_TRUE(Page().Focus(EditId(47)));
  EXPECT_EQ(Page().Text(kTips), u"Phase Current Percent. Range:20~100");
  ASSERT_TRUE(Page().Focus(EditId(46)));
  EXPECT_EQ(Page().Text(kTips), u"Second last. Range:0~255");
}

TEST_F(ControlPageTest, FocusOnAnEditBeyondTheShownRowsLeavesTheTips) {
  SetControlRows({Byte(130, u"Only")});
  MakePage();
  page_->Show();
  Page().SetText(kTips, u"before");

  page_->OnEditFocus(EditId(1));
  page_->OnEditFocus(LabelId(0));

  EXPECT_EQ(Page().Text(kTips), u"before");
}

TEST_F(ControlPageTest, NoMoreRowsThanTheTemplateHasSlots) {
  std::vector<ParamItem> rows;
  for (int i = 0; i < 50; ++i)
    rows.push_back(Byte(130 + i, u"Row", 1, 0, 100));
  SetControlRows(rows);
  image_.fill(50);
  image_[178] = 200;  // rows 49 and 50 have no slot, so their values are never checked
  image_[179] = 200;
  MakePage();

  page_->Show();
  ASSERT_TRUE(Page().Type(EditId(47), u"60"));
  page_->Hide();

  EXPECT_TRUE(page_->PageValid());
  EXPECT_EQ(image_[177], 60);
  EXPECT_EQ(image_[178], 200);
  EXPECT_TRUE(backend_.Messages().empty());
}

TEST_F(ControlPageTest, ARefusedRowStopsTheCollectionAndTheNextShowRefills) {
  ParamItem word = Row(132, 2, 1, u"uo").Name(u"Word").Range(0, 1000);
  SetControlRows({Byte(130, u"Above"), Byte(131, u"Current Percent", 1, 20, 100), word});
  image_[130] = 1;
  image_[131] = 50;
  image_[132] = 0x01;
  image_[133] = 0xF4;
  MakePage();
  page_->Show();

  ASSERT_TRUE(Page().Type(EditId(0), u"7"));
  ASSERT_TRUE(Page().Type(EditId(1), u"101"));
  ASSERT_TRUE(Page().Type(EditId(2), u"999"));
  page_->Hide();

  ASSERT_EQ(backend_.Messages().size(), 1u);
  const ui::MessageRecord& box = backend_.Messages()[0];
  EXPECT_EQ(box.text, u"Param:Current Percent\nThe range should be between 20~100");
  EXPECT_EQ(box.buttons, ui::Buttons::Ok);
  EXPECT_EQ(box.icon, ui::Icon::Exclamation);
  EXPECT_FALSE(page_->PageValid());
  EXPECT_EQ(image_[130], 7);
  EXPECT_EQ(image_[131], 50);
  EXPECT_EQ(image_[132], 0x01);
  EXPECT_EQ(image_[133], 0xF4);

  page_->Show();
  EXPECT_EQ(Page().Text(EditId(0)), u"7");
  EXPECT_EQ(Page().Text(EditId(1)), u"50");
  EXPECT_EQ(Page().Text(EditId(2)), u"500");
}

TEST_F(ControlPageTest, UntouchedValuesOutOfRangeBlockOnlyEditableRows) {
  SetControlRows({Byte(130, u"Read only", 0, 20, 100), Byte(131, u"Editable", 1, 20, 100)});
  image_[130] = 255;
  image_[131] = 50;
  MakePage();

  page_->Show();
  page_->Hide();
  EXPECT_TRUE(page_->PageValid());
  EXPECT_EQ(image_[130], 255);

  image_[131] = 255;
  page_->Show();
  page_->Hide();
  EXPECT_FALSE(page_->PageValid());
  ASSERT_EQ(backend_.Messages().size(), 1u);
  EXPECT_EQ(backend_.Messages()[0].text, u"Param:Editable\nThe range should be between 20~100");
}

TEST_F(ControlPageTest, ReloadedTablesPlaceTheLabelsAnew) {
  SetControlRows({Byte(130, u"Old A", 0), Byte(131, u"Old B"), Byte(132, u"Old C")});
  MakePage();
  page_->Show();
  page_->Hide();

  SetControlRows({Byte(140, u"New A")});
  page_->TablesReloaded();
  image_[140] = 9;
  page_->Show();

  EXPECT_EQ(Page().Text(LabelId(0)), u"New A");
  EXPECT_TRUE(Page().Enabled(EditId(0)));
  EXPECT_EQ(Page().Text(EditId(0)), u"9");
  EXPECT_FALSE(Page().ControlVisible(LabelId(1)));
  EXPECT_FALSE(Page().ControlVisible(EditId(2)));
}

TEST_F(ControlPageTest, DestroyingAShownPageStoresNothingAndAsksNothing) {
  SetControlRows({Byte(130, u"A", 1, 20, 100)});
  image_[130] = 50;
  MakePage();
  page_->Show();
  ASSERT_TRUE(Page().Type(EditId(0), u"0"));

  page_->DestroyWindow();

  EXPECT_EQ(image_[130], 50);
  EXPECT_TRUE(backend_.Messages().empty());
}

}  // namespace
}  // namespace qelvo::test_pages
