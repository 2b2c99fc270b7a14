#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/dialog.h"

namespace qelvo::ui {

class HeadlessBackend;

// A dialog kept in memory: every control's state starts from the template, and the test acts
// as the user through Click, Type, Focus and the keys. Unknown ids are ignored: setters
// record nothing and getters return empty text, false, no colour and an empty rectangle.
class HeadlessDialog final : public Dialog {
 public:
  // Made by HeadlessBackend::CreateDialog.
  HeadlessDialog(HeadlessBackend& backend, const DialogTemplate& tmpl, DialogEvents& events,
                 Dialog* parent, std::optional<Rect> place);
  ~HeadlessDialog() override;
  HeadlessDialog(const HeadlessDialog&) = delete;
  HeadlessDialog& operator=(const HeadlessDialog&) = delete;

  const DialogTemplate& Template() const override { return template_; }

  void SetText(int id, std::u16string_view text) override;
  std::u16string Text(int id) const override;
  void SetControlVisible(int id, bool visible) override;
  bool ControlVisible(int id) const override;
  void SetEnabled(int id, bool enabled) override;
  bool Enabled(int id) const override;
  void SetChecked(int id, bool checked) override;
  bool Checked(int id) const override;
  void SetTextColor(int id, std::optional<Rgb> colour) override;
  std::optional<Rgb> TextColor(int id) const override;
  void SetBold(int id) override;
  void SetAccessibleName(int id, std::u16string_view name) override;
  std::u16string AccessibleName(int id) const override;
  void SetFocus(int id) override;
  Rect ControlRect(int id) const override;
  void SetCaption(std::u16string_view caption) override;

  void Show() override;
  void Hide() override;
  bool IsShown() const override { return shown_; }

  // OnInit; unless that ended the dialog: shown, the modal handler registered for this
  // template runs (HeadlessBackend::OnModal), and a dialog the handler did not end ends with
  // kResultCancel. The dialog is hidden when RunModal returns.
  int RunModal() override;
  // Hides the dialog at once, like a real one; outside RunModal it does nothing.
  void EndModal(int result) override;

  // ---- What tests read beyond Dialog ----
  bool Bold(int id) const;
  std::u16string Caption() const { return caption_; }
  // The control holding the keyboard focus in this dialog, kNoId when none.
  int FocusedControl() const { return focused_; }
  Dialog* Parent() const { return parent_; }
  // The rectangle of the parent this child lies over; nullopt for a window of its own.
  std::optional<Rect> Place() const { return place_; }
  bool InModalRun() const { return modal_.running; }
  // The user can reach the controls: this dialog and every parent are shown.
  bool Reachable() const;

  // ---- The user's actions ----
  // Each returns whether it reached the owner; it does not when the dialog is not Reachable,
  // or the control is unknown, hidden, disabled or of a kind that does not take the action.

  // A push button or check box; a check box toggles its mark before OnClicked. The control
  // takes the focus, as a mouse click gives it.
  bool Click(int id);
  // Replaces an edit's text as a user would: the focus moves into the edit first (OnEditFocus
  // when it was elsewhere).
  bool Type(int id, std::u16string_view text);
  // Moves the focus to a control that takes it; OnEditFocus when it enters an edit.
  bool Focus(int id);
  // To the next control in the tab order that can take the focus, wrapping round.
  bool PressTab();
  // Space clicks the focused push button or check box.
  bool PressSpace();
  // Enter clicks the focused push button; otherwise the window's OnOkKey. A child page has
  // no keys of its own: Esc and a free Enter go to the window it lies in.
  bool PressEnter();
  bool PressEscape();
  // The close box or Alt+F4.
  bool RequestClose();

 private:
  struct ControlState {
    const ControlTemplate* tmpl = nullptr;
    std::u16string text;
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    std::optional<Rgb> colour;
    bool bold = false;
    std::u16string accessibleName;
  };
  struct ModalState {
    bool running = false;
    bool ended = false;
    int result = kResultCancel;
  };
  friend class HeadlessBackend;

  ControlState* Find(int id);
  const ControlState* Find(int id) const;
  // A control the user can act on now.
  ControlState* Usable(int id);
  bool MoveFocus(ControlState& control);
  void DropFocusFrom(int id);
  // The window whose keys a child page's keys are.
  HeadlessDialog& KeyWindow();
  void ParentGone();
  void BackendGone() { backend_ = nullptr; }
  void ChildGone(HeadlessDialog* child);

  HeadlessBackend* backend_;       // null once the backend has gone
  const DialogTemplate template_;  // a copy: the dialog never outlives its template
  DialogEvents& events_;
  Dialog* parent_;
  HeadlessDialog* headlessParent_;
  std::optional<Rect> place_;
  std::vector<ControlState> controls_;
  std::vector<HeadlessDialog*> children_;
  std::u16string caption_;
  bool shown_ = false;
  int focused_ = kNoId;
  ModalState modal_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace qelvo::ui
