#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/templates/templates.h"
#include "catalogue/tables.h"
#include "link/commands.h"
#include "pages/page_context.h"
#include "ui/headless/headless_backend.h"
#include "ui/headless/headless_dialog.h"
#include "ui/page_window.h"

namespace qelvo::test_pages {

// A page under test: the headless dialog layer, a main window to lie in, the run's tables
// and image, all fresh for each test.
class PageFixture : public ::testing::Test {
 protected:
  PageFixture() {
    parent_ = backend_.CreateDialog(app::MainWindowTemplate(), parentEvents_);
    parent_->Show();
  }

  // The rows in table order; the page starts say where Control, Motor and COM begin.
  void SetRows(const std::vector<catalogue::ParamItem>& rows, int controlStart, int motorStart,
               int comStart) {
    // Filled in place: a page holds the tables by reference, as it holds the app's.
    *tables_ = catalogue::DescriptionTables{};
    for (std::size_t i = 0; i < rows.size(); ++i)
      tables_->params[i] = rows[i];
    tables_->paramCount = static_cast<int>(rows.size());
    tables_->controlStart = controlStart;
    tables_->motorStart = motorStart;
    tables_->comStart = comStart;
  }

  pages::PageContext Context() { return {backend_, *tables_, image_, imageValid_}; }

  // Creates the page's window in the page area, hidden.
  void Create(ui::PageWindow& page) { page.CreateWindow(backend_, *parent_, kPageArea); }

  static ui::HeadlessDialog& Window(const ui::PageWindow& page) {
    return *static_cast<ui::HeadlessDialog*>(page.window());
  }

  static constexpr ui::Rect kPageArea{91, 62, 400, 300};

  ui::HeadlessBackend backend_;
  ui::DialogEvents parentEvents_;
  std::unique_ptr<ui::Dialog> parent_;
  std::unique_ptr<catalogue::DescriptionTables> tables_ =
      std::make_unique<catalogue::DescriptionTables>();
  link::CalibrationImage image_ = link::FreshImage();
  bool imageValid_ = true;
};

}  // namespace qelvo::test_pages
