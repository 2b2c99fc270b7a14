#include "app/application.h"

#include "app/main_window.h"
#include "app/messages.h"

namespace qelvo::app {

RunEnd CQelvoUserAppApp::Run() {
  if (ShowMessage(backend_, MessageId::kMotorWarning) != ui::Answer::Yes)
    return RunEnd::kWarningDeclined;
  CQelvoUserAppDlg mainWindow(backend_, state_, connection_, factory_);
  mainWindow.DoModal();
  return RunEnd::kMainWindowClosed;
}

}  // namespace qelvo::app
