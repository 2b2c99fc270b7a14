#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "catalogue/tables.h"
#include "cli/cli_fixture.h"
#include "cli/monitor_render.h"
#include "cli/monitor_view.h"
#include "cli/stop_signals.h"
#include "cli/tick_csv_log.h"
#include "monitor/monitor_tick.h"

namespace qelvo::cli::test {
namespace {

using namespace std::chrono_literals;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);)
    lines.push_back(line);
  return lines;
}

std::vector<std::string> FileLines(const std::filesystem::path& path) {
  std::ifstream file(path);
  return Lines({std::istreambuf_iterator<char>(file), {}});
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

using MonitorCommand = CliWithController;

TEST_F(MonitorCommand, ThreeTicksGiveThreeLinesAndACsvOfThreeRows) {
  const auto csv = File("ticks.csv");
  const Outcome run = Qelvo({"monitor", "--port", port(), "--count", "3", "--csv", csv.string()});
  ASSERT_EQ(run.status, 0) << run.err;

  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u) << run.out;
  for (const std::string& line : lines) {
    EXPECT_TRUE(Contains(line, " Success! | TPS Pedal=")) << line;
    EXPECT_TRUE(Contains(line, " | Faults: ")) << line;
  }
  EXPECT_EQ(RequestsSeen(link::command::kMonitorBlock1), 3u);

  const auto rows = FileLines(csv);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_TRUE(rows[0].starts_with("time,ms,status,TPS Pedal,Brake Pedal,")) << rows[0];
  EXPECT_TRUE(
      rows[0].ends_with(",Fault,Motor Speed,Phase current,Reserved,Reserved,Reserved,"
                        "Reserved,Reserved,Reserved,Reserved,Reserved,Reserved,Reserved,"
                        "Reserved,Reserved,Reserved,active faults"))
      << rows[0];
  for (std::size_t i = 1; i < rows.size(); ++i) {
    EXPECT_EQ(std::count(rows[i].begin(), rows[i].end(), ','),
              std::count(rows[0].begin(), rows[0].end(), ','))
        << rows[i];
    EXPECT_TRUE(Contains(rows[i], "Z,")) << rows[i];  // an ISO time in UTC
    EXPECT_TRUE(Contains(rows[i], ",Success!,")) << rows[i];
  }
  EXPECT_FALSE(std::filesystem::exists(csv.string() + ".tmp"));
}

TEST_F(MonitorCommand, NamesEveryActiveFault) {
  struct Case {
    std::uint16_t word;
    std::string value;      // of the fault item
    std::string names;      // on each line
    std::string csvFaults;  // in the last CSV column
  };
  for (const Case& c : {Case{0x0000, "0x0000", "none", ""},
                        Case{0x0812, "0x0812", "Over Voltage, Blocked, Hall Err",
                             "Over Voltage; Blocked; Hall Err"}}) {
    controller_.PinFaultWord(c.word);
    const auto csv = File("faults.csv");
    const Outcome run = Qelvo({"monitor", "--port", port(), "--count", "2", "--csv", csv.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const std::string& line : Lines(run.out)) {
      EXPECT_TRUE(Contains(line, " | Fault=" + c.value + " | ")) << line;
      EXPECT_TRUE(line.ends_with(" | Faults: " + c.names)) << line;
    }
    const auto rows = FileLines(csv);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[1].ends_with("," + c.csvFaults)) << rows[1];
  }
}

TEST_F(MonitorCommand, UnansweredMonitorBlocksGiveFailureLines) {
  sim::Faults faults;
  faults.silent = true;
  faults.onlyCommand = link::command::kMonitorBlock1;
  controller_.SetFaults(faults);

  const Outcome run = Qelvo({"monitor", "--port", port(), "--count", "2"});
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 2u) << run.out;
  for (const std::string& line : lines)
    EXPECT_TRUE(Contains(line, "ms Failure! | TPS Pedal=")) << line;
  // No tick answered: the run is no success.
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Controller no power or RS232 cable disconnect.\n");
}

TEST_F(MonitorCommand, ASilentControllerIsToldBeforeAnyTickAndLeavesNoLog) {
  sim::Faults faults;
  faults.silent = true;
  controller_.SetFaults(faults);
  const auto csv = File("never.csv");
  const Outcome run = Qelvo({"monitor", "--port", port(), "--count", "2", "--csv", csv.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(Contains(run.err, "Controller no power or RS232 cable disconnect.")) << run.err;
  EXPECT_FALSE(std::filesystem::exists(csv));
  EXPECT_FALSE(std::filesystem::exists(csv.string() + ".tmp"));
}

// A run on a thread of its own, so that the test can act while it ticks.
class MonitorRun {
 public:
  explicit MonitorRun(std::vector<std::string> args)
      : thread_([this, args = std::move(args)] { outcome_ = Qelvo(args); }) {}
  ~MonitorRun() {
    if (thread_.joinable())
      thread_.join();
  }
  Outcome Finish() {
    thread_.join();
    return outcome_;
  }

 private:
  Outcome outcome_;
  std::thread thread_;
};

bool WaitForLines(const std::filesystem::path& path, std::size_t lines) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (FileLines(path).size() < lines) {
    if (std::chrono::steady_clock::now() > deadline)
      return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

// A stop signal that found no run to stop would stop the next one at once.
void DrainStopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  const timespec now{0, 0};
  while (sigtimedwait(&set, nullptr, &now) > 0) {
  }
}

// Stop signals sent to the process reach only the run's watcher: every thread of the test,
// the simulated controller's too, blocks them from before it starts.
class MonitorStopSignal : public CliWithController {
 protected:
  // A run stopped in the middle of a tick leaves the controller sending the rest of its reply;
  // the next run's handshake must not meet those bytes.
  void WaitForTheLineToFallQuiet() {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (controller_.NextOutputDue() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(5ms);
    std::this_thread::sleep_for(20ms);  // the last bytes leave the simulator's own buffer
  }

  const BlockedStopSignals blocked_;
};

TEST_F(MonitorStopSignal, EndsTheRunCleanlyWithTheLogInPlace) {
  struct Case {
    int signal;
    bool silent;  // the controller leaves Monitor block 1 unanswered: the tick waits
  };
  for (const Case& c : {Case{SIGINT, false}, Case{SIGTERM, false}, Case{SIGINT, true}}) {
    WaitForTheLineToFallQuiet();
    sim::Faults faults;
    faults.silent = c.silent;
    faults.onlyCommand = link::command::kMonitorBlock1;
    controller_.SetFaults(faults);
    const auto csv = File("stopped.csv");
    std::filesystem::remove(csv);
    MonitorRun run({"monitor", "--port", port(), "--csv", csv.string()});
    const bool ticking = WaitForLines(csv.string() + ".tmp", 3);
    // Sent whatever happened, so that the run cannot go on past the test.
    ASSERT_EQ(::kill(::getpid(), c.signal), 0);
    const Outcome outcome = run.Finish();
    DrainStopSignals();
    ASSERT_TRUE(ticking) << outcome.err;

    EXPECT_EQ(outcome.status, c.silent ? 1 : 0) << outcome.err;
    const auto rows = FileLines(csv);
    ASSERT_GE(rows.size(), 3u) << c.signal;
    EXPECT_EQ(rows.size() - 1, Lines(outcome.out).size());
    EXPECT_TRUE(rows[0].starts_with("time,ms,status,"));
    for (std::size_t i = 1; i < rows.size(); ++i)
      EXPECT_TRUE(Contains(rows[i], c.silent ? ",Failure!," : ",Success!,")) << rows[i];
    EXPECT_FALSE(std::filesystem::exists(csv.string() + ".tmp"));
  }
}

TEST_F(MonitorCommand, AVanishedPortGivesFailureLinesNotAHang) {
  const auto csv = File("vanish.csv");
  // Enough ticks that the vanish lands well before the last one even on a loaded machine.
  MonitorRun run({"monitor", "--port", port(), "--count", "25", "--csv", csv.string()});
  const bool ticking = WaitForLines(csv.string() + ".tmp", 2);
  const bool vanished = ticking && server_->Vanish();
  const Outcome outcome = run.Finish();
  ASSERT_TRUE(ticking) << outcome.err;
  ASSERT_TRUE(vanished);

  EXPECT_EQ(outcome.status, 0) << outcome.err;  // the first ticks were answered
  const auto lines = Lines(outcome.out);
  ASSERT_EQ(lines.size(), 25u) << outcome.out << outcome.err;
  EXPECT_TRUE(Contains(lines.front(), " Success! ")) << lines.front();
  EXPECT_TRUE(Contains(lines.back(), " Failure! ")) << lines.back();
  EXPECT_EQ(FileLines(csv).size(), 26u);
}

// A monitor table of `count` one-byte items named "Item 0", "Item 1", ...
std::unique_ptr<catalogue::DescriptionTables> ItemTable(int count) {
  auto tables = std::make_unique<catalogue::DescriptionTables>();
  for (int i = 0; i < count; ++i) {
    catalogue::MonitorItem& item = tables->monitor[i];
    item.address = i;
    item.pro = 1;
    item.sw = u"uo";
    const std::string name = "Item " + std::to_string(i);
    item.name = std::u16string(name.begin(), name.end());
  }
  tables->monitorCount = count;
  return tables;
}

TEST(MonitorTerminalFrame, KeepsTheItemsOnOneScreenInColumnsThatFit) {
  struct Case {
    TerminalSize size;
    int items;
    std::size_t columns;  // of items on the widest line
    bool fitsTheScreen;
  };
  for (const Case& c : {Case{{24, 80}, 10, 1, true}, Case{{24, 80}, 32, 2, true},
                        Case{{12, 80}, 24, 4, true}, Case{{12, 40}, 32, 2, false}}) {
    const auto tables = ItemTable(c.items);
    MonitorView view(*tables);
    monitor::TickTexts texts;
    texts.status = u"Success!";
    view.Update(texts, link::MonitorBuffer{});

    const std::string frame = TerminalFrame(view, {"2024-05-01T10:00:00.200Z", 200}, c.size, true);
    EXPECT_TRUE(frame.starts_with("\x1b[2J\x1b[H")) << c.items;
    EXPECT_TRUE(frame.ends_with("\x1b[J"));
    const auto lines = Lines(frame);
    std::size_t widest = 0;
    for (const std::string& line : lines)
      widest = std::max<std::size_t>(widest, std::count(line.begin(), line.end(), 'I'));
    EXPECT_EQ(widest, c.columns) << c.size.rows << "x" << c.size.columns << ", " << c.items;
    // The cursor rests below the last line, so nothing scrolls when the screen holds it all.
    if (c.fitsTheScreen) {
      EXPECT_LT(std::count(frame.begin(), frame.end(), '\n'), c.size.rows) << c.items;
    }
  }
  const auto tables = ItemTable(2);
  MonitorView view(*tables);
  EXPECT_TRUE(TerminalFrame(view, {}, {}, false).starts_with("\x1b[H"));
}

TEST(MonitorCsvField, QuotesOnlyWhatWouldBreakTheColumns) {
  struct Case {
    std::string text;
    std::string field;
  };
  for (const Case& c : {Case{"Success!", "Success!"}, Case{"", ""}, Case{"a,b", "\"a,b\""},
                        Case{"say \"hi\"", "\"say \"\"hi\"\"\""}, Case{" ", "\" \""},
                        Case{"two\nlines", "\"two\nlines\""}})
    EXPECT_EQ(CsvField(c.text), c.field) << c.text;
}

struct RefusedCase {
  std::vector<std::string> args;
  std::string message;
};

TEST(MonitorCommandLine, RefusesWrongWords) {
  for (const RefusedCase& c :
       {RefusedCase{{"monitor", "--count", "0"}, "--count needs a positive whole number"},
        RefusedCase{{"monitor", "--count", "3x"}, "--count needs a positive whole number"},
        RefusedCase{{"monitor", "--count"}, "--count needs a positive whole number"},
        RefusedCase{{"monitor", "--csv"}, "--csv needs a FILE"},
        RefusedCase{{"monitor", "extra"}, "unexpected 'extra'"}}) {
    const Outcome run = Qelvo(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
  }
}

}  // namespace
}  // namespace qelvo::cli::test
