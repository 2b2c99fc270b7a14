#pragma once

#include <algorithm>
#include <span>

#include "ui/dialog.h"

namespace qelvo::ui {

// The buttons of each message box, in the order they stand on the box.
inline std::span<const Answer> AnswersOf(Buttons buttons) {
  static constexpr Answer kOk[] = {Answer::Ok};
  static constexpr Answer kOkCancel[] = {Answer::Ok, Answer::Cancel};
  static constexpr Answer kYesNo[] = {Answer::Yes, Answer::No};
  static constexpr Answer kRetryCancel[] = {Answer::Retry, Answer::Cancel};
  switch (buttons) {
    case Buttons::Ok:
      return kOk;
    case Buttons::OkCancel:
      return kOkCancel;
    case Buttons::YesNo:
      return kYesNo;
    case Buttons::RetryCancel:
      return kRetryCancel;
  }
  return kOk;
}

inline bool Offers(Buttons buttons, Answer answer) {
  return std::ranges::any_of(AnswersOf(buttons), [answer](Answer a) { return a == answer; });
}

// The answer of a box that was closed without a choice: the button that gives up.
inline Answer GivingUpAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::YesNo:
      return Answer::No;
    case Buttons::OkCancel:
    case Buttons::RetryCancel:
      return Answer::Cancel;
  }
  return Answer::Cancel;
}

}  // namespace qelvo::ui
