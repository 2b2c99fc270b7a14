#include "catalogue/tables/table_conversion.h"

#include <gtest/gtest.h>

#include <string>

namespace qelvo::catalogue::tables {
namespace {

TEST(ConvertTableToGbk, GivesTheParserGbkRowsEndedByCrLf) {
  struct Case {
    const char* what;
    std::string utf8;
    std::string gbk;
  };
  const Case cases[] = {
      {"bare LF gains a CR", "[000]#\tname=a#\n\\\n", "[000]#\tname=a#\r\n\\\r\n"},
      {"CR LF stays as it is", "[000]#\tname=a#\r\n\\\r\n", "[000]#\tname=a#\r\n\\\r\n"},
      {"full-width comma, degree sign, Chinese",
       "[000]#\ttips=a\xEF\xBC\x8C\xE2\x84\x83\xE4\xBF\x9D\xE7\x95\x99#\n\\\n",
       "[000]#\ttips=a\xA3\xAC\xA1\xE6\xB1\xA3\xC1\xF4#\r\n\\\r\n"},
      {"empty lines after the end mark are kept", "[000]#\n\\\n\n\n", "[000]#\r\n\\\r\n\r\n\r\n"},
      {"no line end after the end mark", "[000]#\n\\", "[000]#\r\n\\"},
      {"a table of just the end mark", "\\\n", "\\\r\n"},
  };
  for (const Case& c : cases) {
    const TableConversion result = ConvertTableToGbk(c.utf8, "t.txt");
    ASSERT_TRUE(result.ok) << c.what << ": " << result.error;
    EXPECT_EQ(result.gbk, c.gbk) << c.what;
  }
}

TEST(ConvertTableToGbk, RefusesWhatTheParserWouldNotReadAsWritten) {
  struct Case {
    const char* what;
    std::string utf8;
    std::string error;
  };
  const Case cases[] = {
      {"a character GBK lacks", "[000]#\n[001]#\tname=\xF0\x9F\x98\x80#\n\\\n",
       "t.txt:2: column 13: the text is not UTF-8 or has no exact GBK form"},
      {"bytes that are not UTF-8", "[000]#\tname=\xFF#\n\\\n",
       "t.txt:1: column 13: the text is not UTF-8 or has no exact GBK form"},
      {"a cut-off UTF-8 sequence", "[000]#\tname=\xE4\xBF#\n\\\n",
       "t.txt:1: column 13: the text is not UTF-8 or has no exact GBK form"},
      // U+4E55 is GBK 81 5B, U+4E57 is GBK 81 5C.
      {"a second byte '['", "[000]#\tname=\xE4\xB9\x95#\n\\\n",
       "t.txt:1: a character encodes in GBK with the second byte '[', which would start a new "
       "row; use another character"},
      {"a second byte '\\'", "[000]#\n[001]#\tname=\xE4\xB9\x97#\n\\\n",
       "t.txt:2: a character encodes in GBK with the second byte '\\', which would end the "
       "table; use another character"},
      {"a second '[' on a line", "[000]#\ttips=see [1]#\n\\\n",
       "t.txt:1: a second '[' on the line would start a new row and drop this one"},
      {"a backslash inside a row", "[000]#\ttips=a\\b#\n\\\n",
       "t.txt:1: the end mark '\\' must stand alone on its line"},
      {"no end mark", "[000]#\n[001]#\n", "t.txt: the table has no end mark '\\'"},
      {"an empty text", "", "t.txt: the table has no end mark '\\'"},
      {"a row after the end mark", "[000]#\n\\\n\n[001]#\n",
       "t.txt:4: text after the end mark '\\' would never be read"},
      {"a byte-order mark", "\xEF\xBB\xBF[000]#\n\\\n",
       "t.txt:1: the table starts with a byte-order mark; save it without one"},
  };
  for (const Case& c : cases) {
    const TableConversion result = ConvertTableToGbk(c.utf8, "t.txt");
    EXPECT_FALSE(result.ok) << c.what;
    EXPECT_EQ(result.error, c.error) << c.what;
    EXPECT_TRUE(result.gbk.empty()) << c.what;
  }
}

}  // namespace
}  // namespace qelvo::catalogue::tables
