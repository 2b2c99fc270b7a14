#include "ui/qt/message_box.h"

#include <QAbstractButton>
#include <QApplication>

#include "ui/message_answers.h"
#include "ui/qt/qt_text.h"

namespace qelvo::ui {

namespace {

struct ButtonMapping {
  Answer answer;
  QMessageBox::StandardButton button;
};
constexpr ButtonMapping kButtonMappings[] = {
    {Answer::Ok, QMessageBox::Ok},       {Answer::Cancel, QMessageBox::Cancel},
    {Answer::Yes, QMessageBox::Yes},     {Answer::No, QMessageBox::No},
    {Answer::Retry, QMessageBox::Retry},
};

QMessageBox::StandardButton ButtonOf(Answer answer) {
  for (const auto& m : kButtonMappings)
    if (m.answer == answer)
      return m.button;
  return QMessageBox::NoButton;
}

QMessageBox::Icon QtIcon(Icon icon) {
  switch (icon) {
    case Icon::Exclamation:
      return QMessageBox::Warning;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

void PrepareMessageBox(QMessageBox& box, std::u16string_view text, Buttons buttons, Icon icon) {
  box.setWindowTitle(ToQString(kMessageTitle));
  // Plain text: a range message may hold '<', and lines may end in CR LF.
  box.setTextFormat(Qt::PlainText);
  box.setText(ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  box.setIcon(QtIcon(icon));
  QMessageBox::StandardButtons standard;
  for (Answer a : AnswersOf(buttons))
    standard |= ButtonOf(a);
  box.setStandardButtons(standard);
  box.setDefaultButton(ButtonOf(AnswersOf(buttons).front()));
  box.setEscapeButton(ButtonOf(GivingUpAnswer(buttons)));
}

Answer AnswerOf(const QMessageBox& box, Buttons buttons) {
  const QAbstractButton* clicked = box.clickedButton();
  const auto pressed =
      clicked ? box.standardButton(const_cast<QAbstractButton*>(clicked)) : QMessageBox::NoButton;
  for (Answer a : AnswersOf(buttons))
    if (ButtonOf(a) == pressed)
      return a;
  return GivingUpAnswer(buttons);
}

Answer RunMessageBox(std::u16string_view text, Buttons buttons, Icon icon) {
  QWidget* over = QApplication::activeModalWidget();
  if (!over)
    over = QApplication::activeWindow();
  QMessageBox box(over);
  PrepareMessageBox(box, text, buttons, icon);
  box.exec();
  return AnswerOf(box, buttons);
}

}  // namespace qelvo::ui
