#pragma once

#include <functional>

#include "pages/page_context.h"
#include "ui/dialog.h"
#include "ui/page_window.h"

namespace qelvo::pages {

// Which rows of the ParamTable a page shows.
enum class PageKind { Vehicle, Control, Motor, Com };

// A parameter page: one shown row per item slot, filled from the image when shown,
// collected into it (with range checks) when hidden.
class ParameterPage : public ui::PageWindow {
 public:
  ParameterPage(PageKind kind, const ui::DialogTemplate& tmpl, PageContext context);

  void CreateWindow(ui::Backend& backend, ui::Dialog& parent, ui::Rect place) override;
  bool PageValid() const override { return pageValid_; }
  void TablesReloaded() override;

  void OnShown(bool shown) override;
  void OnEditFocus(int id) override;

 protected:
  PageKind kind_;
  const ui::DialogTemplate& template_;
  PageContext context_;
  bool labelsPlaced_ = false;
  bool pageValid_ = false;
};

class CControlDlg final : public ParameterPage {
 public:
  CControlDlg(const ui::DialogTemplate& tmpl, PageContext context)
      : ParameterPage(PageKind::Control, tmpl, context) {}
};
class CMotorDlg final : public ParameterPage {
 public:
  CMotorDlg(const ui::DialogTemplate& tmpl, PageContext context)
      : ParameterPage(PageKind::Motor, tmpl, context) {}
};
class CCOMDlg final : public ParameterPage {
 public:
  CCOMDlg(const ui::DialogTemplate& tmpl, PageContext context)
      : ParameterPage(PageKind::Com, tmpl, context) {}
};

}  // namespace qelvo::pages
