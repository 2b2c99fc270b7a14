#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qelvo::catalogue {

// Cuts a description table's text into row lines: a row starts at "[" (wherever it
// stands, so a second "[" starts the row afresh), ends at the line feed, and a row cut off
// by the end mark is dropped. Bytes outside a row and bytes of value 0 are ignored.
class RowLineReader {
 public:
  explicit RowLineReader(std::span<const std::uint8_t> text) : text_(text) {}

  // The next complete row line ("[" up to, not including, the line feed; a CR stays), or
  // nothing at the end mark or the end of the text. Valid until the next call.
  std::optional<std::string_view> Next();

 private:
  std::span<const std::uint8_t> text_;
  std::size_t at_ = 0;
  std::string line_;
  bool finished_ = false;
};

bool HasEndMark(std::span<const std::uint8_t> text);

// The three bytes after "[" (fewer when the row line is shorter).
std::string_view BracketText(std::string_view rowLine);

// "row 29 ([038])" for messages; bytes that do not print become '?'.
std::string RowName(std::string_view section, int position, std::string_view bracket);

}  // namespace qelvo::catalogue
