#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/controller_connection.h"
#include "app/pages/standard_page_factory.h"
#include "app/run_state.h"
#include "e2e/hooked_backend.h"
#include "ui/headless/headless_backend.h"

namespace qelvo::e2e {

// The whole program on the headless dialogs, given one port: the motor warning answered Yes,
// then the main window with the real pages until it closes.
class WholeProgram {
 public:
  using User = std::function<void(ui::HeadlessDialog& mainWindow)>;

  explicit WholeProgram(const std::string& portPath);
  WholeProgram(const WholeProgram&) = delete;
  WholeProgram& operator=(const WholeProgram&) = delete;

  // Runs the program to its end. `startAnswers` answer the boxes after the warning until the
  // window shows; `user` then acts at the main window (the window closes when it returns).
  app::RunEnd Run(const std::vector<ui::Answer>& startAnswers, const User& user);

  // Whether the main window was ever shown in the last run.
  bool windowShown() const { return windowShown_; }
  // The dialog of the page with this index (1 Vehicle .. 5 COM), or nullptr.
  ui::HeadlessDialog* PageDialog(int pageIndex) const;

  ui::HeadlessBackend headless;
  HookedBackend backend{headless};
  std::unique_ptr<app::RunState> state = std::make_unique<app::RunState>();

 private:
  app::SerialConnection connection_;
  app::StandardPageFactory pages_;
  bool windowShown_ = false;
};

// The catalogue id of a message box's text; 0 for a text the catalogue does not have (the
// parameter pages' range message).
unsigned MessageIdOf(std::u16string_view text);
// The ids of every box shown so far, in order.
std::vector<unsigned> MessageIds(const ui::HeadlessBackend& headless);

}  // namespace qelvo::e2e
