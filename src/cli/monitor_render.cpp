#include "cli/monitor_render.h"

#include <algorithm>

namespace qelvo::cli {
namespace {

constexpr std::string_view kClearScreen = "\x1b[2J";
constexpr std::string_view kCursorHome = "\x1b[H";
constexpr std::string_view kClearToLineEnd = "\x1b[K";
constexpr std::string_view kClearToScreenEnd = "\x1b[J";
constexpr std::string_view kStatusLabel = "Status";
constexpr std::string_view kFaultsLabel = "Faults";
constexpr std::string_view kNoFaults = "none";
constexpr std::size_t kNameValueGap = 2;
constexpr std::size_t kColumnGap = 4;
// Values change from tick to tick; a column at least this wide keeps its neighbours still.
constexpr std::size_t kMinValueWidth = 6;
// The heading, a blank line, the status, the faults and a blank line above the items, and
// the line the cursor rests on below them.
constexpr int kLinesBesideItems = 6;

constexpr unsigned kUtf8ContinuationMask = 0xC0;
constexpr unsigned kUtf8ContinuationBits = 0x80;

// Characters, not bytes, so that names in other scripts line up as well as they can.
std::size_t CharacterCount(std::string_view utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & kUtf8ContinuationMask) != kUtf8ContinuationBits;
  }));
}

std::string Padded(std::string_view text, std::size_t width) {
  std::string padded(text);
  padded.append(width - std::min(width, CharacterCount(text)), ' ');
  return padded;
}

std::string FaultList(const MonitorView& view) {
  if (view.activeFaults().empty())
    return std::string(kNoFaults);
  std::string list;
  for (const std::string& name : view.activeFaults())
    list += (list.empty() ? "" : ", ") + name;
  return list;
}

void EndLine(std::string& frame) {
  frame += kClearToLineEnd;
  frame += '\n';
}

}  // namespace

std::string TerminalFrame(const MonitorView& view, const TickStamp& stamp, TerminalSize size,
                          bool firstFrame) {
  const std::vector<std::string>& names = view.names();
  const std::vector<std::string>& values = view.values();
  const std::size_t labelWidth = std::max(kStatusLabel.size(), kFaultsLabel.size());
  std::size_t nameWidth = 0;
  std::size_t valueWidth = kMinValueWidth;
  for (std::size_t i = 0; i < names.size(); ++i) {
    nameWidth = std::max(nameWidth, CharacterCount(names[i]));
    valueWidth = std::max(valueWidth, CharacterCount(values[i]));
  }
  const std::size_t cellWidth = nameWidth + kNameValueGap + valueWidth + kColumnGap;
  const std::size_t itemRows = static_cast<std::size_t>(std::max(1, size.rows - kLinesBesideItems));
  const std::size_t fittingColumns =
      std::max<std::size_t>(1, static_cast<std::size_t>(std::max(size.columns, 0)) / cellWidth);
  const std::size_t neededColumns = (names.size() + itemRows - 1) / itemRows;
  const std::size_t columns = std::clamp<std::size_t>(neededColumns, 1, fittingColumns);
  const std::size_t rows = (names.size() + columns - 1) / columns;

  // Drawn over the last frame line by line rather than cleared first, so it does not flicker.
  std::string frame(firstFrame ? kClearScreen : "");
  frame += kCursorHome;
  frame += "qelvo monitor  " + stamp.isoTime + "  (Ctrl-C stops)";
  EndLine(frame);
  EndLine(frame);
  frame += Padded(kStatusLabel, labelWidth + kNameValueGap) + view.status();
  EndLine(frame);
  frame += Padded(kFaultsLabel, labelWidth + kNameValueGap) + FaultList(view);
  EndLine(frame);
  EndLine(frame);
  // Column by column, so the items keep the table's order down each column.
  for (std::size_t row = 0; row < rows; ++row) {
    std::string line;
    for (std::size_t column = 0; column < columns; ++column) {
      const std::size_t item = column * rows + row;
      if (item >= names.size())
        break;
      if (column > 0)
        line.append(kColumnGap, ' ');
      line += Padded(names[item], nameWidth + kNameValueGap) + Padded(values[item], valueWidth);
    }
    frame += line.erase(line.find_last_not_of(' ') + 1);
    EndLine(frame);
  }
  frame += kClearToScreenEnd;
  return frame;
}

std::string PlainLine(const MonitorView& view, const TickStamp& stamp) {
  std::string line =
      stamp.isoTime + " +" + std::to_string(stamp.msSinceStart) + "ms " + view.status();
  for (std::size_t i = 0; i < view.names().size(); ++i)
    line += " | " + view.names()[i] + "=" + view.values()[i];
  line += " | " + std::string(kFaultsLabel) + ": " + FaultList(view) + "\n";
  return line;
}

}  // namespace qelvo::cli
