#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/dialog.h"

namespace qelvo::ui::testing {

// An owner that writes down every notification, and optionally reacts to it.
class RecordingEvents : public DialogEvents {
 public:
  std::vector<std::string> log;
  std::function<void()> onInit;
  std::function<void(int)> onClicked;
  std::function<void(bool)> onShown;

  void OnInit() override {
    log.push_back("init");
    if (onInit)
      onInit();
  }
  void OnShown(bool shown) override {
    log.push_back(shown ? "shown" : "hidden");
    if (onShown)
      onShown(shown);
  }
  void OnEditFocus(int id) override { log.push_back("focus " + std::to_string(id)); }
  void OnClicked(int id) override {
    log.push_back("click " + std::to_string(id));
    if (onClicked)
      onClicked(id);
  }
  void OnCloseRequested() override { log.push_back("close"); }
  void OnCancelKey() override { log.push_back("cancel key"); }
  void OnOkKey() override { log.push_back("ok key"); }
};

}  // namespace qelvo::ui::testing
