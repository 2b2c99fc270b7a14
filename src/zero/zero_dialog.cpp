#include "zero/zero_dialog.h"

#include <memory>
#include <string>

namespace qelvo::zero {

namespace {

// The edits of each channel, in the order of kZeroChannels.
struct ChannelEdits {
  int historyEditId;  // the readings of the last Read, comma-separated
  int resultEditId;   // the kept value
};
constexpr std::array<ChannelEdits, link::kZeroPointCount> kChannels{{
    {1352, 1350},  // Hall phase A
    {1354, 1351},  // Hall phase B
    {1347, 1344},  // internal-resistance phase A
    {1348, 1345},  // internal-resistance phase B
    {1349, 1346},  // internal-resistance phase C
}};

// The template carries Chinese placeholders; the dialog's title stays as it is.
struct ControlCaption {
  int id;
  const char16_t* text;
};
constexpr std::array<ControlCaption, 9> kCaptions{{
    {1355, u"Hall Zero"},
    {1356, u"Hall_A_Zero"},
    {1357, u"Hall_B_Zero"},
    {1358, u"RZ Zero"},
    {1359, u"RZ_A_Zero"},
    {1360, u"RZ_B_Zero"},
    {1361, u"RZ_C_Zero"},
    {kReadButtonId, u"Read"},
    {kUpdateButtonId, u"Update"},
}};

std::u16string DecimalText(std::int32_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

CReadZeroADdlg::CReadZeroADdlg(ui::Backend& backend, const ui::DialogTemplate& tmpl,
                               link::Link& link, std::span<std::uint8_t, 512> image,
                               KeptZeroValues& kept)
    : backend_(backend), template_(tmpl), link_(link), image_(image), kept_(kept) {}

int CReadZeroADdlg::DoModal() {
  const std::unique_ptr<ui::Dialog> dialog = backend_.CreateDialog(template_, *this);
  dialog_ = dialog.get();
  const int result = dialog->RunModal();
  dialog_ = nullptr;
  return result;
}

void CReadZeroADdlg::OnInit() {
  if (dialog_ == nullptr)
    return;
  for (const ControlCaption& caption : kCaptions)
    dialog_->SetText(caption.id, caption.text);
  for (const ChannelEdits& channel : kChannels) {
    dialog_->SetText(channel.historyEditId, u"");
    dialog_->SetText(channel.resultEditId, u"");
  }
}

void CReadZeroADdlg::OnClicked(int id) {
  if (dialog_ == nullptr)
    return;
  if (id == kReadButtonId)
    Read();
  else if (id == kUpdateButtonId)
    Update();
}

void CReadZeroADdlg::Read() {
  // A Read whose first reading fails appends to the texts the previous press left.
  ZeroHistories histories;
  for (std::size_t k = 0; k < kChannels.size(); ++k)
    histories[k] = dialog_->Text(kChannels[k].historyEditId);
  TakeZeroReadings(link_, kept_, histories);
  for (std::size_t k = 0; k < kChannels.size(); ++k)
    dialog_->SetText(kChannels[k].historyEditId, histories[k]);
  // Before any reading of the run has counted there is no kept value to show, only the 0
  // of program start.
  if (!kept_.anyReadingCounted)
    return;
  for (std::size_t k = 0; k < kChannels.size(); ++k)
    dialog_->SetText(kChannels[k].resultEditId, DecimalText(kept_.values[k]));
}

void CReadZeroADdlg::Update() {
  // Without a reading the kept values are the 0 of program start; storing them would wipe
  // the controller's zero points at the next Write.
  if (!kept_.anyReadingCounted) {
    backend_.ShowMessage(kNothingReadMessage, ui::Buttons::Ok, ui::Icon::Exclamation);
    return;
  }
  StoreZeroValues(kept_, image_);
}

void CReadZeroADdlg::OnCloseRequested() {
  if (dialog_ != nullptr)
    dialog_->EndModal(ui::kResultCancel);
}

void CReadZeroADdlg::OnCancelKey() {
  if (dialog_ != nullptr)
    dialog_->EndModal(ui::kResultCancel);
}

void CReadZeroADdlg::OnOkKey() {
  if (dialog_ != nullptr)
    dialog_->EndModal(ui::kResultOk);
}

}  // namespace qelvo::zero
