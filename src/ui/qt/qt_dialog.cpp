#include "ui/qt/qt_dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QEventLoop>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <algorithm>

#include "ui/control_traits.h"
#include "ui/qt/control_widgets.h"
#include "ui/qt/dialog_bridge.h"
#include "ui/qt/dialog_window.h"
#include "ui/qt/qt_text.h"

namespace qelvo::ui {

namespace {

constexpr int kChildBorderWidth = 1;

Qt::WindowFlags WindowFlagsOf(WindowStyle style) {
  const Qt::WindowFlags dialogFrame = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                      Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (style == WindowStyle::TopLevel)
    return Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
  return dialogFrame;
}

// Text colours live in three palette roles: labels and check boxes draw in WindowText, edits
// in Text, push buttons in ButtonText. A disabled control stays grey.
void ApplyTextColour(QWidget* widget, std::optional<Rgb> colour) {
  if (!colour) {
    widget->setPalette(QPalette());
    return;
  }
  QPalette palette = widget->palette();
  const QColor qcolour(colour->r, colour->g, colour->b);
  for (const auto group : {QPalette::Active, QPalette::Inactive})
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
      palette.setColor(group, role, qcolour);
  widget->setPalette(palette);
}

}  // namespace

QtDialog::QtDialog(const DialogTemplate& tmpl, DialogEvents& events, Dialog* parent,
                   std::optional<Rect> place)
    : template_(tmpl), events_(events), units_(DialogFont(tmpl.font)) {
  bridge_ = new DialogBridge(*this);
  CreateWindowWidget(parent, place);
  CreateControls();
  LinkLabelsToEdits();
}

QtDialog::~QtDialog() {
  *alive_ = false;
  // Children vanish with this window: each is told first, while it is whole.
  for (QtDialog* child : std::vector(children_))
    child->ParentGone();
  if (toldShown_) {
    toldShown_ = false;
    events_.OnShown(false);
  }
  Detach();
  if (parent_)
    parent_->children_.erase(
        std::remove(parent_->children_.begin(), parent_->children_.end(), this),
        parent_->children_.end());
  if (loop_)
    loop_->quit();
}

void QtDialog::CreateWindowWidget(Dialog* parent, std::optional<Rect> place) {
  parent_ = dynamic_cast<QtDialog*>(parent);
  if (parent_ && !parent_->window_)
    parent_ = nullptr;
  if (parent_)
    parent_->children_.push_back(this);

  if (place && parent_) {
    auto* frame = new QFrame(parent_->window_);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(kChildBorderWidth);
    // A page hides whatever of its parent lies under it.
    frame->setAutoFillBackground(true);
    frame->setGeometry(parent_->units_.ToPixels(*place).translated(parent_->clientOrigin_));
    clientOrigin_ = QPoint(frame->frameWidth(), frame->frameWidth());
    frame->hide();
    window_ = frame;
  } else {
    QWidget* owner = parent_ ? parent_->window_->window() : nullptr;
    auto* window = new DialogWindow(owner, WindowFlagsOf(template_.style), events_);
    window->setWindowTitle(ToQString(template_.caption));
    const QSize size(units_.X(template_.width), units_.Y(template_.height));
    if (template_.style == WindowStyle::Popup) {
      window->setFixedSize(size);
      const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
      if (screen)
        window->move(screen->availableGeometry().center() -
                     QPoint(size.width() / 2, size.height() / 2));
    } else {
      window->resize(size);
    }
    QPixmap icon;
    if (!template_.icon.empty() &&
        icon.loadFromData(template_.icon.data(), static_cast<uint>(template_.icon.size())))
      window->setWindowIcon(QIcon(icon));
    window_ = window;
  }
  window_->setFont(DialogFont(template_.font));
  window_->installEventFilter(bridge_);
}

void QtDialog::CreateControls() {
  controls_.reserve(template_.controls.size());
  QWidget* previousInTabOrder = nullptr;
  for (const auto& c : template_.controls) {
    const QRect pixels = units_.ToPixels({c.x, c.y, c.width, c.height}).translated(clientOrigin_);
    QWidget* widget = CreateControlWidget(c, window_, pixels);
    controls_.push_back({&c, widget, c.caption, std::nullopt});

    if (c.kind == ControlKind::Edit)
      widget->installEventFilter(bridge_);
    if (IsClickable(c.kind) && c.id != kNoId) {
      QObject::connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, bridge_,
                       [bridge = bridge_, id = c.id] { bridge->Clicked(id); });
    }
    // Group boxes frame the controls over them and must not catch their clicks.
    if (c.kind == ControlKind::GroupBox)
      widget->lower();
    if (TakesFocus(c.kind)) {
      if (previousInTabOrder)
        QWidget::setTabOrder(previousInTabOrder, widget);
      previousInTabOrder = widget;
    }
  }
}

void QtDialog::LinkLabelsToEdits() {
  // The item slots pair a label with the edit whose id follows its own; screen readers and
  // the label's shortcut then lead to the edit.
  for (auto& c : controls_) {
    if (c.tmpl->kind != ControlKind::Label || c.tmpl->id == kNoId)
      continue;
    const Control* edit = Find(c.tmpl->id + 1);
    if (!edit || edit->tmpl->kind != ControlKind::Edit)
      continue;
    static_cast<QLabel*>(c.widget.data())->setBuddy(edit->widget);
    SetControlCaption(c.widget, ControlKind::Label, ToQString(c.text));
  }
}

QtDialog::Control* QtDialog::Find(int id) {
  if (id == kNoId || !window_)
    return nullptr;
  for (auto& c : controls_)
    if (c.tmpl->id == id)
      return c.widget ? &c : nullptr;
  return nullptr;
}

const QtDialog::Control* QtDialog::Find(int id) const {
  return const_cast<QtDialog*>(this)->Find(id);
}

QWidget* QtDialog::ControlWidget(int id) const {
  const Control* c = Find(id);
  return c ? c->widget.data() : nullptr;
}

void QtDialog::SetText(int id, std::u16string_view text) {
  Control* c = Find(id);
  if (!c)
    return;
  c->text = text;
  SetControlCaption(c->widget, c->tmpl->kind, ToQString(text));
}

std::u16string QtDialog::Text(int id) const {
  const Control* c = Find(id);
  if (!c)
    return {};
  if (c->tmpl->kind == ControlKind::Edit)
    return ToU16String(static_cast<const QLineEdit*>(c->widget.data())->text());
  return c->text;
}

void QtDialog::SetControlVisible(int id, bool visible) {
  if (Control* c = Find(id))
    c->widget->setVisible(visible);
}

bool QtDialog::ControlVisible(int id) const {
  const Control* c = Find(id);
  return c != nullptr && !c->widget->isHidden();
}

void QtDialog::SetEnabled(int id, bool enabled) {
  if (Control* c = Find(id))
    c->widget->setEnabled(enabled);
}

bool QtDialog::Enabled(int id) const {
  const Control* c = Find(id);
  return c != nullptr && !c->widget->testAttribute(Qt::WA_ForceDisabled);
}

void QtDialog::SetChecked(int id, bool checked) {
  Control* c = Find(id);
  if (c && c->tmpl->kind == ControlKind::CheckBox)
    static_cast<QCheckBox*>(c->widget.data())->setChecked(checked);
}

bool QtDialog::Checked(int id) const {
  const Control* c = Find(id);
  return c != nullptr && c->tmpl->kind == ControlKind::CheckBox &&
         static_cast<const QCheckBox*>(c->widget.data())->isChecked();
}

void QtDialog::SetTextColor(int id, std::optional<Rgb> colour) {
  Control* c = Find(id);
  if (!c)
    return;
  c->colour = colour;
  ApplyTextColour(c->widget, colour);
}

std::optional<Rgb> QtDialog::TextColor(int id) const {
  const Control* c = Find(id);
  return c ? c->colour : std::nullopt;
}

void QtDialog::SetBold(int id) {
  Control* c = Find(id);
  if (!c)
    return;
  QFont bold = c->widget->font();
  bold.setWeight(QFont::Bold);
  c->widget->setFont(bold);
}

void QtDialog::SetAccessibleName(int id, std::u16string_view name) {
  if (Control* c = Find(id))
    c->widget->setAccessibleName(ToQString(name));
}

std::u16string QtDialog::AccessibleName(int id) const {
  const Control* c = Find(id);
  return c ? ToU16String(c->widget->accessibleName()) : std::u16string();
}

void QtDialog::SetFocus(int id) {
  Control* c = Find(id);
  if (c && TakesFocus(c->tmpl->kind))
    c->widget->setFocus(Qt::OtherFocusReason);
}

Rect QtDialog::ControlRect(int id) const {
  const ControlTemplate* c = template_.Find(id);
  return c ? Rect{c->x, c->y, c->width, c->height} : Rect{};
}

void QtDialog::SetCaption(std::u16string_view caption) {
  if (window_ && window_->isWindow())
    window_->setWindowTitle(ToQString(caption));
}

void QtDialog::Show() {
  if (!window_)
    return;
  changingVisibility_ = true;
  window_->show();
  if (window_ && window_->isWindow()) {
    window_->activateWindow();
  }
  changingVisibility_ = false;
  SyncShown();
}

void QtDialog::Hide() {
  if (!window_)
    return;
  changingVisibility_ = true;
  window_->hide();
  changingVisibility_ = false;
  SyncShown();
}

bool QtDialog::IsShown() const {
  return window_ != nullptr && !window_->isHidden();
}

void QtDialog::SyncShown() {
  const bool shown = IsShown();
  if (shown == toldShown_)
    return;
  toldShown_ = shown;
  events_.OnShown(shown);
}

void QtDialog::WindowShownOrHidden() {
  if (!changingVisibility_)
    SyncShown();
}

int QtDialog::RunModal() {
  if (!window_ || modal_.running)
    return kResultCancel;
  const auto alive = alive_;
  modal_ = {true, false, kResultCancel};
  events_.OnInit();
  if (!*alive)
    return kResultCancel;
  if (!modal_.ended && window_) {
    if (window_->isWindow() && window_->isHidden())
      window_->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    loop_ = &loop;
    Show();
    if (*alive && !modal_.ended)
      loop.exec(QEventLoop::DialogExec);
    if (!*alive)
      return kResultCancel;
    loop_ = nullptr;
  }
  Hide();
  if (window_ && window_->isWindow())
    window_->setWindowModality(Qt::NonModal);
  const int result = modal_.result;
  modal_ = {};
  return result;
}

void QtDialog::EndModal(int result) {
  if (!modal_.running || modal_.ended)
    return;
  modal_.ended = true;
  modal_.result = result;
  Hide();
  if (loop_)
    loop_->quit();
}

void QtDialog::EditFocused(QObject* edit) {
  for (const auto& c : controls_)
    if (c.widget == edit) {
      if (c.tmpl->id != kNoId)
        events_.OnEditFocus(c.tmpl->id);
      return;
    }
}

void QtDialog::ButtonClicked(int id) {
  events_.OnClicked(id);
}

void QtDialog::ParentGone() {
  if (toldShown_) {
    toldShown_ = false;
    events_.OnShown(false);
  }
  // The widgets go with the parent's; only the bridge is this dialog's to let go.
  if (bridge_) {
    bridge_->Detach();
    bridge_->deleteLater();
    bridge_ = nullptr;
  }
  window_ = nullptr;
  parent_ = nullptr;
}

void QtDialog::Detach() {
  if (bridge_) {
    bridge_->Detach();
    bridge_->deleteLater();
    bridge_ = nullptr;
  }
  if (auto* window = dynamic_cast<DialogWindow*>(window_.data()))
    window->Detach();
  if (window_) {
    window_->hide();
    // Later, not now: the destruction may come from inside one of the window's own events.
    window_->deleteLater();
  }
  window_ = nullptr;
}

}  // namespace qelvo::ui
