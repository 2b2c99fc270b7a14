#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qelvo::ui {

// ---- Templates: a dialog as data -------------------------------------------------------

enum class ControlKind {
  PushButton,
  DefaultPushButton,
  CheckBox,  // automatic two-state: a click toggles the mark by itself
  Label,     // static text
  Edit,      // single line, border, scrolls horizontally
  GroupBox,
  Picture,  // a bitmap shown at its own pixel size from the top-left corner
  EtchedLine,
};

enum class TextAlign { Left, Right };

// A control with no id of its own (pictures, lines) has id kNoId.
inline constexpr int kNoId = -1;

struct ControlTemplate {
  int id = kNoId;
  ControlKind kind = ControlKind::Label;
  int x = 0, y = 0, width = 0, height = 0;  // dialog units, from the client area's top left
  bool visible = true;
  TextAlign align = TextAlign::Left;
  bool verticallyCentred = false;
  std::u16string caption;                 // the template's placeholder
  std::span<const std::uint8_t> picture;  // Picture: the image file's bytes (BMP or PNG)
};

struct FontSpec {
  int points = 9;
  bool bold = false;
};

enum class WindowStyle {
  TopLevel,  // title bar, system menu, resizable frame, minimise and maximise boxes
  Child,     // thin border, no caption: a page inside its parent
  Popup,     // title bar and close box, fixed size, centred on the screen
};

struct DialogTemplate {
  int id = 0;
  int width = 0, height = 0;  // dialog units
  std::u16string caption;
  FontSpec font;
  WindowStyle style = WindowStyle::Child;
  std::span<const std::uint8_t> icon;     // the window icon's file bytes, may be empty
  std::vector<ControlTemplate> controls;  // template order, which is the tab order

  const ControlTemplate* Find(int controlId) const {
    for (const auto& c : controls)
      if (c.id == controlId)
        return &c;
    return nullptr;
  }
};

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};
inline constexpr Rgb kSuccessGreen{0, 213, 11};
inline constexpr Rgb kFailureRed{255, 0, 0};
inline constexpr Rgb kTipsBlue{0, 0, 255};

// A rectangle in the dialog units of a parent dialog.
struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// ---- Notifications to a dialog's owner -------------------------------------------------

class DialogEvents {
 public:
  virtual ~DialogEvents() = default;
  // A modal dialog's initialisation, before it is first shown. Calling EndModal from here
  // ends the dialog without showing it.
  virtual void OnInit() {}
  // The dialog became shown or hidden; never called without a change.
  virtual void OnShown(bool /*shown*/) {}
  // Focus entered the edit with this id.
  virtual void OnEditFocus(int /*id*/) {}
  // A push button or check box was clicked (a check box's mark has already toggled).
  virtual void OnClicked(int /*id*/) {}
  // The close box, the system menu's Close or Alt+F4.
  virtual void OnCloseRequested() {}
  // Esc (the dialog's cancel key) and Enter where no focused button takes it.
  virtual void OnCancelKey() {}
  virtual void OnOkKey() {}
};

// ---- A dialog made from a template ----------------------------------------------------

inline constexpr int kResultOk = 1;
inline constexpr int kResultCancel = 2;

class Dialog {
 public:
  // Destroying a dialog that is shown delivers its hide notification first.
  virtual ~Dialog() = default;

  virtual const DialogTemplate& Template() const = 0;

  virtual void SetText(int id, std::u16string_view text) = 0;
  virtual std::u16string Text(int id) const = 0;
  virtual void SetControlVisible(int id, bool visible) = 0;
  virtual bool ControlVisible(int id) const = 0;
  virtual void SetEnabled(int id, bool enabled) = 0;
  virtual bool Enabled(int id) const = 0;
  virtual void SetChecked(int id, bool checked) = 0;
  virtual bool Checked(int id) const = 0;
  // Text colour of a control; nullopt restores the default.
  virtual void SetTextColor(int id, std::optional<Rgb> colour) = 0;
  virtual std::optional<Rgb> TextColor(int id) const = 0;
  // The control's font in bold (weight 700).
  virtual void SetBold(int id) = 0;
  // For screen readers: the control is known by this name (an edit by its row's caption).
  virtual void SetAccessibleName(int id, std::u16string_view name) = 0;
  virtual std::u16string AccessibleName(int id) const = 0;
  // Moves the keyboard focus (delivers OnEditFocus for an edit).
  virtual void SetFocus(int id) = 0;
  // Where the control lies, in this dialog's units (from its template).
  virtual Rect ControlRect(int id) const = 0;

  virtual void SetCaption(std::u16string_view caption) = 0;

  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool IsShown() const = 0;

  // Runs the dialog modally: OnInit, then shown until EndModal; returns EndModal's result.
  virtual int RunModal() = 0;
  virtual void EndModal(int result) = 0;
};

// ---- Message boxes and the backend ---------------------------------------------------

enum class Buttons { Ok, OkCancel, YesNo, RetryCancel };
enum class Icon { None, Exclamation, Question };
enum class Answer { Ok, Cancel, Yes, No, Retry };

class Backend {
 public:
  virtual ~Backend() = default;

  // A dialog from its template. With a parent and a place it is a child shown over that
  // rectangle of the parent; without, a top-level or pop-up window. Starts hidden.
  virtual std::unique_ptr<Dialog> CreateDialog(const DialogTemplate& tmpl, DialogEvents& events,
                                               Dialog* parent = nullptr,
                                               std::optional<Rect> place = std::nullopt) = 0;

  // A modal message box titled "Qelvo User App"; returns the button pressed.
  virtual Answer ShowMessage(std::u16string_view text, Buttons buttons, Icon icon) = 0;

  // Runs the task on the user-interface thread, queued; never blocks. Callable from any thread.
  virtual void Post(std::function<void()> task) = 0;
};

}  // namespace qelvo::ui
