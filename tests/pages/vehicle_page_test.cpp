#include "pages/vehicle_page.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "pages/page_fixture.h"
#include "pages/param_row.h"
#include "support/scripted_stream.h"
#include "zero/zero_dialog.h"

namespace qelvo::test_pages {
namespace {

using catalogue::ParamItem;
using pages::CVehicleDlg;
using pages::EditId;

constexpr int kTips = 1001;
constexpr int kFirstBox = 1106;
constexpr int kLastBox = 1121;
constexpr int kReadZero = 1341;

std::u16string Ascii(const std::string& text) {
  return {text.begin(), text.end()};
}

ParamItem Flag(int address, int bit, bool shown, int en) {
  const std::u16string name = Ascii("Flag " + std::to_string(address) + "." + std::to_string(bit));
  return {.address = address,
          .pro = 0,
          .pos = bit,
          .show = shown ? 1 : 0,
          .en = en,
          .sw = u"uo",
          .name = name,
          .rangeL = 0,
          .rangeH = 1,
          .tips = name + u" on or off."};
}

// Flags shown: bits 0, 1, 2, 6 and 7 of byte 20 (bit 6 read-only) and bits 0, 1, 3 and 7 of
// byte 21. From row 16 on two one-byte settings, the second limited to 20..100.
class VehiclePageTest : public PageFixture {
 protected:
  VehiclePageTest() {
    std::vector<ParamItem> rows;
    for (int bit = 0; bit < 8; ++bit)
      rows.push_back(Flag(20, bit, bit <= 2 || bit >= 6, bit == 6 ? 0 : 1));
    for (int bit = 0; bit < 8; ++bit)
      rows.push_back(Flag(21, bit, bit <= 1 || bit == 3 || bit == 7, 1));
    rows.push_back(Row(30, 1, 0, u"uo").Name(u"Speed").Tips(u"Speed."));
    rows.push_back(Row(31, 1, 0, u"uo").Name(u"Current Percent").Range(20, 100).Tips(u"Current."));
    rows.push_back(Row(128, 1, 0, u"uo").Name(u"Ctl"));
    SetRows(rows, 18, 19, 19);
    image_[20] = 0b1110'0101;
    image_[21] = 0b0100'1010;
    image_[30] = 10;
    image_[31] = 50;
    page_ = std::make_unique<CVehicleDlg>(template_, Context(), [this] { return RunZero(); });
    Create(*page_);
  }

  int RunZero() {
    ++zeroRuns_;
    imageDuringZero_ = image_;
    return zeroDialog_ ? zeroDialog_() : ui::kResultCancel;
  }

  ui::HeadlessDialog& Page() { return Window(*page_); }

  const ui::DialogTemplate& template_ = *app::PageTemplate(app::kVehiclePageTemplateId);
  std::unique_ptr<CVehicleDlg> page_;
  std::function<int()> zeroDialog_;
  int zeroRuns_ = 0;
  link::CalibrationImage imageDuringZero_{};
};

TEST_F(VehiclePageTest, ShownFlagRowsTakeConsecutiveBoxesMarkedFromTheirBits) {
  page_->Show();

  struct Box {
    std::u16string name;
    bool enabled;
    bool checked;
  };
  const Box boxes[] = {
      {u"Flag 20.0", true, true},  {u"Flag 20.1", true, false}, {u"Flag 20.2", true, true},
      {u"Flag 20.6", false, true}, {u"Flag 20.7", true, true},  {u"Flag 21.0", true, false},
      {u"Flag 21.1", true, true},  {u"Flag 21.3", true, true},  {u"Flag 21.7", true, false},
  };
  for (int j = 0; j < 9; ++j) {
    SCOPED_TRACE(j);
    const int id = kFirstBox + j;
    EXPECT_TRUE(Page().ControlVisible(id));
    EXPECT_EQ(Page().Text(id), boxes[j].name);
    EXPECT_EQ(Page().AccessibleName(id), boxes[j].name);
    EXPECT_EQ(Page().Enabled(id), boxes[j].enabled);
    EXPECT_EQ(Page().Checked(id), boxes[j].checked);
  }
  for (int id = kFirstBox + 9; id <= kLastBox; ++id)
    EXPECT_FALSE(Page().ControlVisible(id)) << id;
  // Item slots begin with row 16.
  EXPECT_EQ(Page().Text(1010), u"Speed");
  EXPECT_EQ(Page().Text(EditId(0)), u"10");
  EXPECT_EQ(Page().Text(EditId(1)), u"50");
}

TEST_F(VehiclePageTest, HidingStoresTheShownFlagsAndKeepsEveryOtherBit) {
  page_->Show();
  ASSERT_TRUE(Page().Click(kFirstBox));       // 20.0 off
  ASSERT_TRUE(Page().Click(kFirstBox + 7));   // 21.3 off
  ASSERT_TRUE(Page().Click(kFirstBox + 8));   // 21.7 on
  EXPECT_FALSE(Page().Click(kFirstBox + 3));  // read-only 20.6

  page_->Hide();

  EXPECT_TRUE(page_->PageValid());
  // Hidden 20.3..20.5 (0, 0, 1) and 21.2, 21.4..21.6 (0, 0, 0, 1) as they were.
  EXPECT_EQ(image_[20], 0b1110'0100);
  EXPECT_EQ(image_[21], 0b1100'0010);
}

TEST_F(VehiclePageTest, ClickingABoxShowsItsTipsWithoutRangeAndStoresNothing) {
  page_->Show();

  ASSERT_TRUE(Page().Click(kFirstBox + 1));

  EXPECT_EQ(Page().Text(kTips), u"Flag 20.1 on or off.");
  EXPECT_EQ(image_[20], 0b1110'0101);
}

TEST_F(VehiclePageTest, AFlagChangeSurvivesARefusedEdit) {
  page_->Show();
  ASSERT_TRUE(Page().Click(kFirstBox + 1));  // 20.1 on
  ASSERT_TRUE(Page().Type(EditId(0), u"11"));
  ASSERT_TRUE(Page().Type(EditId(1), u"150"));

  page_->Hide();

  EXPECT_FALSE(page_->PageValid());
  ASSERT_EQ(backend_.Messages().size(), 1u);
  EXPECT_EQ(backend_.Messages()[0].text,
            u"Param:Current Percent\nThe range should be between 20~100");
  EXPECT_EQ(image_[20], 0b1110'0111);
  EXPECT_EQ(image_[30], 11);
  EXPECT_EQ(image_[31], 50);
}

TEST_F(VehiclePageTest, AFlagRowOfAnotherKindOwnsABoxThatIsNeverSetOrStored) {
  tables_->params[15].pro = 1;  // 21.7 becomes a byte item at 21
  page_->Show();
  EXPECT_TRUE(Page().ControlVisible(kFirstBox + 8));
  ASSERT_TRUE(Page().Click(kFirstBox + 8));

  page_->Hide();

  EXPECT_EQ(image_[21], 0b0100'1010);
}

TEST_F(VehiclePageTest, TheButtonSaysReadZeroWithOrWithoutAnImage) {
  imageValid_ = false;
  page_->Show();
  EXPECT_EQ(Page().Text(kReadZero), u"ReadZero");
  EXPECT_FALSE(Page().ControlVisible(kFirstBox));

  page_->Hide();
  imageValid_ = true;
  page_->Show();
  EXPECT_EQ(Page().Text(kReadZero), u"ReadZero");
}

TEST_F(VehiclePageTest, ClosingTheZeroDialogShowsTheImageAgain) {
  page_->Show();
  const link::CalibrationImage before = image_;
  ASSERT_TRUE(Page().Click(kFirstBox));
  ASSERT_TRUE(Page().Type(EditId(0), u"99"));
  Page().SetText(kReadZero, u"changed");
  zeroDialog_ = [this] {
    image_[31] = 60;  // what an Update stores shows on the page
    return ui::kResultCancel;
  };

  ASSERT_TRUE(Page().Click(kReadZero));

  EXPECT_EQ(zeroRuns_, 1);
  EXPECT_EQ(imageDuringZero_, before) << "the page must not be collected before the dialog";
  EXPECT_TRUE(Page().Checked(kFirstBox));
  EXPECT_EQ(Page().Text(EditId(0)), u"10");
  EXPECT_EQ(Page().Text(EditId(1)), u"60");
  EXPECT_EQ(Page().Text(kReadZero), u"ReadZero");
  EXPECT_FALSE(page_->PageValid());
}

TEST_F(VehiclePageTest, EndingTheZeroDialogWithOkLeavesThePageAsItWas) {
  page_->Show();
  ASSERT_TRUE(Page().Click(kFirstBox));
  ASSERT_TRUE(Page().Type(EditId(0), u"99"));
  zeroDialog_ = [this] {
    image_[30] = 60;
    return ui::kResultOk;
  };

  ASSERT_TRUE(Page().Click(kReadZero));

  EXPECT_FALSE(Page().Checked(kFirstBox));
  EXPECT_EQ(Page().Text(EditId(0)), u"99");
  page_->Hide();
  EXPECT_EQ(image_[30], 99);
}

TEST_F(VehiclePageTest, ZeroPointsStoredByTheDialogShowOnThePage) {
  tables_->params[16] = Row(33, 2, 1, u"uo").Name(u"Hall_A_Zero").Range(474, 2200);
  test_support::ScriptedStream stream;
  for (const int value : {2050, 2048, 2049})
    stream.QueueReply(link::command::kReadZeroPoints,
                      {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value), 0,
                       0, 0, 0, 0, 0, 0, 0});
  link::Link link;
  link.port = &stream;
  zero::KeptZeroValues kept;
  zeroDialog_ = [&] {
    zero::CReadZeroADdlg dialog(backend_, app::ZeroDialogTemplate(), link, image_, kept);
    return dialog.DoModal();
  };
  backend_.OnModal(app::kZeroDialogTemplateId, [](ui::HeadlessDialog& dialog) {
    dialog.Click(1342);
    dialog.Click(1343);
    dialog.RequestClose();
  });
  page_->Show();
  ASSERT_TRUE(Page().Type(EditId(0), u"500"));

  ASSERT_TRUE(Page().Click(kReadZero));

  EXPECT_EQ(Page().Text(EditId(0)), u"2048");
  page_->Hide();
  EXPECT_TRUE(page_->PageValid());
  EXPECT_EQ(image_[33], 0x08);
  EXPECT_EQ(image_[34], 0x00);
}

}  // namespace
}  // namespace qelvo::test_pages
