#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "catalogue/parser.h"
#include "catalogue/table_text_builder.h"
#include "catalogue/validate.h"

namespace qelvo::catalogue {
namespace {

using testing::MinimalRows;
using testing::TableRow;
using testing::TableText;

DescriptionTables Parse(const std::vector<TableRow>& rows) {
  DescriptionTables tables;
  const ParseResult parsed = ParseCalibrationTable(TableText(rows), tables, {});
  EXPECT_TRUE(parsed.ok) << parsed.error;
  return tables;
}

// The minimal table with one more row inserted at `position`.
std::vector<TableRow> WithRow(int position, const TableRow& row) {
  std::vector<TableRow> rows = MinimalRows();
  rows.insert(rows.begin() + position, row);
  return rows;
}

TEST(ValidateCalibrationTable, AcceptsWhatTheFormatAllows) {
  const std::vector<TableRow> cases[] = {
      MinimalRows(),
      WithRow(17, {24, 1, 1}),                // pro 1 ignores pos
      WithRow(17, {511, 1, 0}),               // last byte
      WithRow(17, {508, 2, 3, 1, 1, "uo"}),   // four bytes ending at 511
      WithRow(17, {100, 2, 18, 1, 0, "a"}),   // 19 characters
      WithRow(17, {100, 2, 7, 1, 0, "xx"}),   // an unknown code shows nothing
      WithRow(17, {100, 5, -3, 1, 1, "uo"}),  // so does an unknown kind
      WithRow(17, {30, 0, 7}),                // bit 7
  };
  for (const auto& rows : cases) {
    const ValidationResult result = ValidateCalibrationTable(Parse(rows));
    EXPECT_TRUE(result.ok) << result.error;
  }
}

TEST(ValidateCalibrationTable, RefusesMalformedRowsNamingThem) {
  struct Case {
    const char* what;
    std::vector<TableRow> rows;
    const char* error;
  };
  std::vector<TableRow> tooManyVehicleRows = MinimalRows();
  for (int i = 0; i < 33; ++i) {
    tooManyVehicleRows.insert(tooManyVehicleRows.begin() + 17 + i, {30 + i, 1, 0, 1, 1});
  }
  std::vector<TableRow> tooManyControlRows = MinimalRows();
  for (int i = 0; i < 48; ++i) {
    tooManyControlRows.insert(tooManyControlRows.begin() + 18 + i, {130 + i, 1, 0, 1, 1});
  }
  std::vector<TableRow> hiddenRowsDoNotCount = tooManyControlRows;
  hiddenRowsDoNotCount[18].show = 0;
  std::vector<TableRow> noMotorStart = MinimalRows();
  noMotorStart[18].address = 257;
  std::vector<TableRow> startsOutOfOrder = MinimalRows();
  std::swap(startsOutOfOrder[17], startsOutOfOrder[18]);
  std::vector<TableRow> controlAmongFlags = MinimalRows();
  controlAmongFlags.insert(controlAmongFlags.begin() + 3, {128, 1, 0});
  controlAmongFlags.erase(controlAmongFlags.begin() + 18);
  std::vector<TableRow> fewerThanFlags = MinimalRows();
  fewerThanFlags.erase(fewerThanFlags.begin(), fewerThanFlags.begin() + 5);

  const Case cases[] = {
      {"pro 1 past byte 511", WithRow(17, {512, 1, 0}),
       "row 17 ([512]): the item reaches past byte 511"},
      {"pro 0 past byte 511", WithRow(17, {600, 0, 1}),
       "row 17 ([600]): the item reaches past byte 511"},
      {"pro 2 past byte 511", WithRow(17, {509, 2, 3, 0, 0, "h"}),
       "row 17 ([509]): the item reaches past byte 511"},
      {"negative address", WithRow(17, {-1, 1, 0}), "row 17 ([-01]): address -1 is negative"},
      {"negative pos", WithRow(17, {40, 2, -1, 0, 0, "uo"}), "row 17 ([040]): pos -1 is negative"},
      {"number of 5 bytes", WithRow(17, {40, 2, 4, 0, 0, "so"}),
       "row 17 ([040]): a number of 5 bytes"},
      {"hex of 8 bytes", WithRow(17, {40, 2, 7, 0, 0, "h"}), "row 17 ([040]): a number of 8 bytes"},
      {"text of 20 characters", WithRow(17, {40, 2, 19, 0, 0, "a"}),
       "row 17 ([040]): a text of 20 characters"},
      {"bit 8", WithRow(17, {40, 0, 8}), "row 17 ([040]): bit number 8 is outside 0..7"},
      {"bit -1", WithRow(17, {40, 0, -1}), "row 17 ([040]): bit number -1 is outside 0..7"},
      {"34 shown Vehicle rows", tooManyVehicleRows, "row 49 ([062]): the Vehicle page has only 33"},
      {"49 shown Control rows", tooManyControlRows, "row 65 ([177]): the Control page has only 48"},
      {"no row at 256", noMotorStart, "no row at address 256, where the Motor page starts"},
      {"Motor before Control", startsOutOfOrder,
       "the page starts are out of order (Control row 18, Motor row 17"},
      {"Control among the flag rows", controlAmongFlags, "out of order (Control row 3"},
      {"fewer than 16 rows", fewerThanFlags, "15 rows, fewer than the 16 flag rows"},
  };
  for (const Case& c : cases) {
    const ValidationResult result = ValidateCalibrationTable(Parse(c.rows));
    EXPECT_FALSE(result.ok) << c.what;
    EXPECT_NE(result.error.find(c.error), std::string::npos) << c.what << ": " << result.error;
  }
  EXPECT_TRUE(ValidateCalibrationTable(Parse(hiddenRowsDoNotCount)).ok);
}

DescriptionTables MonitorTables(const std::vector<MonitorItem>& items) {
  DescriptionTables tables;
  for (const MonitorItem& item : items)
    tables.monitor[tables.monitorCount++] = item;
  return tables;
}

MonitorItem Monitor(int address, int pro, int pos, const std::u16string& sw) {
  MonitorItem item;
  item.address = address;
  item.pro = pro;
  item.pos = pos;
  item.sw = sw;
  return item;
}

TEST(ValidateMonitorTable, KeepsItemsInsideTheMonitorBuffer) {
  EXPECT_TRUE(
      ValidateMonitorTable(MonitorTables({Monitor(47, 1, 0, u"uo"), Monitor(44, 2, 3, u"h")})).ok);
  EXPECT_TRUE(
      ValidateMonitorTable(MonitorTables(std::vector<MonitorItem>(47, Monitor(0, 1, 0, u"uo"))))
          .ok);

  struct Case {
    const char* what;
    std::vector<MonitorItem> items;
    const char* error;
  };
  const Case cases[] = {
      {"byte 48",
       {Monitor(0, 1, 0, u"uo"), Monitor(48, 1, 0, u"uo")},
       "[Dat] row 1 ([048]): the item reaches past byte 47"},
      {"two bytes from 47",
       {Monitor(47, 2, 1, u"uo")},
       "[Dat] row 0 ([047]): the item reaches past byte 47"},
      {"number of 5 bytes", {Monitor(0, 2, 4, u"uo")}, "a number of 5 bytes"},
      {"48 items", std::vector<MonitorItem>(48, Monitor(0, 1, 0, u"uo")),
       "[Dat] row 47 ([000]): the monitor page has only 47 item slots"},
  };
  for (const Case& c : cases) {
    const ValidationResult result = ValidateMonitorTable(MonitorTables(c.items));
    EXPECT_FALSE(result.ok) << c.what;
    EXPECT_NE(result.error.find(c.error), std::string::npos) << c.what << ": " << result.error;
  }
}

}  // namespace
}  // namespace qelvo::catalogue
