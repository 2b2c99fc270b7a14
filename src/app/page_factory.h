#pragma once

#include <memory>

#include "ui/dialog.h"
#include "ui/page_window.h"

namespace qelvo::app {

// Makes the main window's child pages, so the window logic does not depend on them.
class PageFactory {
 public:
  virtual ~PageFactory() = default;
  // The page object for a page index (1 Vehicle, 2 Control, 3 Motor, 4 Monitor, 5 COM),
  // built on its template; nullptr when this factory has none for the index.
  virtual std::unique_ptr<ui::PageWindow> MakePage(int pageIndex,
                                                   const ui::DialogTemplate& tmpl) = 0;
};

}  // namespace qelvo::app
