#include "monitor/monitor_page.h"

#include "monitor/item_text.h"
#include "monitor/monitor_controls.h"
#include "monitor/monitor_tick.h"
#include "monitor/periodic_worker.h"
#include "monitor/tick_schedule.h"

namespace qelvo::monitor {
namespace {

constexpr std::u16string_view kStatusCaption = u"Status";

}  // namespace

struct CMonitor1Dlg::State {
  // What a task posted by the worker may reach; it dies with the page, so a task still
  // queued after that finds nothing to draw on.
  struct PostTarget {
    CMonitor1Dlg* page;
  };

  explicit State(CMonitor1Dlg& page)
      : target(std::make_shared<PostTarget>(PostTarget{&page})),
        worker([this, &page] { RunTickOnWorker(page); }, kTickPeriod) {}

  // Worker thread.
  void RunTickOnWorker(CMonitor1Dlg& page) {
    TickTexts texts = tick.RunTick(page.context_.link, page.context_.tables);
    // Stopping cancels the exchanges, so this tick's "Failure!" would be a lie.
    if (worker.StopRequested())
      return;
    page.context_.backend.Post([weak = std::weak_ptr(target), texts = std::move(texts)] {
      if (auto alive = weak.lock())
        alive->page->state_->ShowTick(*alive->page, texts);
    });
  }

  // User-interface thread, from here on.
  void ShowTick(CMonitor1Dlg& page, const TickTexts& texts) {
    ui::Dialog* dialog = page.window();
    if (dialog == nullptr)
      return;
    answered = texts.answered;
    dialog->SetText(kStatusBoxId, texts.status);
    dialog->SetTextColor(kStatusBoxId, answered ? ui::kSuccessGreen : ui::kFailureRed);
    for (int i = 0; i < texts.itemCount; ++i)
      if (texts.items[i])
        dialog->SetText(EditIdOfSlot(i), *texts.items[i]);
  }

  void PlaceLabels(ui::Dialog& dialog, const catalogue::DescriptionTables& tables) {
    // A reloaded table may use fewer slots or put the fault word elsewhere.
    for (int slot = 0; slot < kItemSlots; ++slot) {
      dialog.SetControlVisible(LabelIdOfSlot(slot), false);
      dialog.SetControlVisible(EditIdOfSlot(slot), false);
      dialog.SetText(EditIdOfSlot(slot), u"");
      dialog.SetTextColor(EditIdOfSlot(slot), std::nullopt);
    }
    faultEditId = 0;
    const int count = SlottedItemCount(tables);
    for (int i = 0; i < count; ++i) {
      const catalogue::MonitorItem& item = tables.monitor[i];
      dialog.SetText(LabelIdOfSlot(i), item.name);
      dialog.SetControlVisible(LabelIdOfSlot(i), true);
      dialog.SetControlVisible(EditIdOfSlot(i), true);
      dialog.SetAccessibleName(EditIdOfSlot(i), item.name);
      if (item.sw == kHexCode)
        faultEditId = EditIdOfSlot(i);
    }
    dialog.SetText(kStatusLabelId, kStatusCaption);
    if (faultEditId != 0)
      dialog.SetTextColor(faultEditId, ui::kFailureRed);
    labelsPlaced = true;
  }

  void Stop(link::Link& link) {
    worker.Stop(
        [&link] {
          if (link.port)
            link.port->Cancel();
        },
        [&link] {
          if (link.port)
            link.port->Resume();
        });
  }

  std::shared_ptr<PostTarget> target;
  MonitorTick tick;  // the worker's while it runs
  PeriodicWorker worker;
  bool labelsPlaced = false;
  int faultEditId = 0;
  bool answered = false;  // drawn as the status box's colour
};

CMonitor1Dlg::CMonitor1Dlg(const ui::DialogTemplate& tmpl, MonitorContext context)
    : template_(tmpl), context_(context), state_(std::make_unique<State>(*this)) {}

CMonitor1Dlg::~CMonitor1Dlg() {
  // Destroying a shown dialog delivers its hide, which stops the monitor while this page
  // is still whole.
  window_.reset();
  state_->Stop(context_.link);
}

void CMonitor1Dlg::CreateWindow(ui::Backend& backend, ui::Dialog& parent, ui::Rect place) {
  window_ = backend.CreateDialog(template_, *this, &parent, place);
  window_->SetTextColor(kStatusBoxId, state_->answered ? ui::kSuccessGreen : ui::kFailureRed);
  window_->SetTextColor(kTipsAreaId, ui::kTipsBlue);
}

void CMonitor1Dlg::TablesReloaded() {
  state_->labelsPlaced = false;
}

void CMonitor1Dlg::OnShown(bool shown) {
  if (!context_.imageValid) {
    // The flag cannot fall while the page is shown (Read is disabled then); should it
    // anyway, a hidden page must still never poll.
    if (!shown)
      state_->Stop(context_.link);
    return;
  }
  if (!state_->labelsPlaced && window_)
    state_->PlaceLabels(*window_, context_.tables);
  if (shown)
    state_->worker.Start();
  else
    state_->Stop(context_.link);
}

void CMonitor1Dlg::OnEditFocus(int id) {
  if (id < kFirstEditId || id > kLastItemEditId || !window_)
    return;
  const int slot = (id - kFirstEditId) / 2;
  if (slot < SlottedItemCount(context_.tables))
    window_->SetText(kTipsAreaId, context_.tables.monitor[slot].tips);
}

}  // namespace qelvo::monitor
