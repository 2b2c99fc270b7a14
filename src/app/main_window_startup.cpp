#include <array>
#include <chrono>
#include <string_view>
#include <thread>

#include "app/main_window.h"
#include "app/messages.h"
#include "app/placeholder_page.h"
#include "app/templates/control_ids.h"
#include "app/templates/templates.h"

namespace qelvo::app {

namespace {

// The controller needs a moment after the handshake before it takes the first Prepare.
constexpr std::chrono::milliseconds kAfterConnectPause{100};

struct Caption {
  int id;
  std::u16string_view text;
};
constexpr std::array<Caption, 8> kCaptions = {{
    {kVehicleButtonId, u"Vehicle"},
    {kControlButtonId, u"Control"},
    {kMotorButtonId, u"Motor"},
    {kComButtonId, u"COM"},
    {kReadButtonId, u"Read"},
    {kWriteButtonId, u"Write"},
    {kMonitorButtonId, u"Monitor"},
    {kQuitButtonId, u"Quit"},
}};

// The child pages in creation order; the n-th gets page index n.
constexpr std::array<int, kPageCount> kPageTemplates = {
    kVehiclePageTemplateId, kControlPageTemplateId, kMotorPageTemplateId,
    kMonitorPageTemplateId, kComPageTemplateId,
};

}  // namespace

void CQelvoUserAppDlg::OnInit() {
  SetCaptions();
  dialog_->SetBold(kStatusLineId);

  if (!ConnectWithRetry()) {
    dialog_->EndModal(ui::kResultCancel);
    return;
  }

  // Every page covers the placeholder group box exactly.
  pageRect_ = dialog_->ControlRect(kPageAreaId);
  CreatePages();

  OnCommandButton(kReadButtonId);
  if (!state_.imageValid) {
    dialog_->EndModal(ui::kResultCancel);
    return;
  }

  state_.tablesLoaded = LoadTables();
  if (!state_.tablesLoaded) {
    dialog_->EndModal(ui::kResultCancel);
    return;
  }
  starting_ = false;

  OnCommandButton(kVehicleButtonId);
}

void CQelvoUserAppDlg::SetCaptions() {
  for (const Caption& c : kCaptions)
    dialog_->SetText(c.id, c.text);
}

bool CQelvoUserAppDlg::ConnectWithRetry() {
  connection_.onSettingError = [this](const std::string& /*path*/) {
    ShowMessage(backend_, MessageId::kSettingError);
  };
  bool connected = connection_.ConnectController();
  std::this_thread::sleep_for(kAfterConnectPause);
  while (!connected) {
    if (ShowMessage(backend_, MessageId::kNoController) != ui::Answer::Retry)
      return false;
    connected = connection_.ConnectController();
  }
  return true;
}

void CQelvoUserAppDlg::CreatePages() {
  for (std::size_t i = 0; i < kPageTemplates.size(); ++i) {
    const ui::DialogTemplate& tmpl = *PageTemplate(kPageTemplates[i]);
    auto page = factory_.MakePage(static_cast<int>(i) + 1, tmpl);
    if (!page)
      page = std::make_unique<PlaceholderPage>(tmpl);
    AddPage(std::move(page));
  }
}

}  // namespace qelvo::app
