#pragma once

#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/dialog.h"
#include "ui/qt/dialog_units.h"

class QEventLoop;

namespace qelvo::ui {

class DialogBridge;

// A dialog of real widgets at the template's places. A child lies in a thin-bordered frame
// over its place in the parent; other dialogs are windows of their own.
class QtDialog final : public Dialog {
 public:
  QtDialog(const DialogTemplate& tmpl, DialogEvents& events, Dialog* parent,
           std::optional<Rect> place);
  ~QtDialog() override;
  QtDialog(const QtDialog&) = delete;
  QtDialog& operator=(const QtDialog&) = delete;

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
  bool IsShown() const override;

  // OnInit runs before the window is first shown; ended there, it never shows.
  int RunModal() override;
  void EndModal(int result) override;

  // ---- For the Qt side (tests, screenshots) ----
  // The dialog's outermost widget: its window, or a child's frame. Null once a parent
  // destroyed it.
  QWidget* Widget() const { return window_; }
  // The widget of a control, or nullptr.
  QWidget* ControlWidget(int id) const;
  const DialogUnits& Units() const { return units_; }
  // Where the template's client area begins inside Widget() (a child's border is outside it).
  QPoint ClientOrigin() const { return clientOrigin_; }

 private:
  friend class DialogBridge;
  struct Control {
    const ControlTemplate* tmpl = nullptr;
    QPointer<QWidget> widget;
    std::u16string text;  // edits keep theirs in the widget
    std::optional<Rgb> colour;
  };
  struct ModalState {
    bool running = false;
    bool ended = false;
    int result = kResultCancel;
  };

  void CreateWindowWidget(Dialog* parent, std::optional<Rect> place);
  void CreateControls();
  void LinkLabelsToEdits();
  Control* Find(int id);
  const Control* Find(int id) const;
  // Tells the owner when the window's own visibility differs from what it was last told.
  void SyncShown();
  void ParentGone();
  void Detach();

  // Called by the bridge.
  void EditFocused(QObject* edit);
  void ButtonClicked(int id);
  void WindowShownOrHidden();

  const DialogTemplate template_;
  DialogEvents& events_;
  QtDialog* parent_ = nullptr;
  std::vector<QtDialog*> children_;
  QPointer<QWidget> window_;
  DialogUnits units_;
  QPoint clientOrigin_;
  std::vector<Control> controls_;
  DialogBridge* bridge_ = nullptr;
  bool toldShown_ = false;
  bool changingVisibility_ = false;
  ModalState modal_;
  QEventLoop* loop_ = nullptr;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace qelvo::ui
