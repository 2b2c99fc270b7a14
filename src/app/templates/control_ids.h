#pragma once

namespace qelvo::app {

// Main window (template 102).
inline constexpr int kHiddenDefaultButtonId = 1;
inline constexpr int kQuitButtonId = 2;
inline constexpr int kPageAreaId = 1000;
inline constexpr int kVehicleButtonId = 1002;
inline constexpr int kControlButtonId = 1003;
inline constexpr int kMotorButtonId = 1004;
inline constexpr int kMonitorButtonId = 1005;
inline constexpr int kComButtonId = 1006;
inline constexpr int kReadButtonId = 1007;
inline constexpr int kWriteButtonId = 1008;
inline constexpr int kStatusLineId = 1009;

// Page indices; a page's button is its index + 1001.
inline constexpr int kNoPage = 0;
inline constexpr int kVehiclePage = 1;
inline constexpr int kControlPage = 2;
inline constexpr int kMotorPage = 3;
inline constexpr int kMonitorPage = 4;
inline constexpr int kComPage = 5;
inline constexpr int kPageCount = 5;
inline constexpr int kPageButtonBase = 1001;

constexpr int PageButtonId(int pageIndex) {
  return pageIndex + kPageButtonBase;
}
constexpr int PageIndexOfButton(int buttonId) {
  return buttonId - kPageButtonBase;
}

// Child pages (templates 107 to 111): item slot s is label 1010 + 2s and edit 1011 + 2s.
inline constexpr int kTipsAreaId = 1001;
inline constexpr int kFirstSlotLabelId = 1010;
inline constexpr int kFirstSlotEditId = 1011;

constexpr int SlotLabelId(int slot) {
  return kFirstSlotLabelId + 2 * slot;
}
constexpr int SlotEditId(int slot) {
  return kFirstSlotEditId + 2 * slot;
}

}  // namespace qelvo::app
