#include "zero/zero_dialog.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

namespace qelvo::zero {

namespace {

// One current-sensor channel, in the order of the values in the controller's reply.
struct ZeroChannel {
  int historyEditId;  // the readings of the last Read, comma-separated
  int resultEditId;   // the kept value
  int imageOffset;    // two bytes, high byte first
};
constexpr std::array<ZeroChannel, link::kZeroPointCount> kChannels{{
    {1352, 1350, 33},  // Hall phase A
    {1354, 1351, 35},  // Hall phase B
    {1347, 1344, 40},  // internal-resistance phase A
    {1348, 1345, 42},  // internal-resistance phase B
    {1349, 1346, 44},  // internal-resistance phase C
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

// The button presses of one Read.
constexpr int kReadingsPerRead = 3;

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
  for (const ZeroChannel& channel : kChannels) {
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
  for (int reading = 0; reading < kReadingsPerRead; ++reading) {
    // A reading that does not count is skipped silently; the next one is still taken.
    const std::optional<link::ZeroPoints> points = link::ReadZeroPoints(link_);
    if (!points)
      continue;
    // Until a reading of the run has counted, the kept values are no measurement: the
    // first counting reading sets them instead of being compared with them.
    const bool startsKeptValues = reading == 0 || !kept_.anyReadingCounted;
    for (std::size_t k = 0; k < kChannels.size(); ++k) {
      const std::int32_t value = (*points)[k];
      const int historyId = kChannels[k].historyEditId;
      if (reading == 0)
        dialog_->SetText(historyId, DecimalText(value));
      else
        dialog_->SetText(historyId, dialog_->Text(historyId) + u"," + DecimalText(value));
    }
    for (std::size_t k = 0; k < kChannels.size(); ++k) {
      const std::int32_t value = (*points)[k];
      kept_.values[k] = startsKeptValues ? value : std::min(kept_.values[k], value);
    }
    kept_.anyReadingCounted = true;
  }
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
  for (std::size_t k = 0; k < kChannels.size(); ++k) {
    const auto value = static_cast<std::uint32_t>(kept_.values[k]);
    const std::size_t offset = kChannels[k].imageOffset;
    image_[offset] = static_cast<std::uint8_t>(value >> 8);
    image_[offset + 1] = static_cast<std::uint8_t>(value);
  }
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
