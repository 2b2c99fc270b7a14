#include "catalogue/row_lines.h"

#include <algorithm>

#include "catalogue/parser.h"

namespace qelvo::catalogue {

namespace {

constexpr std::uint8_t kRowStart = '[';
constexpr std::uint8_t kLineFeed = 0x0A;
constexpr std::size_t kBracketLength = 3;

}  // namespace

std::optional<std::string_view> RowLineReader::Next() {
  bool inRow = false;
  line_.clear();
  while (!finished_ && at_ < text_.size()) {
    const std::uint8_t byte = text_[at_++];
    if (byte == kEndMark) {
      finished_ = true;
      break;
    }
    if (byte == kRowStart) {
      line_.assign(1, static_cast<char>(kRowStart));
      inRow = true;
    } else if (!inRow) {
      continue;
    } else if (byte == kLineFeed) {
      return std::string_view(line_);
    } else if (byte != 0) {
      line_.push_back(static_cast<char>(byte));
    }
  }
  finished_ = true;
  return std::nullopt;
}

bool HasEndMark(std::span<const std::uint8_t> text) {
  return std::find(text.begin(), text.end(), kEndMark) != text.end();
}

std::string_view BracketText(std::string_view rowLine) {
  return rowLine.substr(std::min<std::size_t>(1, rowLine.size()), kBracketLength);
}

std::string RowName(std::string_view section, int position, std::string_view bracket) {
  std::string name(section);
  if (!name.empty())
    name += ' ';
  name += "row " + std::to_string(position) + " ([";
  for (const char c : bracket) {
    const auto byte = static_cast<unsigned char>(c);
    name += (byte >= 0x20 && byte < 0x7F) ? c : '?';
  }
  name += "])";
  return name;
}

}  // namespace qelvo::catalogue
