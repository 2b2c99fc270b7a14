// Message boxes carry the program's title, the asked buttons and icon, and the text as given.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>

#include "ui/qt_fixture.h"

namespace qelvo::ui {
namespace {

struct SeenBox {
  QString title;
  QString text;
  QMessageBox::StandardButtons buttons;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Shows the box and, from inside its modal loop, looks at it and presses `press` (or Esc).
Answer ShowAndPress(QtBackend& backend, std::u16string_view text, Buttons buttons, Icon icon,
                    std::optional<QMessageBox::StandardButton> press, SeenBox& seen) {
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      ADD_FAILURE() << "no message box is shown";
      return;
    }
    seen = {box->windowTitle(), box->text(), box->standardButtons(), box->icon()};
    if (press)
      box->button(*press)->click();
    else
      QTest::keyClick(box, Qt::Key_Escape);
  });
  return backend.ShowMessage(text, buttons, icon);
}

TEST(QtMessageBoxTest, CarriesTheRightButtonsAndAnswersWithTheOnePressed) {
  const struct {
    Buttons buttons;
    QMessageBox::StandardButtons expected;
    QMessageBox::StandardButton press;
    Answer answer;
  } cases[] = {
      {Buttons::Ok, QMessageBox::Ok, QMessageBox::Ok, Answer::Ok},
      {Buttons::OkCancel, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, Answer::Ok},
      {Buttons::OkCancel, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel,
       Answer::Cancel},
      {Buttons::YesNo, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, Answer::Yes},
      {Buttons::YesNo, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, Answer::No},
      {Buttons::RetryCancel, QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry,
       Answer::Retry},
      {Buttons::RetryCancel, QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Cancel,
       Answer::Cancel},
  };
  QtBackend backend;
  for (const auto& c : cases) {
    SeenBox seen;
    EXPECT_EQ(ShowAndPress(backend, u"Read data error.", c.buttons, Icon::None, c.press, seen),
              c.answer);
    EXPECT_EQ(seen.title, QString("Qelvo User App"));
    EXPECT_EQ(seen.buttons, c.expected);
  }
}

TEST(QtMessageBoxTest, EscGivesUpWithCancelNoOrOk) {
  const struct {
    Buttons buttons;
    Answer answer;
  } cases[] = {
      {Buttons::Ok, Answer::Ok},
      {Buttons::OkCancel, Answer::Cancel},
      {Buttons::YesNo, Answer::No},
      {Buttons::RetryCancel, Answer::Cancel},
  };
  QtBackend backend;
  for (const auto& c : cases) {
    SeenBox seen;
    EXPECT_EQ(ShowAndPress(backend, u"?", c.buttons, Icon::Question, std::nullopt, seen), c.answer);
  }
}

TEST(QtMessageBoxTest, ShowsTheIconAndTheTextAsGiven) {
  const struct {
    Icon icon;
    QMessageBox::Icon expected;
  } cases[] = {
      {Icon::None, QMessageBox::NoIcon},
      {Icon::Exclamation, QMessageBox::Warning},
      {Icon::Question, QMessageBox::Question},
  };
  QtBackend backend;
  for (const auto& c : cases) {
    SeenBox seen;
    ShowAndPress(backend, u"Warning:one.\r\n\r\n1.\"Yes\" <go>\nRS232 setting error. ", Buttons::Ok,
                 c.icon, QMessageBox::Ok, seen);
    EXPECT_EQ(seen.icon, c.expected);
    EXPECT_EQ(seen.text, QString("Warning:one.\n\n1.\"Yes\" <go>\nRS232 setting error. "));
  }
}

}  // namespace
}  // namespace qelvo::ui
