#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "link/commands.h"
#include "ui/dialog.h"
#include "zero/zero_readings.h"

namespace qelvo::zero {

// Control ids of the zero-point dialog.
inline constexpr int kReadButtonId = 1342;
inline constexpr int kUpdateButtonId = 1343;

// Shown when Update is pressed before any reading of the run has counted.
inline constexpr char16_t kNothingReadMessage[] =
    u"No zero points have been read yet. Press Read first.";

// The modal zero-point dialog: Read takes three readings and keeps the lowest of each
// channel; Update stores the kept values into the image.
class CReadZeroADdlg final : public ui::DialogEvents {
 public:
  CReadZeroADdlg(ui::Backend& backend, const ui::DialogTemplate& tmpl, link::Link& link,
                 std::span<std::uint8_t, 512> image, KeptZeroValues& kept);
  // Creates the dialog, runs it modally and returns ui::kResultOk or ui::kResultCancel.
  int DoModal();

  void OnInit() override;
  void OnClicked(int id) override;
  void OnCloseRequested() override;
  void OnCancelKey() override;
  void OnOkKey() override;

 private:
  void Read();
  void Update();

  ui::Backend& backend_;
  const ui::DialogTemplate& template_;
  link::Link& link_;
  std::span<std::uint8_t, 512> image_;
  KeptZeroValues& kept_;
  ui::Dialog* dialog_ = nullptr;
};

}  // namespace qelvo::zero
