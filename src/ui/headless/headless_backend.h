#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "ui/dialog.h"
#include "ui/headless/headless_dialog.h"
#include "ui/headless/message_script.h"
#include "ui/headless/posted_tasks.h"

namespace qelvo::ui {

// What a modal dialog does while it is shown: the test's user at work.
using ModalHandler = std::function<void(HeadlessDialog&)>;

// One RunModal as it ended.
struct ModalRecord {
  int templateId = 0;
  bool shown = false;  // false: ended during OnInit, the user never saw it
  int result = kResultCancel;
};

// The dialog layer in memory, for tests of the window logic: dialogs keep their state,
// message boxes answer from a script, posted tasks wait until the test runs them.
class HeadlessBackend final : public Backend {
 public:
  HeadlessBackend() = default;
  // Dialogs that outlive the backend keep working, without modal handlers or records.
  ~HeadlessBackend() override;
  HeadlessBackend(const HeadlessBackend&) = delete;
  HeadlessBackend& operator=(const HeadlessBackend&) = delete;

  // The dialog made is a HeadlessDialog (see FindDialog); a parent with a place makes a child.
  std::unique_ptr<Dialog> CreateDialog(const DialogTemplate& tmpl, DialogEvents& events,
                                       Dialog* parent = nullptr,
                                       std::optional<Rect> place = std::nullopt) override;
  // Answers from the script; with the script empty, the giving-up button (No, Cancel or OK).
  Answer ShowMessage(std::u16string_view text, Buttons buttons, Icon icon) override;
  // Thread-safe; the task waits for RunPosted.
  void Post(std::function<void()> task) override;

  // ---- Message boxes ----
  // Appends answers for the boxes to come, in order.
  void QueueAnswers(const std::vector<Answer>& answers) { script_.Queue(answers); }
  std::size_t PendingAnswers() const { return script_.Pending(); }
  // Every box shown, in order.
  const std::vector<MessageRecord>& Messages() const { return script_.Shown(); }
  // A box found no answer left in the script.
  bool ScriptRanDry() const { return script_.RanDry(); }
  // A scripted answer was not a button of its box (the box took its giving-up button).
  bool ScriptMisfit() const { return script_.Misfit(); }
  // Forgets the boxes shown so far and the two flags; the queued answers stay.
  void ClearMessages() { script_.ClearRecord(); }

  // ---- Modal dialogs ----
  // Runs while a dialog of this template is shown modally; replaces an earlier handler, an
  // empty one removes it.
  void OnModal(int templateId, ModalHandler handler);
  ModalHandler ModalHandlerFor(int templateId) const;
  // Every RunModal that has returned, in the order they returned (an inner one first).
  const std::vector<ModalRecord>& ModalRuns() const { return modalRuns_; }

  // ---- Posted tasks, run on the test's thread ----
  // Runs the tasks queued now; returns how many ran.
  std::size_t RunPosted() { return posted_.RunQueued(); }
  // Waits until `count` tasks are queued (from another thread); false on timeout.
  bool WaitForPosted(std::chrono::milliseconds timeout, std::size_t count = 1) {
    return posted_.WaitFor(timeout, count);
  }
  // Runs tasks as they arrive until `condition` holds; false when the timeout came first.
  bool RunPostedUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    return posted_.RunUntil(condition, timeout);
  }
  std::size_t PendingPosted() const { return posted_.Pending(); }

  // ---- Lookups ----
  // The live dialog made most recently from this template, or nullptr.
  HeadlessDialog* FindDialog(int templateId) const;
  // The live dialogs in the order they were made.
  const std::vector<HeadlessDialog*>& Dialogs() const { return live_; }

 private:
  friend class HeadlessDialog;
  void RecordModalRun(const ModalRecord& record) { modalRuns_.push_back(record); }
  void Forget(HeadlessDialog* dialog);

  MessageScript script_;
  PostedTasks posted_;
  std::map<int, ModalHandler> modalHandlers_;
  std::vector<ModalRecord> modalRuns_;
  std::vector<HeadlessDialog*> live_;
};

}  // namespace qelvo::ui
