#include "ui/qt/control_widgets.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRect>

#include "ui/qt/qt_text.h"

namespace qelvo::ui {

namespace {

// A label this tall holds more than one line of text (the tips area, the status line).
constexpr int kWrappingLabelHeight = 16;

QString WithoutMnemonics(const QString& text) {
  QString escaped = text;
  return escaped.replace(u'&', QStringLiteral("&&"));
}

QWidget* CreatePushButton(const ControlTemplate& control, QWidget* parent) {
  auto* button = new QPushButton(parent);
  // Enter on a focused button presses it, as Space does.
  button->setAutoDefault(true);
  button->setDefault(control.kind == ControlKind::DefaultPushButton);
  return button;
}

QWidget* CreateLabel(const ControlTemplate& control, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  const Qt::Alignment across = control.align == TextAlign::Right ? Qt::AlignRight : Qt::AlignLeft;
  label->setAlignment(across | (control.verticallyCentred ? Qt::AlignVCenter : Qt::AlignTop));
  label->setWordWrap(control.height >= kWrappingLabelHeight);
  return label;
}

QWidget* CreatePicture(const ControlTemplate& control, QWidget* parent) {
  auto* picture = new QLabel(parent);
  picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPixmap pixmap;
  if (!control.picture.empty() &&
      pixmap.loadFromData(control.picture.data(), static_cast<uint>(control.picture.size())))
    picture->setPixmap(pixmap);
  return picture;
}

QWidget* CreateEtchedLine(const ControlTemplate& control, QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(control.width >= control.height ? QFrame::HLine : QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

QWidget* CreateBareWidget(const ControlTemplate& control, QWidget* parent) {
  switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton:
      return CreatePushButton(control, parent);
    case ControlKind::CheckBox:
      return new QCheckBox(parent);
    case ControlKind::Label:
      return CreateLabel(control, parent);
    case ControlKind::Edit:
      return new QLineEdit(parent);
    case ControlKind::GroupBox: {
      auto* group = new QGroupBox(parent);
      group->setFocusPolicy(Qt::NoFocus);
      return group;
    }
    case ControlKind::Picture:
      return CreatePicture(control, parent);
    case ControlKind::EtchedLine:
      return CreateEtchedLine(control, parent);
  }
  return new QWidget(parent);
}

}  // namespace

QWidget* CreateControlWidget(const ControlTemplate& control, QWidget* parent, const QRect& pixels) {
  QWidget* widget = CreateBareWidget(control, parent);
  widget->setGeometry(pixels);
  if (control.kind != ControlKind::Picture && control.kind != ControlKind::EtchedLine)
    SetControlCaption(widget, control.kind, ToQString(control.caption));
  // Explicitly, so that a control's own visibility is known before its window first shows.
  widget->setVisible(control.visible);
  return widget;
}

void SetControlCaption(QWidget* widget, ControlKind kind, const QString& text) {
  switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton:
    case ControlKind::CheckBox:
      static_cast<QAbstractButton*>(widget)->setText(WithoutMnemonics(text));
      break;
    case ControlKind::Label: {
      auto* label = static_cast<QLabel*>(widget);
      // A label with a buddy would take an '&' as its shortcut.
      label->setText(label->buddy() ? WithoutMnemonics(text) : text);
      break;
    }
    case ControlKind::Edit: {
      auto* edit = static_cast<QLineEdit*>(widget);
      edit->setText(text);
      // Show the start of a long value, as the user would see it after typing from the left.
      edit->setCursorPosition(0);
      break;
    }
    case ControlKind::GroupBox:
      static_cast<QGroupBox*>(widget)->setTitle(WithoutMnemonics(text));
      break;
    case ControlKind::Picture:
    case ControlKind::EtchedLine:
      break;
  }
}

}  // namespace qelvo::ui
