#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "ui/dialog.h"

namespace qelvo::ui {

// One message box as the user saw it.
struct MessageRecord {
  std::u16string text;
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
  Answer answer = Answer::Ok;
  // False when the script had no answer left, or its next answer is not a button of this
  // box; the box then took its giving-up button (No, Cancel or OK).
  bool scripted = true;
};

// The answers a test has prepared for the message boxes to come, and the record of every
// box shown.
class MessageScript {
 public:
  void Queue(const std::vector<Answer>& answers);
  // The answer to a box being shown now; the box joins the record.
  Answer AnswerBox(std::u16string_view text, Buttons buttons, Icon icon);

  std::size_t Pending() const { return answers_.size(); }
  const std::vector<MessageRecord>& Shown() const { return shown_; }
  // A box found the script empty.
  bool RanDry() const { return ranDry_; }
  // A box was given a scripted answer that is none of its buttons (the answer was used up).
  bool Misfit() const { return misfit_; }
  void ClearRecord();

 private:
  std::deque<Answer> answers_;
  std::vector<MessageRecord> shown_;
  bool ranDry_ = false;
  bool misfit_ = false;
};

}  // namespace qelvo::ui
