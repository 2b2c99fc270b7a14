// A user at the whole program for five minutes (QELVO_SOAK_SECONDS) against a controller at
// 19200 baud that misbehaves now and then: sitting on the Monitor page, switching pages,
// typing values (some out of range), reading and writing. Nothing may hang, every outcome must
// be one the program is meant to have, the controller must hold a whole image at all times,
// and the program must not grow. The figures are printed at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/messages.h"
#include "app/templates/control_ids.h"
#include "app/templates/templates.h"
#include "e2e/editable_rows.h"
#include "e2e/resident_memory.h"
#include "e2e/simulated_port.h"
#include "e2e/soak_faults.h"
#include "e2e/watchdog.h"
#include "e2e/whole_program.h"
#include "monitor/monitor_controls.h"
#include "pages/item_codec.h"

namespace qelvo::e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using ui::Answer;

constexpr std::uint32_t kSeed = 20261210;
constexpr int kDefaultSeconds = 300;
// The longest an operation may take: a Write that meets two unanswered requests and is
// retried twice takes about 6 s.
constexpr milliseconds kOperationBound{15000};
constexpr milliseconds kWarmUp{20000};
constexpr long kMemorySlackKb = 8 * 1024;
constexpr int kMaxRetries = 2;

const std::u16string kReadSuccess = u"Read success!";
const std::u16string kReadFailure = u"Read failure!";
const std::u16string kWriteSuccess = u"Write success!";
const std::u16string kWriteFailure = u"Write failure!";
const std::u16string kTickSuccess = u"Success!";
const std::u16string kTickFailure = u"Failure!";

constexpr unsigned k151 = static_cast<unsigned>(app::MessageId::kReadError);
constexpr unsigned k152 = static_cast<unsigned>(app::MessageId::kWriteError);
constexpr unsigned k153 = static_cast<unsigned>(app::MessageId::kWriteSuccess);
constexpr unsigned k161 = static_cast<unsigned>(app::MessageId::kModuleNameMismatch);
constexpr unsigned k163 = static_cast<unsigned>(app::MessageId::kModuleNameUnreadable);

constexpr int kParameterPages[] = {app::kVehiclePage, app::kControlPage, app::kMotorPage,
                                   app::kComPage};

int SoakSeconds() {
  const char* text = std::getenv("QELVO_SOAK_SECONDS");
  if (text == nullptr || *text == '\0')
    return kDefaultSeconds;
  const int seconds = std::atoi(text);
  return seconds > 0 ? seconds : kDefaultSeconds;
}

std::u16string Decimal(std::int64_t value) {
  const std::string text = std::to_string(value);
  return {text.begin(), text.end()};
}

std::string Narrow(std::u16string_view text) {
  std::string narrow;
  for (char16_t c : text)
    narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return narrow;
}

// The message a page gives for a refused row.
std::u16string RangeMessage(const catalogue::ParamItem& item) {
  return u"Param:" + item.name + u"\nThe range should be between " + Decimal(item.rangeL) + u"~" +
         Decimal(item.rangeH);
}

struct Figures {
  int ticks = 0;
  int monitorVisits = 0;
  int readsOk = 0;
  int readsFailed = 0;
  int writesOk = 0;
  int writesFailed = 0;
  int writesFailedButStored = 0;  // the Commit took, its answer was lost
  int modelCheckStops = 0;
  int pageSwitches = 0;
  int edits = 0;
  int rangeRefusals = 0;
  int faultsInjected = 0;
  int vanishes = 0;
  milliseconds longest{0};
  std::string longestWhat;
};

class SoakUser {
 public:
  SoakUser(WholeProgram& program, SimulatedPort& port, ui::HeadlessDialog& window,
           Watchdog& watchdog)
      : program_(program), port_(port), window_(window), watchdog_(watchdog), random_(kSeed) {
    committed_ = port_.controller().StoredBlock();
    program_.backend.SetMessageHook(
        [this](std::u16string_view, ui::Buttons buttons) { AnswerBox(buttons); });
  }
  ~SoakUser() { program_.backend.SetMessageHook(nullptr); }

  // Works until `until`, stopping early at the first failure; reports what it did.
  void WorkUntil(Clock::time_point until, Figures& figures, std::optional<long>& rssAfterWarmUp) {
    figures_ = &figures;
    program_.headless.ClearMessages();  // the start-up's warning
    const auto warmedUp =
        Clock::now() + std::min<Clock::duration>(kWarmUp, (until - Clock::now()) / 10);
    while (Clock::now() < until && !::testing::Test::HasFailure()) {
      if (!rssAfterWarmUp && Clock::now() >= warmedUp)
        rssAfterWarmUp = ResidentKilobytes();
      const auto started = Clock::now();
      if (!program_.state->imageValid) {
        // What a user finds after a failed Read: only Read does anything.
        PokeWhileImageInvalid();
        Read();
      } else {
        RunOne(Between(0, 99));
      }
      const auto took = std::chrono::duration_cast<milliseconds>(Clock::now() - started);
      if (took > figures.longest && lastWhat_.rfind("Monitor", 0) != 0) {
        figures.longest = took;
        figures.longestWhat = lastWhat_;
      }
      ExpectTheControllerHoldsAWholeImage();
      program_.headless.RunPosted();
    }
  }

  // A clean Read and Write at the end: the program is still sound after all of it.
  void FinishCleanly() {
    port_.controller().SetFaults({});
    port_.server().WaitFor(false, 3s);
    program_.headless.ClearMessages();
    retriesLeft_ = 0;
    window_.Click(app::kReadButtonId);
    EXPECT_EQ(window_.Text(app::kStatusLineId), kReadSuccess);
    EXPECT_EQ(program_.state->image, port_.controller().StoredBlock());
    window_.Click(app::kWriteButtonId);
    EXPECT_EQ(window_.Text(app::kStatusLineId), kWriteSuccess);
    EXPECT_EQ(MessageIds(program_.headless), std::vector<unsigned>{k153});
    EXPECT_EQ(port_.controller().StoredBlock(), program_.state->image);
  }

 private:
  void RunOne(int dice) {
    if (dice < 20)
      SitOnMonitor();
    else if (dice < 40)
      SwitchPage();
    else if (dice < 55)
      Edit();
    else if (dice < 60)
      EditOutOfRange();
    else if (dice < 80)
      Read();
    else
      Write();
  }

  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Coin() { return Between(0, 1) == 1; }

  // ---- The user's answers: Retry a few times at most, then Cancel ----
  void AnswerBox(ui::Buttons buttons) {
    if (program_.headless.PendingAnswers() > 0)
      return;
    Answer answer = Answer::Ok;
    switch (buttons) {
      case ui::Buttons::RetryCancel:
        answer = retriesLeft_ > 0 && Coin() ? Answer::Retry : Answer::Cancel;
        if (answer == Answer::Retry)
          --retriesLeft_;
        break;
      case ui::Buttons::OkCancel:  // only the close question: leave
      case ui::Buttons::Ok:
        answer = Answer::Ok;
        break;
      case ui::Buttons::YesNo:
        answer = Answer::No;
        break;
    }
    program_.headless.QueueAnswers({answer});
  }

  // ---- Faults, switched on before an operation and off after it ----
  void InjectFaultMaybe(Exchanges exchanges) {
    fault_.clear();
    if (!Coin())
      return;
    const SoakFault fault = RandomFault(random_, exchanges);
    ++figures_->faultsInjected;
    fault_ = fault.what;
    port_.controller().SetFaults(fault.faults);
    if (fault.faults.vanishAfterWriteBlocks > 0)
      ++figures_->vanishes;
    if (fault.vanishNow > milliseconds::zero()) {
      ++figures_->vanishes;
      port_.server().Vanish(fault.vanishNow);
    }
  }
  void ClearFaults() {
    port_.controller().SetFaults({});
    fault_.clear();
  }

  std::string Describe(const char* operation) {
    lastWhat_ = std::string(operation) + (fault_.empty() ? "" : " with " + fault_);
    return lastWhat_;
  }

  // ---- What the user sees ----
  int ShownPage() const {
    for (int page = app::kVehiclePage; page <= app::kComPage; ++page) {
      const ui::HeadlessDialog* dialog = program_.PageDialog(page);
      if (dialog != nullptr && dialog->IsShown())
        return page;
    }
    return app::kNoPage;
  }
  std::vector<int> ReachableParameterPages() const {
    std::vector<int> pages;
    for (int page : kParameterPages)
      if (window_.ControlVisible(app::PageButtonId(page)))
        pages.push_back(page);
    return pages;
  }
  int AnotherParameterPage(int than) {
    std::vector<int> pages = ReachableParameterPages();
    std::erase(pages, than);
    return pages[Between(0, static_cast<int>(pages.size()) - 1)];
  }
  std::vector<EditableRow> RowsOf(int page) const {
    pages::PageKind kind = pages::PageKind::Vehicle;
    switch (page) {
      case app::kControlPage:
        kind = pages::PageKind::Control;
        break;
      case app::kMotorPage:
        kind = pages::PageKind::Motor;
        break;
      case app::kComPage:
        kind = pages::PageKind::Com;
        break;
      default:
        break;
    }
    // Templates 107 to 111 belong to pages 1 to 5.
    return EditableRows(program_.state->tables, kind,
                        *app::PageTemplate(app::kVehiclePageTemplateId + page - 1));
  }
  // A shown parameter page shows the image.
  void ExpectThePageShowsTheImage(int page) {
    const ui::HeadlessDialog* dialog = program_.PageDialog(page);
    for (const EditableRow& row : RowsOf(page))
      EXPECT_EQ(dialog->Text(row.editId),
                pages::FormatItemValue(program_.state->image, row.item).value_or(u""))
          << Narrow(row.item.name);
  }
  static std::string TextsOf(const std::vector<ui::MessageRecord>& boxes) {
    std::string texts;
    for (const ui::MessageRecord& box : boxes)
      texts += " \"" + Narrow(box.text) + "\"";
    return texts;
  }
  // Fails when a box was shown; names them.
  void ExpectNoMessage(const char* why) {
    const std::vector<ui::MessageRecord> boxes = TakeMessages();
    EXPECT_TRUE(boxes.empty()) << why << ":" << TextsOf(boxes);
  }
  std::vector<ui::MessageRecord> TakeMessages() {
    std::vector<ui::MessageRecord> boxes = program_.headless.Messages();
    program_.headless.ClearMessages();
    return boxes;
  }
  // Only Retry was answered, except to the last box when the user gave up.
  static bool RetriedUntil(const std::vector<ui::MessageRecord>& boxes, unsigned id,
                           std::size_t count, Answer last) {
    if (boxes.size() < count)
      return false;
    for (std::size_t i = 0; i < count; ++i) {
      if (MessageIdOf(boxes[i].text) != id)
        return false;
      if (boxes[i].answer != (i + 1 == count ? last : Answer::Retry))
        return false;
    }
    return true;
  }

  void ExpectTheControllerHoldsAWholeImage() {
    EXPECT_EQ(port_.controller().StoredBlock(), committed_) << "after " << lastWhat_;
  }

  // ---- Operations ----
  void Read() {
    const link::CalibrationImage before = program_.state->image;
    retriesLeft_ = Between(0, kMaxRetries);
    InjectFaultMaybe(Exchanges::kRead);
    SCOPED_TRACE(Describe("Read"));
    {
      Watched watched(watchdog_, lastWhat_);
      window_.Click(app::kReadButtonId);
    }
    ClearFaults();
    const std::vector<ui::MessageRecord> boxes = TakeMessages();
    const std::u16string status = window_.Text(app::kStatusLineId);
    if (status == kReadSuccess) {
      ++figures_->readsOk;
      EXPECT_EQ(window_.TextColor(app::kStatusLineId), ui::kSuccessGreen);
      EXPECT_TRUE(boxes.empty() || RetriedUntil(boxes, k151, boxes.size(), Answer::Retry))
          << TextsOf(boxes);
      EXPECT_EQ(program_.state->image, port_.controller().StoredBlock());
      EXPECT_EQ(ShownPage(), app::kVehiclePage);
    } else {
      ++figures_->readsFailed;
      EXPECT_EQ(status, kReadFailure);
      EXPECT_EQ(window_.TextColor(app::kStatusLineId), ui::kFailureRed);
      EXPECT_TRUE(!boxes.empty() && RetriedUntil(boxes, k151, boxes.size(), Answer::Cancel))
          << TextsOf(boxes);
      EXPECT_EQ(program_.state->image, before) << "a failed Read changed the image";
      EXPECT_EQ(ShownPage(), app::kNoPage);
    }
    EXPECT_LE(boxes.size(), static_cast<std::size_t>(kMaxRetries + 1));
  }

  void Write() {
    const link::CalibrationImage image = program_.state->image;
    const std::u16string statusBefore = window_.Text(app::kStatusLineId);
    retriesLeft_ = Between(0, kMaxRetries);
    InjectFaultMaybe(Exchanges::kWrite);
    SCOPED_TRACE(Describe("Write"));
    {
      Watched watched(watchdog_, lastWhat_);
      window_.Click(app::kWriteButtonId);
    }
    ClearFaults();
    const std::vector<ui::MessageRecord> boxes = TakeMessages();
    const std::u16string status = window_.Text(app::kStatusLineId);
    const link::CalibrationImage stored = port_.controller().StoredBlock();
    EXPECT_EQ(program_.state->image, image) << "a Write changed the program's image";
    EXPECT_EQ(ShownPage(), app::kNoPage);

    if (boxes.size() == 1 &&
        (MessageIdOf(boxes[0].text) == k163 || MessageIdOf(boxes[0].text) == k161)) {
      ++figures_->modelCheckStops;
      EXPECT_EQ(status, statusBefore) << "the model check stopped the Write before it began";
      EXPECT_EQ(stored, committed_);
      return;
    }
    EXPECT_TRUE(window_.Enabled(app::kReadButtonId) && window_.Enabled(app::kWriteButtonId));
    if (status == kWriteSuccess) {
      ++figures_->writesOk;
      EXPECT_EQ(window_.TextColor(app::kStatusLineId), ui::kSuccessGreen);
      ASSERT_FALSE(boxes.empty());
      EXPECT_EQ(MessageIdOf(boxes.back().text), k153);
      EXPECT_TRUE(boxes.size() == 1 || RetriedUntil(boxes, k152, boxes.size() - 1, Answer::Retry))
          << TextsOf(boxes);
      EXPECT_EQ(stored, image) << "success told, but the controller lacks the new image";
      committed_ = stored;
      return;
    }
    ++figures_->writesFailed;
    EXPECT_EQ(status, kWriteFailure);
    EXPECT_EQ(window_.TextColor(app::kStatusLineId), ui::kFailureRed);
    EXPECT_TRUE(!boxes.empty() && RetriedUntil(boxes, k152, boxes.size(), Answer::Cancel))
        << TextsOf(boxes);
    EXPECT_TRUE(stored == committed_ || stored == image) << "a mix of the old and new image";
    if (stored != committed_) {
      ++figures_->writesFailedButStored;
      committed_ = stored;
    }
  }

  void SwitchPage() {
    const int from = ShownPage();
    std::vector<int> pages = ReachableParameterPages();
    const int to = pages[Between(0, static_cast<int>(pages.size()) - 1)];
    SCOPED_TRACE(Describe("page switch"));
    {
      Watched watched(watchdog_, lastWhat_);
      window_.Click(app::PageButtonId(to));
    }
    ++figures_->pageSwitches;
    ExpectNoMessage("no box expected");
    EXPECT_EQ(ShownPage(), to) << "from page " << from;
    EXPECT_TRUE(window_.Enabled(app::kReadButtonId) && window_.Enabled(app::kWriteButtonId));
    ExpectThePageShowsTheImage(to);
  }

  // On a parameter page with rows to type into; false when there is none to go to.
  bool OnAPageWithRows() {
    for (int attempt = 0; attempt < 4; ++attempt) {
      const int page = ShownPage();
      if (page != app::kNoPage && page != app::kMonitorPage && !RowsOf(page).empty())
        return true;
      SwitchPage();
    }
    return false;
  }

  void Edit() {
    if (!OnAPageWithRows())
      return;
    const int page = ShownPage();
    const std::vector<EditableRow> rows = RowsOf(page);
    std::map<int, std::pair<const EditableRow*, std::int32_t>> typed;
    for (int n = Between(1, 3); n > 0; --n) {
      const EditableRow& row = rows[Between(0, static_cast<int>(rows.size()) - 1)];
      const std::int32_t value =
          std::uniform_int_distribution<std::int32_t>(row.low, row.high)(random_);
      ASSERT_TRUE(program_.PageDialog(page)->Type(row.editId, Decimal(value)));
      typed[row.editId] = {&row, value};
    }
    const int to = AnotherParameterPage(page);
    SCOPED_TRACE(Describe("typing"));
    {
      Watched watched(watchdog_, lastWhat_);
      window_.Click(app::PageButtonId(to));
    }
    ++figures_->edits;
    ++figures_->pageSwitches;
    ExpectNoMessage("no box expected");
    EXPECT_EQ(ShownPage(), to);
    for (const auto& [id, entry] : typed)
      EXPECT_EQ(pages::FormatItemValue(program_.state->image, entry.first->item),
                Decimal(entry.second))
          << Narrow(entry.first->item.name);
  }

  void EditOutOfRange() {
    if (!OnAPageWithRows())
      return;
    const int page = ShownPage();
    const std::vector<EditableRow> rows = RowsOf(page);
    const EditableRow& row = rows[Between(0, static_cast<int>(rows.size()) - 1)];
    const std::int64_t outside = row.item.rangeH < std::numeric_limits<std::int32_t>::max()
                                     ? std::int64_t{row.item.rangeH} + 1
                                     : std::int64_t{row.item.rangeL} - 1;
    ui::HeadlessDialog* dialog = program_.PageDialog(page);
    const std::u16string shown = dialog->Text(row.editId);
    const link::CalibrationImage image = program_.state->image;
    const int to = AnotherParameterPage(page);
    SCOPED_TRACE(Describe("typing out of range"));
    ASSERT_TRUE(dialog->Type(row.editId, Decimal(outside)));
    {
      Watched watched(watchdog_, lastWhat_);
      window_.Click(app::PageButtonId(to));
    }
    ++figures_->rangeRefusals;
    const std::vector<ui::MessageRecord> boxes = TakeMessages();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, RangeMessage(row.item));
    EXPECT_EQ(ShownPage(), page) << "the page with the refused value stays";
    EXPECT_EQ(program_.state->image, image);

    // Put right, the page lets the user go.
    ASSERT_TRUE(dialog->Type(row.editId, shown));
    window_.Click(app::PageButtonId(to));
    ++figures_->pageSwitches;
    ExpectNoMessage("no box expected");
    EXPECT_EQ(ShownPage(), to);
    EXPECT_EQ(program_.state->image, image);
  }

  void SitOnMonitor() {
    const link::CalibrationImage image = program_.state->image;
    const milliseconds sit{Between(300, 4000)};
    InjectFaultMaybe(Exchanges::kMonitor);
    SCOPED_TRACE(Describe("Monitor"));
    Watched watched(watchdog_, lastWhat_, sit);
    ASSERT_TRUE(window_.Click(app::kMonitorButtonId));
    ++figures_->monitorVisits;
    ASSERT_EQ(ShownPage(), app::kMonitorPage);
    EXPECT_FALSE(window_.Enabled(app::kReadButtonId) || window_.Enabled(app::kWriteButtonId));
    EXPECT_FALSE(window_.Click(app::kReadButtonId));
    const ui::HeadlessDialog& monitor = *program_.PageDialog(app::kMonitorPage);

    const auto leave = Clock::now() + sit;
    while (Clock::now() < leave) {
      const auto left = std::chrono::duration_cast<milliseconds>(leave - Clock::now());
      if (!program_.headless.WaitForPosted(std::max(left, 1ms)))
        continue;
      figures_->ticks += static_cast<int>(program_.headless.RunPosted());
      const std::u16string status = monitor.Text(monitor::kStatusBoxId);
      const auto colour = monitor.TextColor(monitor::kStatusBoxId);
      if (status == kTickSuccess)
        EXPECT_EQ(colour, ui::kSuccessGreen);
      else if (status == kTickFailure)
        EXPECT_EQ(colour, ui::kFailureRed);
      else
        ADD_FAILURE() << "status box: " << Narrow(status);
    }

    const std::vector<int> pages = ReachableParameterPages();
    const int to = pages[Between(0, static_cast<int>(pages.size()) - 1)];
    window_.Click(app::PageButtonId(to));
    ClearFaults();
    ++figures_->pageSwitches;
    EXPECT_EQ(ShownPage(), to);
    EXPECT_TRUE(window_.Enabled(app::kReadButtonId) && window_.Enabled(app::kWriteButtonId));
    ExpectNoMessage("the monitor never shows a message");
    EXPECT_EQ(program_.state->image, image);
  }

  // Without a valid image every button but Read does nothing.
  void PokeWhileImageInvalid() {
    const int buttons[] = {app::kVehicleButtonId, app::kControlButtonId, app::kMotorButtonId,
                           app::kMonitorButtonId, app::kWriteButtonId};
    port_.controller().ClearRequestLog();
    window_.Click(buttons[Between(0, 4)]);
    EXPECT_EQ(ShownPage(), app::kNoPage);
    ExpectNoMessage("no box expected");
    EXPECT_TRUE(port_.controller().RequestLog().empty()) << "nothing is sent";
  }

  WholeProgram& program_;
  SimulatedPort& port_;
  ui::HeadlessDialog& window_;
  Watchdog& watchdog_;
  std::mt19937 random_;
  Figures* figures_ = nullptr;
  int retriesLeft_ = 0;
  std::string fault_;
  std::string lastWhat_;
  link::CalibrationImage committed_{};  // what the controller must hold
};

TEST(Soak, AUserAtAMisbehavingControllerForMinutes) {
  const int seconds = SoakSeconds();
  SimulatedPort port(true);
  ASSERT_FALSE(port.path().empty());
  WholeProgram program(port.path());
  Watchdog watchdog(kOperationBound);
  Figures figures;
  std::optional<long> rssStart;
  std::optional<long> rssEnd;

  const auto started = Clock::now();
  const app::RunEnd end = program.Run({}, [&](ui::HeadlessDialog& window) {
    SoakUser user(program, port, window, watchdog);
    user.WorkUntil(started + std::chrono::seconds(seconds), figures, rssStart);
    if (::testing::Test::HasFailure())
      return;
    user.FinishCleanly();
    rssEnd = ResidentKilobytes();
    program.headless.QueueAnswers({Answer::Ok});
    window.RequestClose();
  });
  const auto ran = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - started);

  EXPECT_EQ(end, app::RunEnd::kMainWindowClosed);
  std::printf(
      "soak: seed %u, %lld s (asked %d s)\n"
      "  monitor: %d visits, %d ticks shown\n"
      "  Reads: %d ok, %d failed\n"
      "  Writes: %d ok, %d failed (%d of them stored: the Commit took, its answer was lost), "
      "%d stopped by the model check\n"
      "  page switches: %d, edits: %d, out-of-range values refused: %d\n"
      "  faults injected: %d (port vanished %d times)\n"
      "  longest operation: %lld ms (%s)\n"
      "  resident memory: %ld kB after warm-up, %ld kB at the end\n",
      kSeed, static_cast<long long>(ran.count()), seconds, figures.monitorVisits, figures.ticks,
      figures.readsOk, figures.readsFailed, figures.writesOk, figures.writesFailed,
      figures.writesFailedButStored, figures.modelCheckStops, figures.pageSwitches, figures.edits,
      figures.rangeRefusals, figures.faultsInjected, figures.vanishes,
      static_cast<long long>(figures.longest.count()), figures.longestWhat.c_str(),
      rssStart.value_or(-1), rssEnd.value_or(-1));

  ASSERT_TRUE(rssStart && rssEnd);
  EXPECT_LE(*rssEnd, *rssStart + kMemorySlackKb) << "resident memory grew";
  EXPECT_GT(figures.ticks, 0);
  EXPECT_GT(figures.readsOk, 0);
  EXPECT_GT(figures.writesOk, 0);
}

}  // namespace
}  // namespace qelvo::e2e
