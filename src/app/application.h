#pragma once

#include "app/controller_connection.h"
#include "app/page_factory.h"
#include "app/run_state.h"
#include "ui/dialog.h"

namespace qelvo::app {

enum class RunEnd {
  kWarningDeclined,   // the motor warning was not answered Yes: no window, no port
  kMainWindowClosed,  // the main window ran and has closed
};

// The application: the motor warning, then the main window until it closes.
class CQelvoUserAppApp {
 public:
  CQelvoUserAppApp(ui::Backend& backend, RunState& state, ControllerConnection& connection,
                   PageFactory& factory)
      : backend_(backend), state_(state), connection_(connection), factory_(factory) {}

  RunEnd Run();

 private:
  ui::Backend& backend_;
  RunState& state_;
  ControllerConnection& connection_;
  PageFactory& factory_;
};

}  // namespace qelvo::app
