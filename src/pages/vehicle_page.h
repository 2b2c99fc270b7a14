#pragma once

#include <functional>

#include "pages/parameter_page.h"

namespace qelvo::pages {

// The Vehicle page: the 16 flag rows as check boxes, item slots from row 16 on, and the
// ReadZero button that opens the zero-point dialog.
class CVehicleDlg final : public ParameterPage {
 public:
  // runZeroDialog runs the zero-point dialog modally and returns its result
  // (ui::kResultOk or ui::kResultCancel).
  CVehicleDlg(const ui::DialogTemplate& tmpl, PageContext context,
              std::function<int()> runZeroDialog);

  void OnShown(bool shown) override;
  void OnClicked(int id) override;

 private:
  std::function<int()> runZeroDialog_;
};

}  // namespace qelvo::pages
