#include <string>

#include "app/main_window.h"
#include "app/messages.h"
#include "app/table_fit.h"
#include "app/templates/control_ids.h"
#include "link/commands.h"

namespace qelvo::app {

namespace {

bool IsParameterPage(int pageIndex) {
  return pageIndex == kVehiclePage || pageIndex == kControlPage || pageIndex == kMotorPage ||
         pageIndex == kComPage;
}

// A built-in table that fails its checks is a fault of the build, told in the loader's words.
std::u16string BadTableText(const std::string& error) {
  std::u16string text = u"Description table error: ";
  for (unsigned char c : error)
    text.push_back(c < 0x80 ? char16_t{c} : u'?');
  return text;
}

}  // namespace

void CQelvoUserAppDlg::OnCommandButton(int id) {
  const int cur = currentPage_;

  if (id == kReadButtonId) {
    Read();
    return;
  }
  if (id < kVehicleButtonId || id > kWriteButtonId)
    return;
  if (!state_.imageValid)
    return;

  // The monitor page can always be entered; the page left behind is collected but not asked.
  if (id == kMonitorButtonId && cur != kMonitorPage) {
    HideAllPages();
    currentPage_ = kMonitorPage;
    ShowPage(kMonitorPage);
    SetReadWriteEnabled(false);
    return;
  }

  if (id != kWriteButtonId && PageIndexOfButton(id) == cur)
    return;
  if (state_.tablesLoaded)
    HideAllPages();

  // A page that refused a value keeps the user until it is corrected.
  if (IsParameterPage(cur)) {
    const ui::PageWindow* left = page(cur);
    if (left != nullptr && !left->PageValid()) {
      currentPage_ = cur;
      ShowPage(cur);
      SetReadWriteEnabled(true);
      return;
    }
  }

  if (id != kWriteButtonId) {
    currentPage_ = PageIndexOfButton(id);
    ShowPage(currentPage_);
    SetReadWriteEnabled(true);
    return;
  }
  WriteChecked();
}

void CQelvoUserAppDlg::Read() {
  if (state_.tablesLoaded)
    HideAllPages();

  state_.imageValid = link::ReadImage(state_.link, state_.image);
  while (!state_.imageValid) {
    if (ShowMessage(backend_, MessageId::kReadError) != ui::Answer::Retry)
      break;
    state_.imageValid = link::ReadImage(state_.link, state_.image);
  }

  // Another controller may have been plugged in since the tables were chosen.
  if (state_.imageValid && !starting_ && !TablesFitImage()) {
    state_.tablesLoaded = LoadTables();
    for (auto& node : pages_)
      node.page->TablesReloaded();
    state_.imageValid = state_.tablesLoaded;
  }

  if (!state_.imageValid) {
    SetStatus(Status::kReadFailure);
    return;
  }
  SetStatus(Status::kReadSuccess);
  if (state_.tablesLoaded)
    OnCommandButton(kVehicleButtonId);
}

void CQelvoUserAppDlg::WriteChecked() {
  switch (link::CheckModel(state_.link, state_.image)) {
    case link::ModelCheck::NoReply:
      ShowMessage(backend_, MessageId::kModuleNameUnreadable);
      return;
    case link::ModelCheck::Mismatch:
      ShowMessage(backend_, MessageId::kModuleNameMismatch);
      return;
    case link::ModelCheck::Match:
      break;
  }

  state_.writeSucceeded = link::WriteImage(state_.link, state_.image);
  while (!state_.writeSucceeded) {
    if (ShowMessage(backend_, MessageId::kWriteError) != ui::Answer::Retry)
      break;
    state_.writeSucceeded = link::WriteImage(state_.link, state_.image);
  }

  if (state_.writeSucceeded) {
    SetStatus(Status::kWriteSuccess);
    ShowMessage(backend_, MessageId::kWriteSuccess);
  } else {
    SetStatus(Status::kWriteFailure);
  }
  SetReadWriteEnabled(true);
}

bool CQelvoUserAppDlg::LoadTables() {
  const auto result =
      catalogue::LoadDescriptionTables(state_.image, state_.tables, [this](bool comButtonVisible) {
        dialog_->SetControlVisible(kComButtonId, comButtonVisible);
      });
  switch (result.outcome) {
    case catalogue::LoadOutcome::Loaded:
      loadedFor_ = catalogue::IdentifyController(state_.image);
      return true;
    case catalogue::LoadOutcome::VersionNotSupported:
      ShowMessage(backend_, MessageId::kVersionNotSupported);
      return false;
    case catalogue::LoadOutcome::ModelNotSupported:
      ShowMessage(backend_, MessageId::kModelNotSupported);
      return false;
    case catalogue::LoadOutcome::BadTable:
      backend_.ShowMessage(BadTableText(result.error), ui::Buttons::Ok, ui::Icon::Exclamation);
      return false;
  }
  return false;
}

bool CQelvoUserAppDlg::TablesFitImage() const {
  return state_.tablesLoaded &&
         SameTablesServe(loadedFor_, catalogue::IdentifyController(state_.image));
}

}  // namespace qelvo::app
