#pragma once

#include "app/page_factory.h"
#include "app/run_state.h"
#include "ui/dialog.h"

namespace qelvo::app {

// The real pages: Vehicle, Control, Motor, the live monitor and COM, with the zero-point
// dialog opened from the Vehicle page.
class StandardPageFactory final : public PageFactory {
 public:
  StandardPageFactory(ui::Backend& backend, RunState& state) : backend_(backend), state_(state) {}

  std::unique_ptr<ui::PageWindow> MakePage(int pageIndex, const ui::DialogTemplate& tmpl) override;

 private:
  int RunZeroDialog();

  ui::Backend& backend_;
  RunState& state_;
};

}  // namespace qelvo::app
