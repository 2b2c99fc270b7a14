#pragma once

#include <memory>
#include <vector>

#include "app/controller_connection.h"
#include "app/page_factory.h"
#include "app/run_state.h"
#include "app/status_line.h"
#include "catalogue/loader.h"
#include "ui/dialog.h"
#include "ui/page_window.h"

namespace qelvo::app {

// The main window (template 102): page area, command buttons, status line and the five
// child pages. Its initialisation connects, reads the image, loads the tables and shows the
// Vehicle page; any failure there ends it before it is ever shown.
class CQelvoUserAppDlg final : public ui::DialogEvents {
 public:
  CQelvoUserAppDlg(ui::Backend& backend, RunState& state, ControllerConnection& connection,
                   PageFactory& factory);
  ~CQelvoUserAppDlg() override;
  CQelvoUserAppDlg(const CQelvoUserAppDlg&) = delete;
  CQelvoUserAppDlg& operator=(const CQelvoUserAppDlg&) = delete;

  // Creates the window and runs it modally; the pages are destroyed when it has ended.
  int DoModal();

  void OnInit() override;
  void OnClicked(int id) override;
  void OnCloseRequested() override;
  void OnCancelKey() override;
  void OnOkKey() override;

  // The one handler of buttons 1002..1008: page switches, Read and Write.
  void OnCommandButton(int id);

  // Creates the page's window hidden over the page area and gives it the next page index.
  void AddPage(std::unique_ptr<ui::PageWindow> page);
  // Shows every page with this index; the current page index is left as it is.
  void ShowPage(int pageIndex);
  // Hides every page in list order; no page is current afterwards.
  void HideAllPages();

  int currentPage() const { return currentPage_; }
  int pageCount() const { return pageCount_; }
  ui::Rect pageRect() const { return pageRect_; }
  ui::Dialog* window() const { return dialog_.get(); }
  // The page with this index; nullptr when there is none.
  ui::PageWindow* page(int pageIndex) const;

 private:
  struct PageNode {
    int index = 0;
    std::unique_ptr<ui::PageWindow> page;
  };

  // Start-up.
  void SetCaptions();
  bool ConnectWithRetry();
  void CreatePages();

  // Commands.
  void Read();
  void WriteChecked();
  bool LoadTables();
  bool TablesFitImage() const;

  void SetStatus(Status status);
  void SetReadWriteEnabled(bool enabled);
  void DestroyPages();

  ui::Backend& backend_;
  RunState& state_;
  ControllerConnection& connection_;
  PageFactory& factory_;

  ui::Rect pageRect_{};
  int pageCount_ = 0;
  int currentPage_ = 0;
  std::vector<PageNode> pages_;
  std::unique_ptr<ui::Dialog> dialog_;

  // True until the start-up has loaded the tables; the first Read leaves them to it.
  bool starting_ = true;
  // The controller the loaded tables were chosen for.
  catalogue::ControllerIdentity loadedFor_;
};

}  // namespace qelvo::app
