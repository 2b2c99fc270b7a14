// Qt widgets stand where the templates put them, with their captions, colours and fonts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QBuffer>
#include <QCheckBox>
#include <QGlyphRun>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextLayout>

#include "ui/qt_fixture.h"

namespace qelvo::ui {
namespace {

using namespace testing;

using QtLayoutTest = QtDialogTest;

TEST_F(QtLayoutTest, ControlsStandAtTheirTemplatePlaces) {
  const DialogTemplate tmpl = SmallWindow();
  auto& d = Make(tmpl, events_);
  for (const auto& c : tmpl.controls) {
    if (c.id == kNoId)
      continue;
    QWidget* w = d.ControlWidget(c.id);
    ASSERT_NE(w, nullptr) << c.id;
    EXPECT_EQ(w->geometry(), ExpectedPixels(tmpl.font, {c.x, c.y, c.width, c.height})) << c.id;
  }
  const QRect client = ExpectedPixels(tmpl.font, {0, 0, tmpl.width, tmpl.height});
  EXPECT_EQ(d.Widget()->size(), client.size());
  EXPECT_EQ(d.Widget()->windowTitle(), QString("Small window"));
}

TEST_F(QtLayoutTest, ABoldTemplateMeasuresWithItsBoldFont) {
  DialogTemplate tmpl = SmallWindow(WindowStyle::Popup);
  tmpl.font = {10, true};
  auto& d = Make(tmpl, events_);
  QWidget* button = d.ControlWidget(kButton);
  EXPECT_EQ(button->geometry(), ExpectedPixels(tmpl.font, {6, 80, 50, 14}));
  EXPECT_TRUE(button->font().bold());
  EXPECT_EQ(button->font().pointSize(), 10);
  EXPECT_NE(ExpectedPixels(tmpl.font, {6, 80, 50, 14}),
            ExpectedPixels(FontSpec{9, false}, {6, 80, 50, 14}))
      << "the two fonts must differ for this test to mean anything";
}

TEST_F(QtLayoutTest, APopupHasAFixedSizeAndATopLevelWindowResizes) {
  auto& popup = Make(SmallWindow(WindowStyle::Popup), events_);
  auto& top = Make(SmallWindow(WindowStyle::TopLevel), events_);
  EXPECT_EQ(popup.Widget()->minimumSize(), popup.Widget()->maximumSize());
  EXPECT_NE(top.Widget()->minimumSize(), top.Widget()->maximumSize());
  EXPECT_TRUE(top.Widget()->windowFlags() & Qt::WindowMinMaxButtonsHint);
  EXPECT_FALSE(popup.Widget()->windowFlags() & Qt::WindowMinMaxButtonsHint);
}

TEST_F(QtLayoutTest, WidgetsAreOfTheTemplateKinds) {
  auto& d = Make(SmallWindow(), events_);
  EXPECT_NE(qobject_cast<QCheckBox*>(d.ControlWidget(kCheckBox)), nullptr);
  EXPECT_NE(qobject_cast<QLineEdit*>(d.ControlWidget(kEdit)), nullptr);
  EXPECT_NE(qobject_cast<QGroupBox*>(d.ControlWidget(kGroupBox)), nullptr);
  auto* ok = qobject_cast<QPushButton*>(d.ControlWidget(kDefaultButton));
  ASSERT_NE(ok, nullptr);
  EXPECT_TRUE(ok->isDefault());
  auto* tips = qobject_cast<QLabel*>(d.ControlWidget(kTips));
  ASSERT_NE(tips, nullptr);
  EXPECT_TRUE(tips->wordWrap()) << "the tips area holds several lines";
  EXPECT_EQ(tips->textFormat(), Qt::PlainText);
  auto* label = qobject_cast<QLabel*>(d.ControlWidget(kLabel));
  ASSERT_NE(label, nullptr);
  EXPECT_FALSE(label->wordWrap());
  EXPECT_EQ(label->buddy(), d.ControlWidget(kEdit)) << "an item slot's label names its edit";
  const auto lines = d.Widget()->findChildren<QFrame*>();
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](QFrame* f) {
    return f->frameShape() == QFrame::HLine && f->frameShadow() == QFrame::Sunken;
  }));
}

TEST_F(QtLayoutTest, LabelsAlignAsTheTemplateSays) {
  DialogTemplate tmpl = SmallWindow();
  tmpl.controls.push_back(Control(20, ControlKind::Label, 0, 80, 40, 38, u"Status"));
  tmpl.controls.back().verticallyCentred = true;
  tmpl.controls.push_back(Control(21, ControlKind::Label, 50, 80, 40, 8, u"Right"));
  tmpl.controls.back().align = TextAlign::Right;
  auto& d = Make(tmpl, events_);
  EXPECT_EQ(qobject_cast<QLabel*>(d.ControlWidget(20))->alignment(),
            Qt::AlignLeft | Qt::AlignVCenter);
  EXPECT_EQ(qobject_cast<QLabel*>(d.ControlWidget(21))->alignment(), Qt::AlignRight | Qt::AlignTop);
}

TEST_F(QtLayoutTest, CaptionsAreShownAsTheyStand) {
  auto& d = Make(SmallWindow(), events_);
  EXPECT_EQ(qobject_cast<QPushButton*>(d.ControlWidget(kButton))->text(), QString("Go"));
  EXPECT_EQ(qobject_cast<QLabel*>(d.ControlWidget(kLabel))->text(), QString::fromUtf8("标签"));
  EXPECT_EQ(qobject_cast<QGroupBox*>(d.ControlWidget(kGroupBox))->title(), QString("Group"));

  // An '&' from a table is a character, not a shortcut; '<' is not markup.
  d.SetText(kCheckBox, u"Brake&Throttle");
  d.SetText(kLabel, u"A&B");
  d.SetText(kTips, u"<b>not bold</b>");
  EXPECT_EQ(qobject_cast<QCheckBox*>(d.ControlWidget(kCheckBox))->text(),
            QString("Brake&&Throttle"));
  EXPECT_EQ(qobject_cast<QLabel*>(d.ControlWidget(kLabel))->text(), QString("A&&B"));
  EXPECT_EQ(d.Text(kCheckBox), u"Brake&Throttle");
  EXPECT_EQ(d.Text(kLabel), u"A&B");
  EXPECT_EQ(d.Text(kTips), u"<b>not bold</b>");
}

TEST_F(QtLayoutTest, ChineseCaptionsFindTheirGlyphs) {
  auto& d = Make(SmallWindow(), events_);
  QTextLayout layout(QString::fromUtf8("读零点"), d.ControlWidget(kLabel)->font());
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  const auto runs = layout.glyphRuns();
  ASSERT_FALSE(runs.isEmpty());
  for (const QGlyphRun& run : runs)
    for (quint32 glyph : run.glyphIndexes())
      EXPECT_NE(glyph, 0u) << "no glyph (a box instead of a character) in "
                           << run.rawFont().familyName().toStdString();
}

TEST_F(QtLayoutTest, AnEditShowsTheStartOfALongValue) {
  auto& d = Make(SmallWindow(), events_);
  d.SetText(kEdit, u"a value much longer than the edit is wide, 0123456789");
  auto* edit = qobject_cast<QLineEdit*>(d.ControlWidget(kEdit));
  EXPECT_EQ(edit->cursorPosition(), 0);
  EXPECT_EQ(d.Text(kEdit), u"a value much longer than the edit is wide, 0123456789");
}

TEST_F(QtLayoutTest, TextColoursReachThePalette) {
  auto& d = Make(SmallWindow(), events_);
  const QColor defaultText = d.ControlWidget(kLabel)->palette().color(QPalette::WindowText);
  const struct {
    int id;
    QPalette::ColorRole role;
    Rgb colour;
  } cases[] = {
      {kTips, QPalette::WindowText, kTipsBlue},
      {kEdit, QPalette::Text, kFailureRed},
      {kButton, QPalette::ButtonText, kSuccessGreen},
      {kCheckBox, QPalette::WindowText, kFailureRed},
  };
  for (const auto& c : cases) {
    d.SetTextColor(c.id, c.colour);
    EXPECT_EQ(d.ControlWidget(c.id)->palette().color(QPalette::Active, c.role),
              QColor(c.colour.r, c.colour.g, c.colour.b))
        << c.id;
    EXPECT_EQ(d.TextColor(c.id), c.colour);
  }
  d.SetTextColor(kTips, std::nullopt);
  EXPECT_EQ(d.ControlWidget(kTips)->palette().color(QPalette::WindowText), defaultText);
  EXPECT_EQ(d.TextColor(kTips), std::nullopt);
  EXPECT_EQ(d.ControlWidget(kLabel)->palette().color(QPalette::WindowText), defaultText)
      << "other controls keep theirs";
}

TEST_F(QtLayoutTest, StateReachesTheWidgets) {
  auto& d = Make(SmallWindow(), events_);
  EXPECT_FALSE(d.ControlVisible(kHiddenEdit));
  EXPECT_TRUE(d.ControlVisible(kEdit)) << "visible in the template, before the window shows";
  d.SetControlVisible(kHiddenEdit, true);
  d.SetEnabled(kEdit, false);
  d.SetChecked(kCheckBox, true);
  d.SetBold(kTips);
  d.SetAccessibleName(kEdit, u"Max speed");
  EXPECT_FALSE(d.ControlWidget(kHiddenEdit)->isHidden());
  EXPECT_FALSE(d.ControlWidget(kEdit)->isEnabled());
  EXPECT_FALSE(d.Enabled(kEdit));
  EXPECT_TRUE(qobject_cast<QCheckBox*>(d.ControlWidget(kCheckBox))->isChecked());
  EXPECT_TRUE(d.Checked(kCheckBox));
  EXPECT_TRUE(d.ControlWidget(kTips)->font().bold());
  EXPECT_EQ(d.ControlWidget(kEdit)->accessibleName(), QString("Max speed"));
  EXPECT_EQ(d.AccessibleName(kEdit), u"Max speed");
  EXPECT_EQ(d.ControlWidget(4242), nullptr);
  EXPECT_EQ(d.Text(4242), u"");
  d.SetText(4242, u"ignored");
}

TEST_F(QtLayoutTest, AChildCoversItsPlaceExactly) {
  const DialogTemplate windowTemplate = SmallWindow();
  auto& window = Make(windowTemplate, events_);
  RecordingEvents pageEvents;
  const DialogTemplate pageTemplate = SmallPage();
  auto& page = Make(pageTemplate, pageEvents, &window, kPagePlace);
  EXPECT_EQ(page.Widget()->parentWidget(), window.Widget());
  EXPECT_EQ(page.Widget()->geometry(), ExpectedPixels(windowTemplate.font, kPagePlace));
  EXPECT_TRUE(page.Widget()->isHidden()) << "a child starts hidden";
  // Its controls stand inside its thin border, in its own units.
  const auto* frame = qobject_cast<QFrame*>(page.Widget());
  ASSERT_NE(frame, nullptr);
  ASSERT_GT(frame->frameWidth(), 0);
  const QPoint border(frame->frameWidth(), frame->frameWidth());
  EXPECT_EQ(page.ControlWidget(kButton)->geometry(),
            ExpectedPixels(pageTemplate.font, {34, 20, 40, 14}).translated(border));
}

TEST_F(QtLayoutTest, APictureShowsAtItsOwnSizeFromTheTopLeft) {
  QImage image(12, 7, QImage::Format_RGB32);
  image.fill(Qt::red);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(image.save(&buffer, "PNG"));
  const std::vector<std::uint8_t> bytes(png.begin(), png.end());

  DialogTemplate tmpl = SmallWindow();
  tmpl.controls.push_back(Control(30, ControlKind::Picture, 0, 0, 60, 30));
  tmpl.controls.back().picture = bytes;
  tmpl.controls.push_back(Control(31, ControlKind::Picture, 0, 0, 60, 30));
  const std::uint8_t garbage[] = {1, 2, 3};
  tmpl.controls.back().picture = garbage;
  auto& d = Make(tmpl, events_);
  auto* picture = qobject_cast<QLabel*>(d.ControlWidget(30));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->pixmap().size(), QSize(12, 7));
  EXPECT_EQ(picture->alignment(), Qt::AlignLeft | Qt::AlignTop);
  EXPECT_FALSE(picture->hasScaledContents());
  EXPECT_TRUE(qobject_cast<QLabel*>(d.ControlWidget(31))->pixmap().isNull())
      << "bytes that are no picture show nothing";
}

TEST_F(QtLayoutTest, SavesAPictureOfADialog) {
  auto& d = Make(SmallWindow(), events_);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("dialog.png");
  ASSERT_TRUE(QtBackend::SavePicture(d, path));
  QImage saved(path);
  EXPECT_EQ(saved.size(), d.Widget()->size() * d.Widget()->devicePixelRatio());
  EXPECT_FALSE(QtBackend::SavePicture(d, dir.filePath("no/such/folder/x.png")));
}

}  // namespace
}  // namespace qelvo::ui
