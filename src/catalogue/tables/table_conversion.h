#pragma once

#include <string>
#include <string_view>

namespace qelvo::catalogue::tables {

struct TableConversion {
  bool ok = false;
  std::string gbk;    // the table as the parser reads it: GBK, rows ended by CR LF
  std::string error;  // "NAME:LINE: what is wrong" when !ok
};

// Converts a UTF-8 table text to the GBK bytes the program carries. Refuses, naming the
// line, whatever would not reach the parser exactly as written: text GBK cannot hold, a
// double-byte character whose second byte is '[' or '\', a second '[' on a line, a '\'
// other than the end mark alone on its line, a missing end mark, text after the end mark
// and a byte-order mark. Bare LF line ends gain a CR.
TableConversion ConvertTableToGbk(std::string_view utf8, std::string_view sourceName);

}  // namespace qelvo::catalogue::tables
