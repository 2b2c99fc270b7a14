#include "app/placeholder_page.h"

#include "app/templates/control_ids.h"

namespace qelvo::app {

void PlaceholderPage::CreateWindow(ui::Backend& backend, ui::Dialog& parent, ui::Rect place) {
  window_ = backend.CreateDialog(template_, *this, &parent, place);
  if (window_)
    window_->SetTextColor(kTipsAreaId, ui::kTipsBlue);
}

std::unique_ptr<ui::PageWindow> PlaceholderPageFactory::MakePage(int /*pageIndex*/,
                                                                 const ui::DialogTemplate& tmpl) {
  return std::make_unique<PlaceholderPage>(tmpl);
}

}  // namespace qelvo::app
