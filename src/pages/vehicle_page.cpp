#include "pages/vehicle_page.h"

#include <utility>

#include "pages/item_codec.h"
#include "pages/page_template.h"

namespace qelvo::pages {

namespace {

// Only bit items carry a mark; a flag row of another kind owns a box that is never set.
constexpr int kFlagKind = 0;

}  // namespace

CVehicleDlg::CVehicleDlg(const ui::DialogTemplate& tmpl, PageContext context,
                         std::function<int()> runZeroDialog)
    : ParameterPage(PageKind::Vehicle, tmpl, context), runZeroDialog_(std::move(runZeroDialog)) {}

std::vector<int> CVehicleDlg::FlagBoxRows() const {
  return ShownRows(context_.tables, FlagRowRange(context_.tables),
                   TemplateControlRun(template_, kFirstFlagBoxId));
}

void CVehicleDlg::OnShown(bool shown) {
  // The caption is set whether or not an image has been read.
  if (ui::Dialog* dialog = window())
    dialog->SetText(kReadZeroButtonId, kReadZeroCaption);
  ParameterPage::OnShown(shown);
}

void CVehicleDlg::OnClicked(int id) {
  ui::Dialog* dialog = window();
  if (dialog == nullptr)
    return;
  if (id == kReadZeroButtonId) {
    // The page is not collected first: closing the dialog with Cancel shows the image
    // again, zero points included, and drops what was typed here.
    const int result = runZeroDialog_ ? runZeroDialog_() : ui::kResultCancel;
    if (result == ui::kResultCancel)
      OnShown(true);
    return;
  }
  const std::vector<int> rows = FlagBoxRows();
  const int box = id - kFirstFlagBoxId;
  if (box >= 0 && box < static_cast<int>(rows.size()))
    dialog->SetText(kTipsAreaId, context_.tables.params[rows[box]].tips);
}

void CVehicleDlg::PlaceFlagBoxes(ui::Dialog& dialog) {
  const std::vector<int> rows = FlagBoxRows();
  for (int box = 0; box < static_cast<int>(rows.size()); ++box) {
    const catalogue::ParamItem& item = context_.tables.params[rows[box]];
    const int id = kFirstFlagBoxId + box;
    dialog.SetText(id, item.name);
    dialog.SetControlVisible(id, true);
    dialog.SetEnabled(id, item.en != 0);
    dialog.SetAccessibleName(id, item.name);
  }
}

void CVehicleDlg::FillFlagBoxes(ui::Dialog& dialog) {
  const std::vector<int> rows = FlagBoxRows();
  for (int box = 0; box < static_cast<int>(rows.size()); ++box) {
    const catalogue::ParamItem& item = context_.tables.params[rows[box]];
    if (item.pro == kFlagKind)
      dialog.SetChecked(kFirstFlagBoxId + box, ReadFlagBit(context_.image, item) == 1);
  }
}

void CVehicleDlg::CollectFlagBoxes(ui::Dialog& dialog) {
  // Disabled boxes are written too: they hold what the fill gave them, so their bits stay.
  const std::vector<int> rows = FlagBoxRows();
  for (int box = 0; box < static_cast<int>(rows.size()); ++box) {
    const catalogue::ParamItem& item = context_.tables.params[rows[box]];
    if (item.pro == kFlagKind)
      WriteFlagBit(context_.image, item, dialog.Checked(kFirstFlagBoxId + box) ? 1 : 0);
  }
}

void CVehicleDlg::ResetFlagBoxes(ui::Dialog& dialog) {
  for (int box = 0, count = TemplateControlRun(template_, kFirstFlagBoxId); box < count; ++box) {
    const int id = kFirstFlagBoxId + box;
    dialog.SetControlVisible(id, false);
    dialog.SetEnabled(id, true);
    dialog.SetChecked(id, false);
  }
}

}  // namespace qelvo::pages
