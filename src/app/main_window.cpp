#include "app/main_window.h"

#include <utility>

#include "app/messages.h"
#include "app/templates/control_ids.h"
#include "app/templates/templates.h"

namespace qelvo::app {

CQelvoUserAppDlg::CQelvoUserAppDlg(ui::Backend& backend, RunState& state,
                                   ControllerConnection& connection, PageFactory& factory)
    : backend_(backend), state_(state), connection_(connection), factory_(factory) {}

CQelvoUserAppDlg::~CQelvoUserAppDlg() {
  DestroyPages();
  connection_.onSettingError = nullptr;
}

int CQelvoUserAppDlg::DoModal() {
  dialog_ = backend_.CreateDialog(MainWindowTemplate(), *this);
  if (!dialog_)
    return ui::kResultCancel;
  const int result = dialog_->RunModal();
  DestroyPages();
  dialog_.reset();
  return result;
}

void CQelvoUserAppDlg::OnClicked(int id) {
  if (id == kQuitButtonId) {
    dialog_->EndModal(ui::kResultCancel);
    return;
  }
  if (id >= kVehicleButtonId && id <= kWriteButtonId)
    OnCommandButton(id);
}

void CQelvoUserAppDlg::OnCancelKey() {
  dialog_->EndModal(ui::kResultCancel);
}

// Enter would end the window through the hidden default button and drop whatever the user
// had typed but not written; here it does nothing.
void CQelvoUserAppDlg::OnOkKey() {}

void CQelvoUserAppDlg::OnCloseRequested() {
  const int cur = currentPage_;
  HideAllPages();
  if (ShowMessage(backend_, MessageId::kConfirmExit) == ui::Answer::Ok) {
    HideAllPages();
    dialog_->EndModal(ui::kResultCancel);
    return;
  }
  currentPage_ = cur;
  ShowPage(cur);
}

void CQelvoUserAppDlg::AddPage(std::unique_ptr<ui::PageWindow> page) {
  page->CreateWindow(backend_, *dialog_, pageRect_);
  page->Hide();
  ++pageCount_;
  pages_.push_back({.index = pageCount_, .page = std::move(page)});
}

void CQelvoUserAppDlg::ShowPage(int pageIndex) {
  for (auto& node : pages_)
    if (node.index == pageIndex)
      node.page->Show();
}

void CQelvoUserAppDlg::HideAllPages() {
  for (auto& node : pages_)
    node.page->Hide();
  currentPage_ = kNoPage;
}

ui::PageWindow* CQelvoUserAppDlg::page(int pageIndex) const {
  for (const auto& node : pages_)
    if (node.index == pageIndex)
      return node.page.get();
  return nullptr;
}

void CQelvoUserAppDlg::SetStatus(Status status) {
  const StatusLook look = LookOf(status);
  dialog_->SetText(kStatusLineId, look.text);
  dialog_->SetTextColor(kStatusLineId, look.colour);
}

void CQelvoUserAppDlg::SetReadWriteEnabled(bool enabled) {
  dialog_->SetEnabled(kReadButtonId, enabled);
  dialog_->SetEnabled(kWriteButtonId, enabled);
}

// A page still shown gets its hide notification from its window's destruction, so the
// monitor stops before the page object goes.
void CQelvoUserAppDlg::DestroyPages() {
  for (auto& node : pages_) {
    node.page->DestroyWindow();
    node.page.reset();
  }
  pages_.clear();
}

}  // namespace qelvo::app
