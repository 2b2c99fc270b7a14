// The whole program against a simulated controller that misbehaves at one step at a time:
// whatever the line does, the user is told what the step came to, the controller holds either
// its old block or the whole new one, and a failed exchange never changes the program's image.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/messages.h"
#include "app/templates/control_ids.h"
#include "app/templates/templates.h"
#include "e2e/editable_rows.h"
#include "e2e/simulated_port.h"
#include "e2e/whole_program.h"
#include "link/commands.h"
#include "monitor/monitor_controls.h"
#include "pages/item_codec.h"

namespace qelvo::e2e {
namespace {

using namespace std::chrono_literals;
using ui::Answer;
namespace command = link::command;

// A reply well inside the 1.5 s a receive waits, and one well past it.
constexpr std::chrono::milliseconds kInTime{400};
constexpr std::chrono::milliseconds kTooSlow{2500};

// A byte of a setting: changing it changes neither the controller's identity nor its tables.
constexpr std::size_t kSettingByte = 300;

enum class Step {
  kConnect,      // the handshake at start-up
  kFirstRead,    // the Read at start-up
  kRead,         // a Read from the main window
  kModelCheck,   // the Prepares and the Read block at 0 before a Write
  kWrite,        // the Write blocks and the Commit
  kMonitorTick,  // ticks on the Monitor page
};

enum class Line {
  kSilent,
  kBadChecksum,
  kWrongCommand,
  kSplit,
  kShortReply,
  kInTime,
  kTooSlow,
  kOtherModule,
};

// What the program makes of the fault.
enum class Verdict {
  kHarmless,  // the step succeeds as on a clean line
  kFails,     // the step fails and the user gives up, or cannot retry
  kRecovers,  // the step fails, and Retry succeeds
  kEnds,      // start-up fails, the user gives up: the program ends without a window
};

enum class Stored { kAsBefore, kNewImage };

struct Look {
  std::u16string text;  // empty: no window was shown
  ui::Rgb colour;
};
const Look kNoWindow{};
const Look kReadSuccess{u"Read success!", ui::kSuccessGreen};
const Look kReadFailure{u"Read failure!", ui::kFailureRed};
const Look kWriteSuccess{u"Write success!", ui::kSuccessGreen};
const Look kWriteFailure{u"Write failure!", ui::kFailureRed};
const Look kTickSuccess{u"Success!", ui::kSuccessGreen};
const Look kTickFailure{u"Failure!", ui::kFailureRed};

constexpr unsigned k149 = static_cast<unsigned>(app::MessageId::kNoController);
constexpr unsigned k151 = static_cast<unsigned>(app::MessageId::kReadError);
constexpr unsigned k152 = static_cast<unsigned>(app::MessageId::kWriteError);
constexpr unsigned k153 = static_cast<unsigned>(app::MessageId::kWriteSuccess);
constexpr unsigned k161 = static_cast<unsigned>(app::MessageId::kModuleNameMismatch);
constexpr unsigned k163 = static_cast<unsigned>(app::MessageId::kModuleNameUnreadable);
constexpr unsigned k158 = static_cast<unsigned>(app::MessageId::kMotorWarning);

struct FaultCase {
  const char* name;
  Step step;
  sim::Faults faults;
  std::vector<Answer> answers;
  Verdict verdict;
  std::vector<unsigned> messages;  // the boxes of the step (after the warning at start-up)
  Look status;                     // the status line, or the monitor's status box
  Stored stored = Stored::kAsBefore;
};

void PrintTo(const FaultCase& c, std::ostream* out) {
  *out << c.name;
}

// The fault on `count` requests of one command, after the first `after` of them.
sim::Faults On(Line line, std::uint8_t commandByte, int after = 0, int count = 1) {
  sim::Faults faults;
  faults.onlyCommand = commandByte;
  faults.afterRequests = after;
  faults.requestCount = count;
  switch (line) {
    case Line::kSilent:
      faults.silent = true;
      break;
    case Line::kBadChecksum:
      faults.badChecksum = true;
      break;
    case Line::kWrongCommand:
      faults.wrongCommand = true;
      break;
    case Line::kSplit:
      faults.split = true;
      break;
    case Line::kShortReply:
      faults.shortReply = true;
      break;
    case Line::kInTime:
      faults.delay = kInTime;
      break;
    case Line::kTooSlow:
      faults.delay = kTooSlow;
      break;
    case Line::kOtherModule:
      faults.otherModule = true;
      faults.otherModuleAfterReads = 1;  // the start-up's Read saw the true name
      break;
  }
  return faults;
}

// The fault on every request of the command from now on.
sim::Faults Always(Line line, std::uint8_t commandByte) {
  return On(line, commandByte, 0, 0);
}

// The port goes away after this many Write blocks and stays away until the test plugs it in.
sim::Faults VanishAfterWriteBlocks(int blocks) {
  sim::Faults faults;
  faults.vanishAfterWriteBlocks = blocks;
  return faults;
}

// Scopes of the steps: the 11th Read block of an image read, the Prepare that counts (the
// second), the 20th of the 40 Write blocks.
constexpr int kMiddleReadBlock = 10;
constexpr int kFirstPrepareIgnored = 1;
constexpr int kMiddleWriteBlock = 19;

const Answer kRetry = Answer::Retry;
const Answer kCancel = Answer::Cancel;

FaultCase Case(const char* name, Step step, sim::Faults faults, std::vector<Answer> answers,
               Verdict verdict, std::vector<unsigned> messages, Look status,
               Stored stored = Stored::kAsBefore) {
  return {name, step, faults, std::move(answers), verdict, std::move(messages), status, stored};
}

const FaultCase kCases[] = {
    // ---- Connect: the handshake (Retry repeats the whole search for the port) ----
    Case("ConnectSilent", Step::kConnect, On(Line::kSilent, command::kHandshake), {kRetry},
         Verdict::kRecovers, {k149}, kReadSuccess),
    Case("ConnectBadChecksum", Step::kConnect, On(Line::kBadChecksum, command::kHandshake),
         {kRetry}, Verdict::kRecovers, {k149}, kReadSuccess),
    // The handshake looks at payload byte 2 alone.
    Case("ConnectWrongCommand", Step::kConnect, On(Line::kWrongCommand, command::kHandshake), {},
         Verdict::kHarmless, {}, kReadSuccess),
    Case("ConnectSplit", Step::kConnect, On(Line::kSplit, command::kHandshake), {},
         Verdict::kHarmless, {}, kReadSuccess),
    // Half a payload lacks the byte that tells a controller.
    Case("ConnectShortReply", Step::kConnect, On(Line::kShortReply, command::kHandshake), {kRetry},
         Verdict::kRecovers, {k149}, kReadSuccess),
    Case("ConnectSlowInTime", Step::kConnect, On(Line::kInTime, command::kHandshake), {},
         Verdict::kHarmless, {}, kReadSuccess),
    Case("ConnectTooSlow", Step::kConnect, On(Line::kTooSlow, command::kHandshake), {kRetry},
         Verdict::kRecovers, {k149}, kReadSuccess),
    Case("ConnectNeverAnsweredCancel", Step::kConnect, Always(Line::kSilent, command::kHandshake),
         {kRetry, kCancel}, Verdict::kEnds, {k149, k149}, kNoWindow),

    // ---- The first Read, at start-up (Cancel would end the program) ----
    Case("FirstReadSilent", Step::kFirstRead,
         On(Line::kSilent, command::kReadBlock, kMiddleReadBlock), {kRetry}, Verdict::kRecovers,
         {k151}, kReadSuccess),
    Case("FirstReadBadChecksum", Step::kFirstRead,
         On(Line::kBadChecksum, command::kReadBlock, kMiddleReadBlock), {kRetry},
         Verdict::kRecovers, {k151}, kReadSuccess),
    // A Read block reply's command byte is not looked at; its payload is sound.
    Case("FirstReadWrongCommand", Step::kFirstRead,
         On(Line::kWrongCommand, command::kReadBlock, kMiddleReadBlock), {}, Verdict::kHarmless, {},
         kReadSuccess),
    Case("FirstReadSplit", Step::kFirstRead,
         On(Line::kSplit, command::kReadBlock, kMiddleReadBlock), {}, Verdict::kHarmless, {},
         kReadSuccess),
    Case("FirstReadShortReply", Step::kFirstRead,
         On(Line::kShortReply, command::kReadBlock, kMiddleReadBlock), {kRetry}, Verdict::kRecovers,
         {k151}, kReadSuccess),
    Case("FirstReadSlowInTime", Step::kFirstRead,
         On(Line::kInTime, command::kReadBlock, kMiddleReadBlock), {}, Verdict::kHarmless, {},
         kReadSuccess),
    Case("FirstReadTooSlow", Step::kFirstRead,
         On(Line::kTooSlow, command::kReadBlock, kMiddleReadBlock), {kRetry}, Verdict::kRecovers,
         {k151}, kReadSuccess),
    Case("FirstReadPrepareSilent", Step::kFirstRead,
         On(Line::kSilent, command::kPrepare, kFirstPrepareIgnored), {kRetry}, Verdict::kRecovers,
         {k151}, kReadSuccess),
    Case("FirstReadNeverAnsweredCancel", Step::kFirstRead,
         Always(Line::kSilent, command::kReadBlock), {kCancel}, Verdict::kEnds, {k151}, kNoWindow),

    // ---- A Read from the main window, after the controller's block changed ----
    Case("ReadSilent", Step::kRead, On(Line::kSilent, command::kReadBlock, kMiddleReadBlock),
         {kCancel}, Verdict::kFails, {k151}, kReadFailure),
    Case("ReadBadChecksum", Step::kRead,
         On(Line::kBadChecksum, command::kReadBlock, kMiddleReadBlock), {kCancel}, Verdict::kFails,
         {k151}, kReadFailure),
    Case("ReadBadChecksumTwiceRetried", Step::kRead,
         On(Line::kBadChecksum, command::kReadBlock, kMiddleReadBlock, 2), {kRetry, kRetry},
         Verdict::kRecovers, {k151, k151}, kReadSuccess),
    Case("ReadWrongCommand", Step::kRead,
         On(Line::kWrongCommand, command::kReadBlock, kMiddleReadBlock), {}, Verdict::kHarmless, {},
         kReadSuccess),
    Case("ReadSplit", Step::kRead, On(Line::kSplit, command::kReadBlock, kMiddleReadBlock), {},
         Verdict::kHarmless, {}, kReadSuccess),
    Case("ReadShortReply", Step::kRead,
         On(Line::kShortReply, command::kReadBlock, kMiddleReadBlock), {kCancel}, Verdict::kFails,
         {k151}, kReadFailure),
    Case("ReadSlowInTime", Step::kRead, On(Line::kInTime, command::kReadBlock, kMiddleReadBlock),
         {}, Verdict::kHarmless, {}, kReadSuccess),
    Case("ReadTooSlowRetried", Step::kRead,
         On(Line::kTooSlow, command::kReadBlock, kMiddleReadBlock), {kRetry}, Verdict::kRecovers,
         {k151}, kReadSuccess),
    Case("ReadTooSlowCancel", Step::kRead,
         On(Line::kTooSlow, command::kReadBlock, kMiddleReadBlock), {kCancel}, Verdict::kFails,
         {k151}, kReadFailure),
    Case("ReadPrepareSilent", Step::kRead,
         On(Line::kSilent, command::kPrepare, kFirstPrepareIgnored), {kCancel}, Verdict::kFails,
         {k151}, kReadFailure),

    // ---- The model check before a Write: it stops the Write, and is not retried ----
    Case("CheckPrepareSilent", Step::kModelCheck,
         On(Line::kSilent, command::kPrepare, kFirstPrepareIgnored), {}, Verdict::kFails, {k163},
         kReadSuccess),
    Case("CheckPrepareBadChecksum", Step::kModelCheck,
         On(Line::kBadChecksum, command::kPrepare, kFirstPrepareIgnored), {}, Verdict::kFails,
         {k163}, kReadSuccess),
    Case("CheckPrepareWrongCommand", Step::kModelCheck,
         On(Line::kWrongCommand, command::kPrepare, kFirstPrepareIgnored), {}, Verdict::kHarmless,
         {k153}, kWriteSuccess, Stored::kNewImage),
    Case("CheckPrepareSplit", Step::kModelCheck,
         On(Line::kSplit, command::kPrepare, kFirstPrepareIgnored), {}, Verdict::kHarmless, {k153},
         kWriteSuccess, Stored::kNewImage),
    // A Prepare's reply has no payload to lose half of.
    Case("CheckPrepareShortReply", Step::kModelCheck,
         On(Line::kShortReply, command::kPrepare, kFirstPrepareIgnored), {}, Verdict::kHarmless,
         {k153}, kWriteSuccess, Stored::kNewImage),
    Case("CheckPrepareSlowInTime", Step::kModelCheck,
         On(Line::kInTime, command::kPrepare, kFirstPrepareIgnored), {}, Verdict::kHarmless, {k153},
         kWriteSuccess, Stored::kNewImage),
    Case("CheckPrepareTooSlow", Step::kModelCheck,
         On(Line::kTooSlow, command::kPrepare, kFirstPrepareIgnored), {}, Verdict::kFails, {k163},
         kReadSuccess),
    // The first Prepare's outcome is not looked at; a late answer to it serves the second.
    Case("CheckFirstPrepareSilent", Step::kModelCheck, On(Line::kSilent, command::kPrepare), {},
         Verdict::kHarmless, {k153}, kWriteSuccess, Stored::kNewImage),
    Case("CheckFirstPrepareTooSlow", Step::kModelCheck, On(Line::kTooSlow, command::kPrepare), {},
         Verdict::kHarmless, {k153}, kWriteSuccess, Stored::kNewImage),
    Case("CheckFirstPrepareBadChecksum", Step::kModelCheck,
         On(Line::kBadChecksum, command::kPrepare), {}, Verdict::kHarmless, {k153}, kWriteSuccess,
         Stored::kNewImage),
    Case("CheckFirstPrepareWrongCommand", Step::kModelCheck,
         On(Line::kWrongCommand, command::kPrepare), {}, Verdict::kHarmless, {k153}, kWriteSuccess,
         Stored::kNewImage),
    Case("CheckFirstPrepareSplit", Step::kModelCheck, On(Line::kSplit, command::kPrepare), {},
         Verdict::kHarmless, {k153}, kWriteSuccess, Stored::kNewImage),
    Case("CheckFirstPrepareShortReply", Step::kModelCheck, On(Line::kShortReply, command::kPrepare),
         {}, Verdict::kHarmless, {k153}, kWriteSuccess, Stored::kNewImage),
    Case("CheckFirstPrepareSlowInTime", Step::kModelCheck, On(Line::kInTime, command::kPrepare), {},
         Verdict::kHarmless, {k153}, kWriteSuccess, Stored::kNewImage),
    Case("CheckNameSilent", Step::kModelCheck, On(Line::kSilent, command::kReadBlock), {},
         Verdict::kFails, {k163}, kReadSuccess),
    Case("CheckNameBadChecksum", Step::kModelCheck, On(Line::kBadChecksum, command::kReadBlock), {},
         Verdict::kFails, {k163}, kReadSuccess),
    Case("CheckNameWrongCommand", Step::kModelCheck, On(Line::kWrongCommand, command::kReadBlock),
         {}, Verdict::kHarmless, {k153}, kWriteSuccess, Stored::kNewImage),
    Case("CheckNameSplit", Step::kModelCheck, On(Line::kSplit, command::kReadBlock), {},
         Verdict::kHarmless, {k153}, kWriteSuccess, Stored::kNewImage),
    // Half of 16 bytes still carries the eight bytes of the module name.
    Case("CheckNameShortReply", Step::kModelCheck, On(Line::kShortReply, command::kReadBlock), {},
         Verdict::kHarmless, {k153}, kWriteSuccess, Stored::kNewImage),
    Case("CheckNameSlowInTime", Step::kModelCheck, On(Line::kInTime, command::kReadBlock), {},
         Verdict::kHarmless, {k153}, kWriteSuccess, Stored::kNewImage),
    Case("CheckNameTooSlow", Step::kModelCheck, On(Line::kTooSlow, command::kReadBlock), {},
         Verdict::kFails, {k163}, kReadSuccess),
    Case("CheckOtherModule", Step::kModelCheck, On(Line::kOtherModule, command::kReadBlock), {},
         Verdict::kFails, {k161}, kReadSuccess),

    // ---- Write: a block in the middle, and the Commit ----
    Case("WriteBlockSilent", Step::kWrite,
         On(Line::kSilent, command::kWriteBlock, kMiddleWriteBlock), {kCancel}, Verdict::kFails,
         {k152}, kWriteFailure),
    Case("WriteBlockBadChecksumRetried", Step::kWrite,
         On(Line::kBadChecksum, command::kWriteBlock, kMiddleWriteBlock), {kRetry},
         Verdict::kRecovers, {k152, k153}, kWriteSuccess, Stored::kNewImage),
    Case("WriteBlockWrongCommand", Step::kWrite,
         On(Line::kWrongCommand, command::kWriteBlock, kMiddleWriteBlock), {}, Verdict::kHarmless,
         {k153}, kWriteSuccess, Stored::kNewImage),
    Case("WriteBlockSplit", Step::kWrite, On(Line::kSplit, command::kWriteBlock, kMiddleWriteBlock),
         {}, Verdict::kHarmless, {k153}, kWriteSuccess, Stored::kNewImage),
    // An acknowledgement has no payload to lose half of.
    Case("WriteBlockShortReply", Step::kWrite,
         On(Line::kShortReply, command::kWriteBlock, kMiddleWriteBlock), {}, Verdict::kHarmless,
         {k153}, kWriteSuccess, Stored::kNewImage),
    Case("WriteBlockSlowInTime", Step::kWrite,
         On(Line::kInTime, command::kWriteBlock, kMiddleWriteBlock), {}, Verdict::kHarmless, {k153},
         kWriteSuccess, Stored::kNewImage),
    Case("WriteBlockTooSlowRetried", Step::kWrite,
         On(Line::kTooSlow, command::kWriteBlock, kMiddleWriteBlock), {kRetry}, Verdict::kRecovers,
         {k152, k153}, kWriteSuccess, Stored::kNewImage),
    Case("WriteBlockTooSlowCancel", Step::kWrite,
         On(Line::kTooSlow, command::kWriteBlock, kMiddleWriteBlock), {kCancel}, Verdict::kFails,
         {k152}, kWriteFailure),
    Case("CommitSilent", Step::kWrite, On(Line::kSilent, command::kCommit), {kCancel},
         Verdict::kFails, {k152}, kWriteFailure),
    Case("CommitSilentRetried", Step::kWrite, On(Line::kSilent, command::kCommit), {kRetry},
         Verdict::kRecovers, {k152, k153}, kWriteSuccess, Stored::kNewImage),
    // The controller stored the block; only its answer was spoilt, so the program cannot know.
    Case("CommitBadChecksum", Step::kWrite, On(Line::kBadChecksum, command::kCommit), {kCancel},
         Verdict::kFails, {k152}, kWriteFailure, Stored::kNewImage),
    Case("CommitWrongCommand", Step::kWrite, On(Line::kWrongCommand, command::kCommit), {},
         Verdict::kHarmless, {k153}, kWriteSuccess, Stored::kNewImage),
    Case("CommitSplit", Step::kWrite, On(Line::kSplit, command::kCommit), {}, Verdict::kHarmless,
         {k153}, kWriteSuccess, Stored::kNewImage),
    Case("CommitShortReply", Step::kWrite, On(Line::kShortReply, command::kCommit), {},
         Verdict::kHarmless, {k153}, kWriteSuccess, Stored::kNewImage),
    Case("CommitSlowInTime", Step::kWrite, On(Line::kInTime, command::kCommit), {},
         Verdict::kHarmless, {k153}, kWriteSuccess, Stored::kNewImage),
    Case("CommitTooSlowRetried", Step::kWrite, On(Line::kTooSlow, command::kCommit), {kRetry},
         Verdict::kRecovers, {k152, k153}, kWriteSuccess, Stored::kNewImage),
    // The port is plugged back in while message 152 is up.
    Case("PortVanishesMidWriteRetried", Step::kWrite, VanishAfterWriteBlocks(kMiddleWriteBlock),
         {kRetry}, Verdict::kRecovers, {k152, k153}, kWriteSuccess, Stored::kNewImage),
    Case("PortVanishesMidWriteCancel", Step::kWrite, VanishAfterWriteBlocks(kMiddleWriteBlock),
         {kCancel}, Verdict::kFails, {k152}, kWriteFailure),

    // ---- Monitor ticks: never a message, only the status box ----
    Case("TickSilent", Step::kMonitorTick, Always(Line::kSilent, command::kMonitorBlock1), {},
         Verdict::kFails, {}, kTickFailure),
    Case("TickBadChecksum", Step::kMonitorTick, Always(Line::kBadChecksum, command::kMonitorBlock1),
         {}, Verdict::kFails, {}, kTickFailure),
    // Block 1 must carry its own command byte.
    Case("TickWrongCommand", Step::kMonitorTick,
         Always(Line::kWrongCommand, command::kMonitorBlock1), {}, Verdict::kFails, {},
         kTickFailure),
    Case("TickSplit", Step::kMonitorTick, Always(Line::kSplit, command::kMonitorBlock1), {},
         Verdict::kHarmless, {}, kTickSuccess),
    Case("TickShortReply", Step::kMonitorTick, Always(Line::kShortReply, command::kMonitorBlock1),
         {}, Verdict::kFails, {}, kTickFailure),
    Case("TickSlowInTime", Step::kMonitorTick, Always(Line::kInTime, command::kMonitorBlock1), {},
         Verdict::kHarmless, {}, kTickSuccess),
    Case("TickTooSlow", Step::kMonitorTick, Always(Line::kTooSlow, command::kMonitorBlock1), {},
         Verdict::kFails, {}, kTickFailure),
    // Only block 1 is told; the others leave their part of the values stale.
    Case("TickSecondBlockSilent", Step::kMonitorTick,
         Always(Line::kSilent, command::kMonitorBlock2), {}, Verdict::kHarmless, {}, kTickSuccess),
};

Look StatusOf(const ui::HeadlessDialog& dialog, int id) {
  return {dialog.Text(id), dialog.TextColor(id).value_or(ui::Rgb{})};
}

std::u16string Decimal(std::int32_t value) {
  const std::string text = std::to_string(value);
  return {text.begin(), text.end()};
}

bool Succeeded(Verdict verdict) {
  return verdict == Verdict::kHarmless || verdict == Verdict::kRecovers;
}

class FaultTable : public ::testing::TestWithParam<FaultCase> {
 protected:
  void SetUp() override { ASSERT_FALSE(port_.path().empty()); }

  std::vector<unsigned> StepMessages() const { return MessageIds(program_.headless); }

  void BeginStep(const FaultCase& c) {
    program_.headless.ClearMessages();
    program_.headless.QueueAnswers(c.answers);
    port_.controller().SetFaults(c.faults);
  }

  void ExpectAnswersUsed() { EXPECT_EQ(program_.headless.PendingAnswers(), 0u); }

  void StartUp(const FaultCase& c, ui::HeadlessDialog& window) {
    const std::vector<unsigned> all = StepMessages();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.front(), k158);
    EXPECT_EQ(std::vector<unsigned>(all.begin() + 1, all.end()), c.messages);
    EXPECT_EQ(StatusOf(window, app::kStatusLineId).text, c.status.text);
    EXPECT_EQ(StatusOf(window, app::kStatusLineId).colour, c.status.colour);
    EXPECT_EQ(program_.state->image, port_.controller().StoredBlock());
    EXPECT_TRUE(program_.PageDialog(app::kVehiclePage)->IsShown());
  }

  void Read(const FaultCase& c, ui::HeadlessDialog& window) {
    // Someone changed a setting since the start: a half-done Read would show as a mix.
    link::CalibrationImage changed = port_.controller().StoredBlock();
    changed[kSettingByte] ^= 0x01;
    port_.controller().SetStoredBlock(changed);
    const link::CalibrationImage before = program_.state->image;
    ASSERT_NE(before, changed);

    BeginStep(c);
    window.Click(app::kReadButtonId);
    EXPECT_EQ(StepMessages(), c.messages);
    EXPECT_EQ(StatusOf(window, app::kStatusLineId).text, c.status.text);
    EXPECT_EQ(StatusOf(window, app::kStatusLineId).colour, c.status.colour);
    EXPECT_EQ(program_.state->image, Succeeded(c.verdict) ? changed : before);
    EXPECT_EQ(port_.controller().StoredBlock(), changed);
  }

  // Types a new value into a Vehicle row, then Write; the model check is part of it.
  void Write(const FaultCase& c, ui::HeadlessDialog& window) {
    const auto rows = EditableRows(program_.state->tables, pages::PageKind::Vehicle,
                                   *app::PageTemplate(app::kVehiclePageTemplateId));
    ASSERT_FALSE(rows.empty());
    const EditableRow& row = rows.front();
    const std::int32_t now = pages::ReadItemNumber(program_.state->image, row.item);
    const std::int32_t typed = now == row.low ? row.low + 1 : row.low;
    link::CalibrationImage typedImage = program_.state->image;
    pages::StoreItemNumber(typedImage, row.item, typed);
    const link::CalibrationImage before = port_.controller().StoredBlock();
    ASSERT_NE(typedImage, before);
    ASSERT_TRUE(program_.PageDialog(app::kVehiclePage)->Type(row.editId, Decimal(typed)));

    BeginStep(c);
    program_.backend.SetMessageHook([this](std::u16string_view, ui::Buttons) {
      if (port_.server().vanished())
        port_.server().ComeBack();
    });
    window.Click(app::kWriteButtonId);
    program_.backend.SetMessageHook(nullptr);

    EXPECT_EQ(StepMessages(), c.messages);
    const Look status = StatusOf(window, app::kStatusLineId);
    EXPECT_EQ(status.text, c.status.text);
    EXPECT_EQ(status.colour, c.status.colour);
    EXPECT_EQ(program_.state->image, typedImage) << "the typed value, and nothing from the line";
    const link::CalibrationImage stored = port_.controller().StoredBlock();
    EXPECT_EQ(stored, c.stored == Stored::kNewImage ? typedImage : before);
    EXPECT_TRUE(stored == before || stored == typedImage) << "a mix of the old and new block";
    if (status.text == kWriteSuccess.text) {
      EXPECT_EQ(stored, typedImage) << "success told, but the controller lacks the new block";
    }
  }

  void MonitorTicks(const FaultCase& c, ui::HeadlessDialog& window) {
    const link::CalibrationImage image = program_.state->image;
    BeginStep(c);
    ASSERT_TRUE(window.Click(app::kMonitorButtonId));
    ui::HeadlessDialog* monitor = program_.PageDialog(app::kMonitorPage);
    ASSERT_TRUE(monitor != nullptr && monitor->IsShown());

    // Every tick under the fault shows the same outcome.
    constexpr int kTicks = 3;
    int ticks = 0;
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (ticks < kTicks && std::chrono::steady_clock::now() < deadline) {
      if (!program_.headless.WaitForPosted(1s))
        continue;
      ticks += static_cast<int>(program_.headless.RunPosted());
      const Look shown = StatusOf(*monitor, monitor::kStatusBoxId);
      EXPECT_EQ(shown.text, c.status.text);
      EXPECT_EQ(shown.colour, c.status.colour);
    }
    EXPECT_GE(ticks, kTicks);
    EXPECT_TRUE(StepMessages().empty());

    // Left while a tick may still wait for its reply, which then comes in after the stop.
    ASSERT_TRUE(window.Click(app::kVehicleButtonId));
    EXPECT_FALSE(monitor->IsShown());
    EXPECT_EQ(program_.state->image, image);
    EXPECT_EQ(port_.controller().StoredBlock(), image);
    ExpectTheLinkRecovers(window);

    // Back on a clean line, the monitor is answered again.
    ASSERT_TRUE(window.Click(app::kMonitorButtonId));
    EXPECT_TRUE(program_.headless.RunPostedUntil(
        [&] { return StatusOf(*monitor, monitor::kStatusBoxId).text == kTickSuccess.text; }, 10s));
    EXPECT_EQ(StatusOf(*monitor, monitor::kStatusBoxId).colour, kTickSuccess.colour);
    ASSERT_TRUE(window.Click(app::kVehicleButtonId));
  }

  // Whatever happened, once the line is clean a Read brings in the controller's block.
  void ExpectTheLinkRecovers(ui::HeadlessDialog& window) {
    port_.controller().SetFaults({});
    if (port_.server().vanished()) {
      ASSERT_TRUE(port_.server().ComeBack());
    }
    program_.headless.ClearMessages();
    window.Click(app::kReadButtonId);
    EXPECT_TRUE(StepMessages().empty());
    EXPECT_EQ(StatusOf(window, app::kStatusLineId).text, kReadSuccess.text);
    EXPECT_EQ(program_.state->image, port_.controller().StoredBlock());
  }

  SimulatedPort port_{false};
  WholeProgram program_{port_.path()};
};

TEST_P(FaultTable, TheStepEndsAsExpected) {
  const FaultCase& c = GetParam();
  const bool atStartUp = c.step == Step::kConnect || c.step == Step::kFirstRead;
  if (atStartUp)
    port_.controller().SetFaults(c.faults);

  const app::RunEnd end =
      program_.Run(atStartUp ? c.answers : std::vector<Answer>{}, [&](ui::HeadlessDialog& window) {
        switch (c.step) {
          case Step::kConnect:
          case Step::kFirstRead:
            StartUp(c, window);
            break;
          case Step::kRead:
            Read(c, window);
            break;
          case Step::kModelCheck:
          case Step::kWrite:
            Write(c, window);
            break;
          case Step::kMonitorTick:
            MonitorTicks(c, window);
            break;
        }
        ExpectAnswersUsed();
        ExpectTheLinkRecovers(window);
      });

  EXPECT_EQ(end, app::RunEnd::kMainWindowClosed);
  EXPECT_EQ(program_.windowShown(), c.verdict != Verdict::kEnds);
  if (c.verdict == Verdict::kEnds) {
    const std::vector<unsigned> all = StepMessages();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(std::vector<unsigned>(all.begin() + 1, all.end()), c.messages);
    ExpectAnswersUsed();
  }
}

INSTANTIATE_TEST_SUITE_P(Line, FaultTable, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FaultCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace qelvo::e2e
