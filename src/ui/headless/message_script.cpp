#include "ui/headless/message_script.h"

#include "ui/message_answers.h"

namespace qelvo::ui {

void MessageScript::Queue(const std::vector<Answer>& answers) {
  answers_.insert(answers_.end(), answers.begin(), answers.end());
}

Answer MessageScript::AnswerBox(std::u16string_view text, Buttons buttons, Icon icon) {
  MessageRecord record{std::u16string(text), buttons, icon, GivingUpAnswer(buttons), false};
  if (answers_.empty()) {
    ranDry_ = true;
  } else {
    const Answer next = answers_.front();
    answers_.pop_front();
    // A user can only press a button the box has; anything else is a fault in the script.
    if (Offers(buttons, next)) {
      record.answer = next;
      record.scripted = true;
    } else {
      misfit_ = true;
    }
  }
  shown_.push_back(record);
  return record.answer;
}

void MessageScript::ClearRecord() {
  shown_.clear();
  ranDry_ = false;
  misfit_ = false;
}

}  // namespace qelvo::ui
