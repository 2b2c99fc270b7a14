#pragma once

#include <vector>

#include "pages/page_context.h"
#include "pages/page_rows.h"
#include "ui/dialog.h"
#include "ui/page_window.h"

namespace qelvo::pages {

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
  // The Vehicle page's flag check boxes hook in here; the other pages have none.
  virtual void PlaceFlagBoxes(ui::Dialog& /*dialog*/) {}
  virtual void FillFlagBoxes(ui::Dialog& /*dialog*/) {}
  virtual void CollectFlagBoxes(ui::Dialog& /*dialog*/) {}
  virtual void ResetFlagBoxes(ui::Dialog& /*dialog*/) {}

  // The table rows that own item slots 0, 1, ... of this page.
  std::vector<int> SlotRows() const;

  PageKind kind_;
  const ui::DialogTemplate& template_;
  PageContext context_;
  bool labelsPlaced_ = false;
  bool pageValid_ = false;

 private:
  void PlaceLabels(ui::Dialog& dialog);
  void Fill(ui::Dialog& dialog);
  void Collect(ui::Dialog& dialog);
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
