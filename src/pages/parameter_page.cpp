#include "pages/parameter_page.h"

#include "pages/item_codec.h"
#include "pages/page_template.h"
#include "pages/row_collection.h"

namespace qelvo::pages {

ParameterPage::ParameterPage(PageKind kind, const ui::DialogTemplate& tmpl, PageContext context)
    : kind_(kind), template_(tmpl), context_(context) {}

void ParameterPage::CreateWindow(ui::Backend& backend, ui::Dialog& parent, ui::Rect place) {
  window_ = backend.CreateDialog(template_, *this, &parent, place);
  window_->SetTextColor(kTipsAreaId, ui::kTipsBlue);
}

std::vector<int> ParameterPage::SlotRows() const {
  return ShownRows(context_.tables, SlotRowRange(kind_, context_.tables),
                   TemplateSlotCount(template_));
}

void ParameterPage::TablesReloaded() {
  labelsPlaced_ = false;
  ui::Dialog* dialog = window();
  if (dialog == nullptr)
    return;
  // The new table may show fewer rows: slots of the old one must not linger.
  for (int slot = 0, count = TemplateSlotCount(template_); slot < count; ++slot) {
    dialog->SetControlVisible(LabelId(slot), false);
    dialog->SetControlVisible(EditId(slot), false);
    dialog->SetEnabled(EditId(slot), true);
    dialog->SetText(EditId(slot), u"");
  }
  ResetFlagBoxes(*dialog);
}

void ParameterPage::OnShown(bool shown) {
  // The hide notification of a page being destroyed arrives after its window is gone;
  // nothing is left to collect then.
  ui::Dialog* dialog = window();
  if (dialog == nullptr || !context_.imageValid)
    return;
  if (!labelsPlaced_) {
    PlaceLabels(*dialog);
    labelsPlaced_ = true;
  }
  pageValid_ = false;
  if (shown)
    Fill(*dialog);
  else
    Collect(*dialog);
}

void ParameterPage::PlaceLabels(ui::Dialog& dialog) {
  PlaceFlagBoxes(dialog);
  const std::vector<int> rows = SlotRows();
  for (int slot = 0; slot < static_cast<int>(rows.size()); ++slot) {
    const catalogue::ParamItem& item = context_.tables.params[rows[slot]];
    dialog.SetText(LabelId(slot), item.name);
    dialog.SetControlVisible(LabelId(slot), true);
    dialog.SetControlVisible(EditId(slot), true);
    dialog.SetEnabled(EditId(slot), item.en != 0);
    dialog.SetAccessibleName(EditId(slot), item.name);
  }
}

void ParameterPage::Fill(ui::Dialog& dialog) {
  FillFlagBoxes(dialog);
  const std::vector<int> rows = SlotRows();
  for (int slot = 0; slot < static_cast<int>(rows.size()); ++slot) {
    const catalogue::ParamItem& item = context_.tables.params[rows[slot]];
    if (item.pro != 1 && item.pro != 2)
      continue;
    dialog.SetText(EditId(slot), FormatItemValue(context_.image, item).value_or(u""));
  }
}

void ParameterPage::Collect(ui::Dialog& dialog) {
  // The flags go first, so a refused edit never loses a changed flag.
  CollectFlagBoxes(dialog);
  const std::vector<int> rows = SlotRows();
  for (int slot = 0; slot < static_cast<int>(rows.size()); ++slot) {
    const catalogue::ParamItem& item = context_.tables.params[rows[slot]];
    if (CollectRow(context_.image, item, dialog.Text(EditId(slot))) == CollectOutcome::Refused) {
      context_.backend.ShowMessage(RangeMessage(item), ui::Buttons::Ok, ui::Icon::Exclamation);
      return;
    }
  }
  pageValid_ = true;
}

void ParameterPage::OnEditFocus(int id) {
  ui::Dialog* dialog = window();
  const std::optional<int> slot = SlotOfEdit(id);
  if (dialog == nullptr || !slot || id > LastHelpEditId(kind_))
    return;
  const std::vector<int> rows = SlotRows();
  if (*slot >= static_cast<int>(rows.size()))
    return;
  dialog->SetText(kTipsAreaId, HelpText(context_.tables.params[rows[*slot]]));
}

}  // namespace qelvo::pages
