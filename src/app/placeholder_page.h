#pragma once

#include <memory>

#include "app/page_factory.h"

namespace qelvo::app {

// A page that shows its template and nothing more: its tips area and the controls the
// template makes visible. Stands in for a page this build does not have.
class PlaceholderPage final : public ui::PageWindow {
 public:
  explicit PlaceholderPage(const ui::DialogTemplate& tmpl) : template_(tmpl) {}
  void CreateWindow(ui::Backend& backend, ui::Dialog& parent, ui::Rect place) override;

 private:
  const ui::DialogTemplate& template_;
};

class PlaceholderPageFactory final : public PageFactory {
 public:
  std::unique_ptr<ui::PageWindow> MakePage(int pageIndex, const ui::DialogTemplate& tmpl) override;
};

}  // namespace qelvo::app
