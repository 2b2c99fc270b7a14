#pragma once

#include <string_view>

namespace qelvo::cli {

// The controller's outcomes in the words the window uses for them.
inline constexpr std::string_view kSettingError = "RS232 setting error. ";
inline constexpr std::string_view kNoController = "Controller no power or RS232 cable disconnect.";
inline constexpr std::string_view kReadError = "Read data error.";
inline constexpr std::string_view kWriteError = "Error writing data.";
inline constexpr std::string_view kWriteSuccess = "Written to success.";
// The status line's text after a write that did not take.
inline constexpr std::string_view kWriteFailure = "Write failure!";
inline constexpr std::string_view kVersionNotSupported =
    "Software version does not match, please use the latest software.";
inline constexpr std::string_view kModelNotSupported =
    "Does not support this model, please choose the right software.";
inline constexpr std::string_view kModuleNameMismatch =
    "the control's Module Name is not match with the writing data.";
inline constexpr std::string_view kModuleNameUnreadable =
    "Read the controller's Module Name Error!";

// Exit statuses of `qelvo`.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // the controller or a file refused
inline constexpr int kExitUsage = 2;    // the command line was wrong

}  // namespace qelvo::cli
