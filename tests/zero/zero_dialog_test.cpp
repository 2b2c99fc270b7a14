#include "zero/zero_dialog.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

#include "app/templates/templates.h"
#include "link/packet.h"
#include "support/scripted_stream.h"
#include "ui/headless/headless_backend.h"
#include "ui/headless/headless_dialog.h"

namespace qelvo::test_zero {
namespace {

using link::ZeroPoints;

constexpr int kTemplateId = 166;
constexpr int kRead = 1342;
constexpr int kUpdate = 1343;
// History and result edits per channel: Hall A, Hall B, internal A, B, C.
constexpr std::array<int, 5> kHistory = {1352, 1354, 1347, 1348, 1349};
constexpr std::array<int, 5> kResult = {1350, 1351, 1344, 1345, 1346};
constexpr std::array<int, 5> kImageOffset = {33, 35, 40, 42, 44};

class ZeroDialogTest : public ::testing::Test {
 protected:
  ZeroDialogTest() { link_.port = &stream_; }

  // Runs the dialog while `user` acts on it; returns the dialog's result.
  int Run(const std::function<void(ui::HeadlessDialog&)>& user) {
    backend_.OnModal(kTemplateId, user);
    zero::CReadZeroADdlg dialog(backend_, template_, link_, image_, kept_);
    return dialog.DoModal();
  }

  void QueueReading(const ZeroPoints& points,
                    std::uint8_t command = link::command::kReadZeroPoints) {
    std::array<std::uint8_t, 10> payload{};
    for (std::size_t k = 0; k < points.size(); ++k) {
      payload[2 * k] = static_cast<std::uint8_t>(points[k] >> 8);
      payload[2 * k + 1] = static_cast<std::uint8_t>(points[k]);
    }
    stream_.QueueReply(command, payload);
  }

  static std::array<std::u16string, 5> Texts(const ui::HeadlessDialog& dialog,
                                             const std::array<int, 5>& ids) {
    std::array<std::u16string, 5> texts;
    for (std::size_t k = 0; k < ids.size(); ++k)
      texts[k] = dialog.Text(ids[k]);
    return texts;
  }

  // The five zero points as the image holds them.
  std::array<int, 5> StoredPoints() const {
    std::array<int, 5> points{};
    for (std::size_t k = 0; k < points.size(); ++k)
      points[k] = image_[kImageOffset[k]] * 256 + image_[kImageOffset[k] + 1];
    return points;
  }

  ui::HeadlessBackend backend_;
  const ui::DialogTemplate& template_ = app::ZeroDialogTemplate();
  test_support::ScriptedStream stream_;
  link::Link link_;
  link::CalibrationImage image_ = link::FreshImage();
  zero::KeptZeroValues kept_;
};

using Texts5 = std::array<std::u16string, 5>;

TEST_F(ZeroDialogTest, OpensWithEnglishCaptionsEmptyEditsAndNoFocus) {
  const int result = Run([&](ui::HeadlessDialog& dialog) {
    const std::pair<int, std::u16string> captions[] = {
        {1355, u"Hall Zero"}, {1356, u"Hall_A_Zero"}, {1357, u"Hall_B_Zero"},
        {1358, u"RZ Zero"},   {1359, u"RZ_A_Zero"},   {1360, u"RZ_B_Zero"},
        {1361, u"RZ_C_Zero"}, {kRead, u"Read"},       {kUpdate, u"Update"},
    };
    for (const auto& [id, text] : captions)
      EXPECT_EQ(dialog.Text(id), text) << id;
    EXPECT_EQ(dialog.Caption(), u"读零点");
    EXPECT_EQ(dialog.FocusedControl(), ui::kNoId);
    EXPECT_EQ(Texts(dialog, kHistory), Texts5{});
    EXPECT_EQ(Texts(dialog, kResult), Texts5{});
    dialog.RequestClose();
  });
  EXPECT_EQ(result, ui::kResultCancel);
  EXPECT_EQ(stream_.Writes().size(), 0u);
}

TEST_F(ZeroDialogTest, ThreeReadingsKeepTheLowestAndUpdateStoresThemHighByteFirst) {
  QueueReading({2050, 1990, 100, 200, 300});
  QueueReading({2048, 1995, 90, 210, 300});
  QueueReading({2049, 1980, 95, 190, 0xFFFF});

  Run([&](ui::HeadlessDialog& dialog) {
    ASSERT_TRUE(dialog.Click(kRead));
    EXPECT_EQ(Texts(dialog, kHistory), (Texts5{u"2050,2048,2049", u"1990,1995,1980", u"100,90,95",
                                               u"200,210,190", u"300,300,65535"}));
    EXPECT_EQ(Texts(dialog, kResult), (Texts5{u"2048", u"1980", u"90", u"190", u"300"}));
    ASSERT_TRUE(dialog.Click(kUpdate));
    dialog.PressEscape();
  });

  EXPECT_EQ(stream_.Writes().size(), 3u);
  EXPECT_EQ(image_[33], 0x08);
  EXPECT_EQ(image_[34], 0x00);
  EXPECT_EQ(StoredPoints(), (std::array<int, 5>{2048, 1980, 90, 190, 300}));
  // Only the ten bytes of the zero points change.
  for (int offset : {32, 37, 38, 39, 46})
    EXPECT_EQ(image_[offset], 0xFF) << offset;
  EXPECT_TRUE(backend_.Messages().empty());
}

TEST_F(ZeroDialogTest, AReplyOf0xFFFFShowsAndStoresAsItIs) {
  for (int reading = 0; reading < 3; ++reading)
    QueueReading({0xFFFF, 0, 1, 2, 3});
  image_.fill(0);

  Run([&](ui::HeadlessDialog& dialog) {
    dialog.Click(kRead);
    EXPECT_EQ(dialog.Text(1352), u"65535,65535,65535");
    EXPECT_EQ(dialog.Text(1350), u"65535");
    dialog.Click(kUpdate);
    dialog.RequestClose();
  });

  EXPECT_EQ(image_[33], 0xFF);
  EXPECT_EQ(image_[34], 0xFF);
}

TEST_F(ZeroDialogTest, AFirstReadingThatFailsLeavesTheOthersToCount) {
  stream_.QueueReadFailure();
  QueueReading({2050, 1990, 100, 200, 300});
  QueueReading({2048, 1995, 110, 190, 310});

  Run([&](ui::HeadlessDialog& dialog) {
    dialog.Click(kRead);
    // The history still starts where the failed reading would have stood.
    EXPECT_EQ(Texts(dialog, kHistory),
              (Texts5{u",2050,2048", u",1990,1995", u",100,110", u",200,190", u",300,310"}));
    // The 0 of program start is no reading: the lowest of the two that counted is kept.
    EXPECT_EQ(Texts(dialog, kResult), (Texts5{u"2048", u"1990", u"100", u"190", u"300"}));
    dialog.RequestClose();
  });
}

TEST_F(ZeroDialogTest, AFailedFirstReadingAppendsToThePreviousPress) {
  for (int reading = 0; reading < 3; ++reading)
    QueueReading({2000, 2000, 100, 100, 100});
  QueueReading({1, 2, 3, 4, 5}, 0x36);  // another command byte does not count
  QueueReading({2010, 1990, 100, 90, 100});
  stream_.QueueReadFailure();

  Run([&](ui::HeadlessDialog& dialog) {
    dialog.Click(kRead);
    dialog.Click(kRead);
    EXPECT_EQ(dialog.Text(1352), u"2000,2000,2000,2010");
    EXPECT_EQ(Texts(dialog, kResult), (Texts5{u"2000", u"1990", u"100", u"90", u"100"}));
    dialog.RequestClose();
  });
}

TEST_F(ZeroDialogTest, NoReadingCountingChangesNothing) {
  Run([&](ui::HeadlessDialog& dialog) {
    for (int reading = 0; reading < 3; ++reading)
      QueueReading({700, 700, 700, 700, 700});
    dialog.Click(kRead);
    stream_.QueueReadFailure();
    QueueReading({1, 1, 1, 1, 1}, 0x34);
    stream_.QueueSilence(10);  // a silent controller: the receive gives up

    dialog.Click(kRead);

    EXPECT_EQ(dialog.Text(1352), u"700,700,700");
    EXPECT_EQ(Texts(dialog, kResult), (Texts5{u"700", u"700", u"700", u"700", u"700"}));
    dialog.RequestClose();
  });
  EXPECT_EQ(kept_.values, (std::array<std::int32_t, 5>{700, 700, 700, 700, 700}));
}

TEST_F(ZeroDialogTest, UpdateIsRefusedUntilAReadingOfTheRunHasCounted) {
  stream_.QueueReadFailure();
  stream_.QueueReadFailure();
  stream_.QueueReadFailure();
  backend_.QueueAnswers({ui::Answer::Ok});

  Run([&](ui::HeadlessDialog& dialog) {
    dialog.Click(kRead);
    EXPECT_EQ(Texts(dialog, kResult), Texts5{});
    ASSERT_TRUE(dialog.Click(kUpdate));
    EXPECT_TRUE(dialog.IsShown());
    dialog.RequestClose();
  });

  ASSERT_EQ(backend_.Messages().size(), 1u);
  EXPECT_EQ(backend_.Messages()[0].text, u"No zero points have been read yet. Press Read first.");
  EXPECT_EQ(backend_.Messages()[0].buttons, ui::Buttons::Ok);
  EXPECT_EQ(backend_.Messages()[0].icon, ui::Icon::Exclamation);
  EXPECT_EQ(image_, link::FreshImage());
}

TEST_F(ZeroDialogTest, KeptValuesOutliveTheDialogAndUpdateStoresThemNotTheEdits) {
  for (int reading = 0; reading < 3; ++reading)
    QueueReading({1500, 1600, 10, 20, 30});
  Run([&](ui::HeadlessDialog& dialog) {
    dialog.Click(kRead);
    dialog.RequestClose();
  });
  ASSERT_EQ(image_, link::FreshImage());

  Run([&](ui::HeadlessDialog& dialog) {
    EXPECT_EQ(Texts(dialog, kHistory), Texts5{});
    EXPECT_EQ(Texts(dialog, kResult), Texts5{});
    ASSERT_TRUE(dialog.Type(1350, u"1234"));
    dialog.Click(kUpdate);
    image_[33] = 0;
    dialog.Click(kUpdate);
    dialog.RequestClose();
  });

  EXPECT_EQ(StoredPoints(), (std::array<int, 5>{1500, 1600, 10, 20, 30}));
  EXPECT_EQ(stream_.Writes().size(), 3u);
}

TEST_F(ZeroDialogTest, KeysEndTheDialog) {
  const struct {
    const char* key;
    std::function<bool(ui::HeadlessDialog&)> press;
    int result;
  } cases[] = {
      {"close box", [](ui::HeadlessDialog& d) { return d.RequestClose(); }, ui::kResultCancel},
      {"Esc", [](ui::HeadlessDialog& d) { return d.PressEscape(); }, ui::kResultCancel},
      {"Enter", [](ui::HeadlessDialog& d) { return d.PressEnter(); }, ui::kResultOk},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(Run([&](ui::HeadlessDialog& dialog) { EXPECT_TRUE(c.press(dialog)); }), c.result);
  }
}

}  // namespace
}  // namespace qelvo::test_zero
