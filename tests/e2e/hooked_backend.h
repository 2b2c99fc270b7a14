#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "ui/dialog.h"
#include "ui/headless/headless_backend.h"

namespace qelvo::e2e {

// The headless dialogs with a look at every message box just before it is answered, so that a
// test can act as the world around the program does meanwhile (a cable plugged back in) or
// choose the answer then.
class HookedBackend final : public ui::Backend {
 public:
  using MessageHook = std::function<void(std::u16string_view text, ui::Buttons buttons)>;

  explicit HookedBackend(ui::HeadlessBackend& headless) : headless_(headless) {}

  void SetMessageHook(MessageHook hook) { hook_ = std::move(hook); }

  std::unique_ptr<ui::Dialog> CreateDialog(const ui::DialogTemplate& tmpl, ui::DialogEvents& events,
                                           ui::Dialog* parent = nullptr,
                                           std::optional<ui::Rect> place = std::nullopt) override {
    return headless_.CreateDialog(tmpl, events, parent, place);
  }

  ui::Answer ShowMessage(std::u16string_view text, ui::Buttons buttons, ui::Icon icon) override {
    if (hook_)
      hook_(text, buttons);
    return headless_.ShowMessage(text, buttons, icon);
  }

  void Post(std::function<void()> task) override { headless_.Post(std::move(task)); }

 private:
  ui::HeadlessBackend& headless_;
  MessageHook hook_;
};

}  // namespace qelvo::e2e
