#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "catalogue/parser.h"
#include "catalogue/row_lines.h"
#include "catalogue/table_text_builder.h"

namespace qelvo::catalogue {
namespace {

using testing::Bytes;
using testing::RowText;
using testing::TableRow;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

std::vector<std::string> RowLines(const std::string& text) {
  const std::vector<std::uint8_t> bytes = Bytes(text);
  RowLineReader reader(bytes);
  std::vector<std::string> lines;
  while (const auto line = reader.Next())
    lines.emplace_back(*line);
  return lines;
}

TEST(RowLineReader, CutsTextIntoRows) {
  using namespace std::string_literals;
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"end mark first", "\\[001]#pro=1#\n", {}},
      {"row cut off by the end mark", "[001]#a=1#\n[002]#b=2#\\\n", {"[001]#a=1#"}},
      {"second [ restarts the row", "[001]#a=1#[002]#b=2#\n", {"[002]#b=2#"}},
      {"text outside rows ignored",
       "head\r\n\r\n[001]#x#\r\n between \r\n[002]#y#\n\\",
       {"[001]#x#\r", "[002]#y#"}},
      {"byte 0 skipped",
       "[00\0"
       "1]#n=A\0B#\n\\"s,
       {"[001]#n=AB#"}},
      {"bytes after the end mark never read", "[001]#\n\\[002]#\n", {"[001]#"}},
      {"no end mark: rows up to the end of the text", "[001]#\n[002]#", {"[001]#"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RowLines(c.text), c.lines) << c.what;
  }
}

TEST(FindKeyValue, TakesTheFirstOccurrenceUpToTheNextHash) {
  struct Case {
    const char* line;
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"[105]#\tpro=2#\tpos=1#", "pos=", "1"},
      {"[105]#\tname=Max Output Fre#\trangeL=50#", "name=", "Max Output Fre"},
      {"[001]#\tname= Lead#", "name=", " Lead"},
      {"[001]#\tname=A#\tname=B#", "name=", "A"},
      {"[001]#\ttips=no end", "tips=", ""},
      {"[001]#\tpro=1#", "pos=", ""},
      {"[001]#\tpro=#", "pro=", ""},
      // The key may stand anywhere in the line, the bracket included.
      {"[en=3#]#\ten=1#", "en=", "3"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindKeyValue(c.line, c.key), c.value) << c.line << " / " << c.key;
  }
}

TEST(ReadTableNumber, ReadsLeadingDecimalDigits) {
  struct Case {
    const char* value;
    std::int32_t number;
  };
  const Case cases[] = {
      {"1200", 1200},
      {" \t 7", 7},
      {"-5", -5},
      {"+3", 3},
      {"0x7FFFFFFF", 0},
      {"", 0},
      {"abc", 0},
      {"12abc", 12},
      {"- 5", 0},
      {"2147483647", kMax},
      {"-2147483648", kMin},
      {"99999999999999999999", kMax},
      {"-99999999999", kMin},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadTableNumber(c.value), c.number) << '"' << c.value << '"';
  }
}

TEST(ReadTableHex, ReadsHexadecimalDigits) {
  struct Case {
    const char* value;
    std::int32_t number;
  };
  const Case cases[] = {
      {"7F7F7F", 8355711}, {"0x1f", 31}, {" ff", 255},         {"-a", -10},
      {"zz", 0},           {"0xg", 0},   {"FFFFFFFFFF", kMax}, {"", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadTableHex(c.value), c.number) << '"' << c.value << '"';
  }
}

TEST(GbkToUtf16, ConvertsAndReplacesWhatDoesNotDecode) {
  struct Case {
    const char* gbk;
    std::u16string text;
  };
  const Case cases[] = {
      {"Battry Limit", u"Battry Limit"},
      {"\xB1\xA3\xC1\xF4", u"保留"},
      {"PCB\xC7\xD0\xB6\xCF \xA1\xE6", u"PCB切断 ℃"},
      {"A\xFF"
       "B",
       u"A\uFFFD"
       "B"},
      {"\x81 x", u"\uFFFD x"},
      {"end\xC4", u"end\uFFFD"},
      {"", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GbkToUtf16(c.gbk), c.text) << c.gbk;
  }
}

ParamItem ParseOneRow(const std::string& row) {
  DescriptionTables tables;
  const ParseResult result = ParseCalibrationTable(Bytes(row + "\\"), tables, {});
  EXPECT_TRUE(result.ok) << result.error;
  EXPECT_EQ(tables.paramCount, 1) << row;
  return tables.params[0];
}

TEST(ParseCalibrationTable, StoresEveryFieldOfARow) {
  const ParamItem item = ParseOneRow(
      "[105]#\tpro=2#\tpos=1#\tshow=1#\ten=1#\tsw=uo#\tname=Max Output Fre#\trangeL=50#\t"
      "rangeH=1200#\ttips=Max Output Frequency.#\r\n");
  EXPECT_EQ(item.address, 105);
  EXPECT_EQ(item.pro, 2);
  EXPECT_EQ(item.pos, 1);
  EXPECT_EQ(item.show, 1);
  EXPECT_EQ(item.en, 1);
  EXPECT_EQ(item.sw, u"uo");
  EXPECT_EQ(item.name, u"Max Output Fre");
  EXPECT_EQ(item.rangeL, 50);
  EXPECT_EQ(item.rangeH, 1200);
  EXPECT_EQ(item.tips, u"Max Output Frequency.");
}

TEST(ParseCalibrationTable, ReadsTheFormsTheTablesUse) {
  // A name followed by "#", blanks and a tab keeps no blank.
  EXPECT_EQ(ParseOneRow("[038]#\tpro=1#\tpos=0#\tshow=1#\ten=1#\tsw=uo#\tname=Battry Limit#    "
                        "\trangeL=20#\trangeH=100#\ttips=x#\r\n")
                .name,
            u"Battry Limit");

  const ParamItem swFirst = ParseOneRow(
      "[111]#\tpro=1#\tpos=0#\tsw=uo#\tshow=1#\ten=1#\tname=N#\trangeL=0#\trangeH=9#\ttips=t#\n");
  EXPECT_EQ(swFirst.sw, u"uo");
  EXPECT_EQ(swFirst.show, 1);
  EXPECT_EQ(swFirst.en, 1);

  const ParamItem hexLimit =
      ParseOneRow("[050]#\tpro=1#\tpos=0#\tshow=0#\ten=0#\trangeL= -20#\trangeH=0x7FFFFFFF#\n");
  EXPECT_EQ(hexLimit.rangeL, -20);
  EXPECT_EQ(hexLimit.rangeH, 0);

  EXPECT_EQ(ParseOneRow("[1280]#\tpro=1#\n").address, 128);
  EXPECT_EQ(ParseOneRow("[1\n").address, 1);
  EXPECT_EQ(ParseOneRow("[\n").address, 0);

  const ParamItem missingKeys = ParseOneRow("[009]#\tname=Only#\n");
  EXPECT_EQ(missingKeys.pro, 0);
  EXPECT_EQ(missingKeys.sw, u"");
  EXPECT_EQ(missingKeys.tips, u"");
}

TEST(ParseCalibrationTable, PageStartsAreTheLastRowsAtTheirAddresses) {
  std::string text;
  for (const int address : {20, 128, 30, 128, 256, 384, 400, 256}) {
    text += RowText({address});
  }
  DescriptionTables tables;
  ASSERT_TRUE(ParseCalibrationTable(Bytes(text + "\\"), tables, {}).ok);
  EXPECT_EQ(tables.paramCount, 8);
  EXPECT_EQ(tables.controlStart, 3);
  EXPECT_EQ(tables.motorStart, 7);
  EXPECT_EQ(tables.comStart, 5);
}

TEST(ParseCalibrationTable, AppliesTheVoltageClassToRows25And27Only) {
  std::string text;
  for (const int address : {24, 25, 26, 27}) {
    TableRow row{address};
    row.rangeL = 18;
    row.rangeH = 180;
    text += RowText(row);
  }
  DescriptionTables tables;
  ASSERT_TRUE(ParseCalibrationTable(Bytes(text + "\\"), tables, {"24", 0}).ok);
  const int expectedL[] = {18, 8, 18, 8};
  const int expectedH[] = {180, 30, 180, 30};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(tables.params[i].rangeL, expectedL[i]) << i;
    EXPECT_EQ(tables.params[i].rangeH, expectedH[i]) << i;
  }
}

TEST(ParseCalibrationTable, AppendsFromTheCurrentCount) {
  DescriptionTables tables;
  ASSERT_TRUE(ParseCalibrationTable(Bytes(RowText({1}) + "\\"), tables, {}).ok);
  ASSERT_TRUE(ParseCalibrationTable(Bytes(RowText({2}) + RowText({128}) + "\\"), tables, {}).ok);
  EXPECT_EQ(tables.paramCount, 3);
  EXPECT_EQ(tables.params[1].address, 2);
  EXPECT_EQ(tables.controlStart, 2);
}

TEST(ParseCalibrationTable, RefusesATextWithoutEndMark) {
  DescriptionTables tables;
  const ParseResult result = ParseCalibrationTable(Bytes(RowText({1})), tables, {});
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("end mark"), std::string::npos) << result.error;
  EXPECT_EQ(tables.paramCount, 0);
}

TEST(ParseCalibrationTable, RefusesMoreRowsThanTheTableHolds) {
  std::string text;
  for (int i = 0; i < 513; ++i)
    text += RowText({i % 500});
  text += "\\";
  DescriptionTables tables;
  const ParseResult result = ParseCalibrationTable(Bytes(text), tables, {});
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("row 512 ([012])"), std::string::npos) << result.error;
  EXPECT_EQ(tables.paramCount, 0);
  EXPECT_EQ(tables.controlStart, 0);

  // Exactly full is fine.
  text.erase(text.rfind('['));
  ASSERT_TRUE(ParseCalibrationTable(Bytes(text + "\\"), tables, {}).ok);
  EXPECT_EQ(tables.paramCount, 512);
}

std::string MonitorRow(const std::string& tag, const std::string& fields) {
  return "[" + tag + "]#" + fields + "\r\n";
}

TEST(ParseMonitorTable, FillsDataAndFaultSections) {
  const std::string text =
      MonitorRow("000", "\tpro=1#\tname=Before Any Section#") + MonitorRow("Dat", "") +
      MonitorRow("003",
                 "\tpro=2#\tpos=1#\tsw=uo#\tname=Voltage#\tmin=0#\tmax=200#\tshow=257#"
                 "\trgb=7F7F7F#\ttips=Battery voltage#") +
      MonitorRow("dat", "\tpro=1#\tname=Lower Case#") + MonitorRow("Err", " trailing text") +
      MonitorRow("000", "\tname=Over Current#") + MonitorRow("001", "\tname=\xB9\xFD\xD1\xB9#") +
      "\\";
  DescriptionTables tables;
  const ParseResult result = ParseMonitorTable(Bytes(text), tables);
  ASSERT_TRUE(result.ok) << result.error;

  ASSERT_EQ(tables.monitorCount, 2);
  const MonitorItem& voltage = tables.monitor[0];
  EXPECT_EQ(voltage.address, 3);
  EXPECT_EQ(voltage.pro, 2);
  EXPECT_EQ(voltage.pos, 1);
  EXPECT_EQ(voltage.sw, u"uo");
  EXPECT_EQ(voltage.name, u"Voltage");
  EXPECT_EQ(voltage.max, 200);
  EXPECT_EQ(voltage.show, 1);
  EXPECT_EQ(voltage.rgb, 8355711);
  EXPECT_EQ(voltage.tips, u"Battery voltage");
  // Section names are case-sensitive: "dat" is a data row whose number reads 0.
  EXPECT_EQ(tables.monitor[1].address, 0);
  EXPECT_EQ(tables.monitor[1].name, u"Lower Case");

  ASSERT_EQ(tables.faultCount, 2);
  EXPECT_EQ(tables.faults[0].name, u"Over Current");
  EXPECT_EQ(tables.faults[1].bit, 1);
  EXPECT_EQ(tables.faults[1].name, u"过压");
}

TEST(ParseMonitorTable, RefusesOverfullSectionsAndAMissingEndMark) {
  struct Case {
    const char* what;
    std::string text;
    const char* error;
  };
  std::string data = MonitorRow("Dat", "");
  for (int i = 0; i < 129; ++i)
    data += MonitorRow("001", "\tpro=1#");
  std::string faults = MonitorRow("Err", "");
  for (int i = 0; i < 33; ++i)
    faults += MonitorRow("005", "\tname=F#");
  const Case cases[] = {
      {"129 data rows", data + "\\", "[Dat] row 128 ([001])"},
      {"33 fault names", faults + "\\", "[Err] row 32 ([005])"},
      {"no end mark", MonitorRow("Dat", "") + MonitorRow("001", ""), "end mark"},
  };
  for (const Case& c : cases) {
    DescriptionTables tables;
    const ParseResult result = ParseMonitorTable(Bytes(c.text), tables);
    EXPECT_FALSE(result.ok) << c.what;
    EXPECT_NE(result.error.find(c.error), std::string::npos) << c.what << ": " << result.error;
    EXPECT_EQ(tables.monitorCount, 0) << c.what;
    EXPECT_EQ(tables.faultCount, 0) << c.what;
  }
}

}  // namespace
}  // namespace qelvo::catalogue
