#pragma once

#include <functional>
#include <vector>

#include "pages/parameter_page.h"

namespace qelvo::pages {

// The Vehicle page's own controls: flag check box j is 1106 + j, and the button that opens
// the zero-point dialog.
inline constexpr int kFirstFlagBoxId = 1106;
inline constexpr int kReadZeroButtonId = 1341;
inline constexpr char16_t kReadZeroCaption[] = u"ReadZero";

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
  void PlaceFlagBoxes(ui::Dialog& dialog) override;
  void FillFlagBoxes(ui::Dialog& dialog) override;
  void CollectFlagBoxes(ui::Dialog& dialog) override;
  void ResetFlagBoxes(ui::Dialog& dialog) override;

  // The flag rows that own check boxes 1106, 1107, ...
  std::vector<int> FlagBoxRows() const;

  std::function<int()> runZeroDialog_;
};

}  // namespace qelvo::pages
