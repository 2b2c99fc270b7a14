#include "ui/headless/headless_dialog.h"

#include <algorithm>

#include "ui/control_traits.h"
#include "ui/headless/headless_backend.h"

namespace qelvo::ui {

HeadlessDialog::HeadlessDialog(HeadlessBackend& backend, const DialogTemplate& tmpl,
                               DialogEvents& events, Dialog* parent, std::optional<Rect> place)
    : backend_(&backend),
      template_(tmpl),
      events_(events),
      parent_(parent),
      headlessParent_(dynamic_cast<HeadlessDialog*>(parent)),
      place_(parent ? place : std::nullopt),
      caption_(tmpl.caption) {
  controls_.reserve(template_.controls.size());
  for (const auto& c : template_.controls) {
    ControlState state;
    state.tmpl = &c;
    state.text = c.caption;
    state.visible = c.visible;
    controls_.push_back(std::move(state));
  }
  if (headlessParent_)
    headlessParent_->children_.push_back(this);
}

HeadlessDialog::~HeadlessDialog() {
  *alive_ = false;
  // Children vanish with their window: each gets its hide while this one is still whole.
  for (HeadlessDialog* child : std::vector(children_))
    child->ParentGone();
  Hide();
  if (headlessParent_)
    headlessParent_->ChildGone(this);
  if (backend_)
    backend_->Forget(this);
}

void HeadlessDialog::ParentGone() {
  Hide();
  parent_ = nullptr;
  headlessParent_ = nullptr;
}

void HeadlessDialog::ChildGone(HeadlessDialog* child) {
  children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

HeadlessDialog::ControlState* HeadlessDialog::Find(int id) {
  if (id == kNoId)
    return nullptr;
  for (auto& c : controls_)
    if (c.tmpl->id == id)
      return &c;
  return nullptr;
}

const HeadlessDialog::ControlState* HeadlessDialog::Find(int id) const {
  return const_cast<HeadlessDialog*>(this)->Find(id);
}

void HeadlessDialog::SetText(int id, std::u16string_view text) {
  if (auto* c = Find(id))
    c->text = text;
}

std::u16string HeadlessDialog::Text(int id) const {
  const auto* c = Find(id);
  return c ? c->text : std::u16string();
}

void HeadlessDialog::SetControlVisible(int id, bool visible) {
  auto* c = Find(id);
  if (!c)
    return;
  c->visible = visible;
  if (!visible)
    DropFocusFrom(id);
}

bool HeadlessDialog::ControlVisible(int id) const {
  const auto* c = Find(id);
  return c != nullptr && c->visible;
}

void HeadlessDialog::SetEnabled(int id, bool enabled) {
  auto* c = Find(id);
  if (!c)
    return;
  c->enabled = enabled;
  if (!enabled)
    DropFocusFrom(id);
}

bool HeadlessDialog::Enabled(int id) const {
  const auto* c = Find(id);
  return c != nullptr && c->enabled;
}

void HeadlessDialog::SetChecked(int id, bool checked) {
  auto* c = Find(id);
  if (c && c->tmpl->kind == ControlKind::CheckBox)
    c->checked = checked;
}

bool HeadlessDialog::Checked(int id) const {
  const auto* c = Find(id);
  return c != nullptr && c->checked;
}

void HeadlessDialog::SetTextColor(int id, std::optional<Rgb> colour) {
  if (auto* c = Find(id))
    c->colour = colour;
}

std::optional<Rgb> HeadlessDialog::TextColor(int id) const {
  const auto* c = Find(id);
  return c ? c->colour : std::nullopt;
}

void HeadlessDialog::SetBold(int id) {
  if (auto* c = Find(id))
    c->bold = true;
}

bool HeadlessDialog::Bold(int id) const {
  const auto* c = Find(id);
  return c != nullptr && c->bold;
}

void HeadlessDialog::SetAccessibleName(int id, std::u16string_view name) {
  if (auto* c = Find(id))
    c->accessibleName = name;
}

std::u16string HeadlessDialog::AccessibleName(int id) const {
  const auto* c = Find(id);
  return c ? c->accessibleName : std::u16string();
}

void HeadlessDialog::SetFocus(int id) {
  auto* c = Find(id);
  if (c && c->visible && c->enabled && TakesFocus(c->tmpl->kind))
    MoveFocus(*c);
}

Rect HeadlessDialog::ControlRect(int id) const {
  const auto* c = Find(id);
  if (!c)
    return {};
  return {c->tmpl->x, c->tmpl->y, c->tmpl->width, c->tmpl->height};
}

void HeadlessDialog::SetCaption(std::u16string_view caption) {
  caption_ = caption;
}

void HeadlessDialog::Show() {
  if (shown_)
    return;
  shown_ = true;
  events_.OnShown(true);
}

void HeadlessDialog::Hide() {
  if (!shown_)
    return;
  shown_ = false;
  focused_ = kNoId;
  events_.OnShown(false);
}

int HeadlessDialog::RunModal() {
  // A dialog already running cannot run again inside itself.
  if (modal_.running)
    return kResultCancel;
  // The owner may destroy the dialog from one of its notifications.
  const auto alive = alive_;
  const int templateId = template_.id;
  HeadlessBackend* backend = backend_;
  modal_ = {true, false, kResultCancel};
  bool everShown = false;
  events_.OnInit();
  if (*alive && !modal_.ended) {
    Show();
    everShown = true;
    // A copy: the handler may register another for this template while it runs.
    const ModalHandler handler = backend ? backend->ModalHandlerFor(templateId) : ModalHandler();
    if (*alive && handler)
      handler(*this);
  }
  int result = kResultCancel;
  if (*alive) {
    Hide();
    result = modal_.result;
    modal_ = {};
    backend = backend_;
  }
  if (backend)
    backend->RecordModalRun({templateId, everShown, result});
  return result;
}

void HeadlessDialog::EndModal(int result) {
  if (!modal_.running || modal_.ended)
    return;
  modal_.ended = true;
  modal_.result = result;
  Hide();
}

bool HeadlessDialog::Reachable() const {
  for (const HeadlessDialog* d = this; d; d = d->headlessParent_)
    if (!d->shown_)
      return false;
  return true;
}

HeadlessDialog::ControlState* HeadlessDialog::Usable(int id) {
  if (!Reachable())
    return nullptr;
  auto* c = Find(id);
  return c != nullptr && c->visible && c->enabled ? c : nullptr;
}

bool HeadlessDialog::MoveFocus(ControlState& control) {
  const int id = control.tmpl->id;
  if (focused_ == id)
    return true;
  focused_ = id;
  if (control.tmpl->kind == ControlKind::Edit)
    events_.OnEditFocus(id);
  return true;
}

void HeadlessDialog::DropFocusFrom(int id) {
  if (focused_ == id)
    focused_ = kNoId;
}

bool HeadlessDialog::Click(int id) {
  auto* c = Usable(id);
  if (!c || !IsClickable(c->tmpl->kind))
    return false;
  MoveFocus(*c);
  if (c->tmpl->kind == ControlKind::CheckBox)
    c->checked = !c->checked;
  events_.OnClicked(id);
  return true;
}

bool HeadlessDialog::Type(int id, std::u16string_view text) {
  auto* c = Usable(id);
  if (!c || c->tmpl->kind != ControlKind::Edit)
    return false;
  MoveFocus(*c);
  // The focus handler may have hidden or disabled the edit; a user could not type then.
  c = Usable(id);
  if (!c)
    return false;
  c->text = text;
  return true;
}

bool HeadlessDialog::Focus(int id) {
  auto* c = Usable(id);
  if (!c || !TakesFocus(c->tmpl->kind))
    return false;
  return MoveFocus(*c);
}

bool HeadlessDialog::PressTab() {
  if (!Reachable() || controls_.empty())
    return false;
  const auto count = controls_.size();
  std::size_t start = count - 1;
  for (std::size_t i = 0; i < count; ++i)
    if (controls_[i].tmpl->id == focused_ && focused_ != kNoId)
      start = i;
  for (std::size_t step = 1; step <= count; ++step) {
    auto& c = controls_[(start + step) % count];
    if (c.visible && c.enabled && TakesFocus(c.tmpl->kind))
      return MoveFocus(c);
  }
  return false;
}

bool HeadlessDialog::PressSpace() {
  auto* c = Usable(focused_);
  if (!c || !IsClickable(c->tmpl->kind))
    return false;
  return Click(focused_);
}

HeadlessDialog& HeadlessDialog::KeyWindow() {
  HeadlessDialog* d = this;
  while (d->place_ && d->headlessParent_)
    d = d->headlessParent_;
  return *d;
}

bool HeadlessDialog::PressEnter() {
  if (!Reachable())
    return false;
  if (auto* c = Usable(focused_); c && IsPushButton(c->tmpl->kind))
    return Click(focused_);
  KeyWindow().events_.OnOkKey();
  return true;
}

bool HeadlessDialog::PressEscape() {
  if (!Reachable())
    return false;
  KeyWindow().events_.OnCancelKey();
  return true;
}

bool HeadlessDialog::RequestClose() {
  if (!Reachable() || place_)
    return false;
  events_.OnCloseRequested();
  return true;
}

}  // namespace qelvo::ui
