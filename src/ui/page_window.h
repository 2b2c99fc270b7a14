#pragma once

#include <memory>

#include "ui/dialog.h"

namespace qelvo::ui {

// A child page of the main window: owns its dialog and receives its notifications.
class PageWindow : public DialogEvents {
 public:
  ~PageWindow() override = default;

  // Creates the page's dialog from its template over `place` of the parent, hidden.
  virtual void CreateWindow(Backend& backend, Dialog& parent, Rect place) = 0;
  // Destroys the dialog (a shown page gets its hide notification first).
  void DestroyWindow() { window_.reset(); }

  Dialog* window() const { return window_.get(); }
  void Show() {
    if (window_)
      window_->Show();
  }
  void Hide() {
    if (window_)
      window_->Hide();
  }
  bool IsShown() const { return window_ && window_->IsShown(); }

  // The page accepted every value at its last collection (parameter pages); others: true.
  virtual bool PageValid() const { return true; }
  // The description tables were loaded again: the page places its labels anew at its next
  // notification.
  virtual void TablesReloaded() {}

 protected:
  std::unique_ptr<Dialog> window_;
};

}  // namespace qelvo::ui
