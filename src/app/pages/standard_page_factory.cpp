#include "app/pages/standard_page_factory.h"

#include "app/templates/control_ids.h"
#include "app/templates/templates.h"
#include "monitor/monitor_page.h"
#include "pages/parameter_page.h"
#include "pages/vehicle_page.h"
#include "zero/zero_dialog.h"

namespace qelvo::app {

std::unique_ptr<ui::PageWindow> StandardPageFactory::MakePage(int pageIndex,
                                                              const ui::DialogTemplate& tmpl) {
  const pages::PageContext context{.backend = backend_,
                                   .tables = state_.tables,
                                   .image = state_.image,
                                   .imageValid = state_.imageValid};
  switch (pageIndex) {
    case kVehiclePage:
      return std::make_unique<pages::CVehicleDlg>(tmpl, context,
                                                  [this] { return RunZeroDialog(); });
    case kControlPage:
      return std::make_unique<pages::CControlDlg>(tmpl, context);
    case kMotorPage:
      return std::make_unique<pages::CMotorDlg>(tmpl, context);
    case kMonitorPage:
      return std::make_unique<monitor::CMonitor1Dlg>(
          tmpl, monitor::MonitorContext{.backend = backend_,
                                        .link = state_.link,
                                        .tables = state_.tables,
                                        .imageValid = state_.imageValid});
    case kComPage:
      return std::make_unique<pages::CCOMDlg>(tmpl, context);
    default:
      return nullptr;
  }
}

int StandardPageFactory::RunZeroDialog() {
  zero::CReadZeroADdlg dialog(backend_, ZeroDialogTemplate(), state_.link, state_.image,
                              state_.keptZero);
  return dialog.DoModal();
}

}  // namespace qelvo::app
