#pragma once

#include <memory>

#include "catalogue/tables.h"
#include "link/packet.h"
#include "ui/dialog.h"
#include "ui/page_window.h"

namespace qelvo::monitor {

struct MonitorContext {
  ui::Backend& backend;
  link::Link& link;
  const catalogue::DescriptionTables& tables;
  const bool& imageValid;
};

// The live monitor page: while shown (with a valid image) a worker thread runs one tick
// every 200 ms; hiding it cancels a waiting exchange and joins the worker.
class CMonitor1Dlg final : public ui::PageWindow {
 public:
  CMonitor1Dlg(const ui::DialogTemplate& tmpl, MonitorContext context);
  ~CMonitor1Dlg() override;

  void CreateWindow(ui::Backend& backend, ui::Dialog& parent, ui::Rect place) override;
  void TablesReloaded() override;
  void OnShown(bool shown) override;
  void OnEditFocus(int id) override;

 private:
  struct State;
  const ui::DialogTemplate& template_;
  MonitorContext context_;
  std::unique_ptr<State> state_;
};

}  // namespace qelvo::monitor
