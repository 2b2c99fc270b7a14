#include "catalogue/builtin_tables.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/loader.h"
#include "catalogue/parser.h"
#include "catalogue/tables.h"
#include "catalogue/validate.h"

namespace qelvo::catalogue {
namespace {

constexpr int kImageSize = 512;
constexpr int kFirstFlagByte = 20;
constexpr int kSecondFlagByte = 21;
constexpr int kIdentityRows = 4;
constexpr int kFirstRisingRow = kFlagRows + kIdentityRows;
constexpr int kComRowOf165 = 498;
constexpr int kSleepTimeRowOf165 = 144;
constexpr std::array kCalibrationIds{140, 153, 158, 159, 162, 165};

std::unique_ptr<DescriptionTables> LoadCalibration(int id) {
  auto tables = std::make_unique<DescriptionTables>();
  const LoadResult result = LoadCalibrationText(BuiltinTableText(id), *tables, VoltageOverride{});
  EXPECT_TRUE(result.ok()) << "table " << id << ": " << result.error;
  return tables;
}

// The rows of an address; for a flag byte pass the bit as well.
const ParamItem* FindRow(const DescriptionTables& tables, int address, int bit = -1) {
  for (int i = 0; i < tables.paramCount; ++i) {
    const ParamItem& row = tables.params[i];
    if (row.address == address && (bit < 0 || (row.pro == 0 && row.pos == bit))) {
      return &row;
    }
  }
  return nullptr;
}

int BytesOf(const ParamItem& row) {
  return row.pro == 2 ? row.pos + 1 : 1;
}

int ShownRows(const DescriptionTables& tables, int from, int to) {
  int shown = 0;
  for (int i = from; i < to; ++i) {
    shown += tables.params[i].show == 1 ? 1 : 0;
  }
  return shown;
}

TEST(BuiltinTableText, CarriesEveryTableWithItsEndMarkAndNothingElse) {
  for (int id : {137, 140, 153, 158, 159, 162, 165}) {
    const auto text = BuiltinTableText(id);
    ASSERT_FALSE(text.empty()) << id;
    EXPECT_EQ(text.front(), '[') << id;
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == '\r' || text[end - 1] == '\n')) {
      --end;
    }
    ASSERT_GT(end, 0u) << id;
    EXPECT_EQ(text[end - 1], kEndMark) << id;
  }
  for (int id : {0, -1, 136, 141, 166, 1000}) {
    EXPECT_TRUE(BuiltinTableText(id).empty()) << id;
  }
}

TEST(BuiltinTableText, EndsEveryRowWithCrLf) {
  for (int id : {137, 140, 153, 158, 159, 162, 165}) {
    const auto text = BuiltinTableText(id);
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n') {
        ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "table " << id << ", byte " << i;
      }
    }
  }
}

struct TableShape {
  int id;
  int paramCount;
  int controlStart;
  int motorStart;
  int comStart;
  // Shown rows: flags (rows 0..15), Vehicle edits (row 16 on), Control, Motor, COM.
  std::array<int, 5> shown;
};

constexpr std::array<TableShape, 6> kShapes{{
    {140, 447, 117, 225, 322, {9, 21, 10, 19, 0}},
    {153, 443, 117, 225, 318, {11, 22, 15, 22, 0}},
    {162, 443, 117, 225, 318, {11, 25, 16, 22, 0}},
    {165, 443, 116, 225, 318, {13, 32, 20, 26, 1}},
    {158, 440, 114, 218, 315, {9, 22, 11, 9, 0}},
    {159, 440, 114, 218, 315, {10, 30, 26, 19, 0}},
}};

TEST(BuiltinCalibrationTables, HaveTheirRowCountsPageRangesAndShownRows) {
  for (const TableShape& shape : kShapes) {
    SCOPED_TRACE("table " + std::to_string(shape.id));
    const auto tables = LoadCalibration(shape.id);
    EXPECT_EQ(tables->paramCount, shape.paramCount);
    EXPECT_EQ(tables->controlStart, shape.controlStart);
    EXPECT_EQ(tables->motorStart, shape.motorStart);
    EXPECT_EQ(tables->comStart, shape.comStart);
    const std::array<int, 5> shown{
        ShownRows(*tables, 0, kFlagRows),
        ShownRows(*tables, kFlagRows, tables->controlStart),
        ShownRows(*tables, tables->controlStart, tables->motorStart),
        ShownRows(*tables, tables->motorStart, tables->comStart),
        ShownRows(*tables, tables->comStart, tables->paramCount),
    };
    EXPECT_EQ(shown, shape.shown);
  }
}

TEST(BuiltinCalibrationTables, FollowTheSharedStructure) {
  struct Identity {
    int address;
    int pos;
    std::u16string sw;
    std::u16string name;
  };
  const std::array<Identity, kIdentityRows> identities{{
      {0, 7, u"a", u"Module Name"},
      {8, 3, u"a", u"User Name"},
      {12, 3, u"h", u"Serial Number"},
      {16, 3, u"h", u"Software Version"},
  }};

  for (int id : kCalibrationIds) {
    SCOPED_TRACE("table " + std::to_string(id));
    const auto tables = LoadCalibration(id);
    ASSERT_GT(tables->paramCount, kFirstRisingRow);

    for (int i = 0; i < kFlagRows; ++i) {
      const ParamItem& flag = tables->params[i];
      EXPECT_EQ(flag.address, i < 8 ? kFirstFlagByte : kSecondFlagByte) << "row " << i;
      EXPECT_EQ(flag.pos, i % 8) << "row " << i;
      EXPECT_EQ(flag.pro, 0) << "row " << i;
      EXPECT_EQ(flag.sw, u"uo") << "row " << i;
      EXPECT_EQ(flag.rangeL, 0) << "row " << i;
      EXPECT_EQ(flag.rangeH, 1) << "row " << i;
    }

    for (int k = 0; k < kIdentityRows; ++k) {
      const ParamItem& row = tables->params[kFlagRows + k];
      EXPECT_EQ(row.address, identities[k].address);
      EXPECT_EQ(row.pro, 2);
      EXPECT_EQ(row.pos, identities[k].pos);
      EXPECT_EQ(row.sw, identities[k].sw);
      EXPECT_EQ(row.name, identities[k].name);
      EXPECT_EQ(row.show, 1);
      EXPECT_EQ(row.en, 0);
      EXPECT_EQ(row.rangeL, 0);
      EXPECT_EQ(row.rangeH, 0);
    }

    std::array<int, kImageSize> owners{};
    for (int i = kFlagRows; i < tables->paramCount; ++i) {
      const ParamItem& row = tables->params[i];
      for (int b = row.address; b < row.address + BytesOf(row); ++b) {
        ASSERT_LT(b, kImageSize) << "row " << i;
        ++owners[b];
      }
    }
    for (int b = 0; b < kImageSize; ++b) {
      const int expected = (b == kFirstFlagByte || b == kSecondFlagByte) ? 0 : 1;
      EXPECT_EQ(owners[b], expected) << "image byte " << b;
    }

    int previous = -1;
    for (int i = kFirstRisingRow; i < tables->paramCount; ++i) {
      if (id == 165 && i == kSleepTimeRowOf165) {
        continue;
      }
      EXPECT_GT(tables->params[i].address, previous) << "row " << i;
      previous = tables->params[i].address;
    }
    EXPECT_EQ(tables->params[tables->paramCount - 1].address, 509);

    for (int i = kFlagRows; i < tables->paramCount; ++i) {
      const ParamItem& row = tables->params[i];
      if (row.name != u"保留") {
        continue;
      }
      EXPECT_EQ(row.pro, 1) << "row " << i;
      EXPECT_EQ(row.pos, 0) << "row " << i;
      EXPECT_EQ(row.show, 0) << "row " << i;
      EXPECT_EQ(row.en, 0) << "row " << i;
      EXPECT_EQ(row.rangeL, 0) << "row " << i;
      EXPECT_EQ(row.rangeH, 255) << "row " << i;
    }
  }
}

TEST(BuiltinCalibrationTables, PlaceSleepTimeOfTable165OnTheControlPage) {
  const auto tables = LoadCalibration(165);
  const ParamItem& row = tables->params[kSleepTimeRowOf165];
  EXPECT_EQ(row.address, 74);
  EXPECT_EQ(row.name, u"Sleep_Time");
  EXPECT_GE(kSleepTimeRowOf165, tables->controlStart);
  EXPECT_LT(kSleepTimeRowOf165, tables->motorStart);
}

TEST(BuiltinCalibrationTables, ShowTheControllerTypeFlagReadOnlyEverywhere) {
  for (int id : kCalibrationIds) {
    SCOPED_TRACE("table " + std::to_string(id));
    const auto tables = LoadCalibration(id);
    const ParamItem* row = FindRow(*tables, kSecondFlagByte, 3);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->show, 1);
    EXPECT_EQ(row->en, 0);
    EXPECT_EQ(row->name, u"0,ZEB;1,YOR");
    EXPECT_EQ(row->tips, u"Controller Type,0:ZEB;1:YOR.");
  }
}

TEST(BuiltinCalibrationTables, ShowTheJ1939AddressOnlyInTable165) {
  for (int id : kCalibrationIds) {
    SCOPED_TRACE("table " + std::to_string(id));
    const auto tables = LoadCalibration(id);
    std::vector<int> shown;
    for (int i = tables->comStart; i < tables->paramCount; ++i) {
      if (tables->params[i].show == 1) {
        shown.push_back(tables->params[i].address);
      }
    }
    EXPECT_EQ(shown, id == 165 ? std::vector<int>{kComRowOf165} : std::vector<int>{});
    if (id == 165) {
      EXPECT_EQ(FindRow(*tables, kComRowOf165)->name, u"J CAN Address");
    }
  }
}

// One row of one table, with the fields that tell the tables apart.
struct RowFacts {
  int id;
  int address;
  int bit = -1;
  std::optional<int> pro = std::nullopt;
  std::optional<int> pos = std::nullopt;
  std::optional<int> show = std::nullopt;
  std::optional<int> en = std::nullopt;
  std::optional<int> rangeL = std::nullopt;
  std::optional<int> rangeH = std::nullopt;
  std::optional<std::u16string> name = std::nullopt;
  std::optional<std::u16string> tips = std::nullopt;
};

template <typename T>
void ExpectField(const char* field, const std::optional<T>& expected, const T& actual) {
  if (expected) {
    EXPECT_EQ(actual, *expected) << field;
  }
}

TEST(BuiltinCalibrationTables, CarryTheRowsThatTellThemApart) {
  const std::vector<RowFacts> facts{
      {.id = 165, .address = 38, .name = u"Battry Limit"},
      {.id = 165,
       .address = 105,
       .pro = 2,
       .pos = 1,
       .show = 1,
       .en = 1,
       .rangeL = 50,
       .rangeH = 1200,
       .name = u"Max Output Fre",
       .tips = u"Max Output Frequency."},
      {.id = 165, .address = 111, .show = 1, .en = 1, .name = u"MidSpeed Forw Speed %"},
      {.id = 165, .address = 227, .pro = 1, .pos = 1, .show = 1, .rangeH = 30},
      {.id = 165, .address = 256, .show = 0, .rangeH = 380, .name = u"电机额定电压"},
      {.id = 165,
       .address = 319,
       .name = u"High Temp Cut ℃",
       .tips = u"Motor High Temp Cut Temp,normal value 130℃."},
      {.id = 165, .address = 350, .name = u"Forward HA Falling  edge"},
      {.id = 162, .address = 21, .bit = 6, .show = 0, .en = 0, .name = u"防溜功能选择"},
      {.id = 162,
       .address = 127,
       .rangeL = 10,
       .rangeH = 20,
       .tips = u"PWM modulation frequency,10:10KHz, 20:20KHz"},
      {.id = 162, .address = 128, .show = 1, .rangeH = 15000},
      {.id = 162, .address = 130, .show = 1, .rangeH = 15000},
      {.id = 162, .address = 134, .show = 1, .rangeH = 15000},
      {.id = 162, .address = 136, .show = 1, .rangeH = 15000},
      {.id = 162, .address = 74, .show = 0, .name = u"保留"},
      {.id = 162, .address = 100, .show = 1, .en = 1, .name = u"Brake Type"},
      {.id = 153, .address = 100, .show = 0, .rangeH = 3, .name = u"刹车类型"},
      {.id = 153, .address = 101, .show = 0, .rangeL = 0, .rangeH = 80},
      {.id = 153, .address = 102, .show = 0, .rangeL = 120, .rangeH = 200},
      {.id = 153, .address = 226, .show = 0, .en = 0, .rangeH = 255, .name = u"保留"},
      {.id = 140, .address = 20, .bit = 4, .show = 0, .name = u"紧急反向方向"},
      {.id = 140, .address = 128, .show = 0, .rangeH = 32767, .name = u"电流Q环比例系数Kp"},
      {.id = 140, .address = 228, .rangeL = 50},
      {.id = 140,
       .address = 310,
       .show = 1,
       .en = 1,
       .rangeL = 0,
       .rangeH = 250,
       .tips = u"Minimum Excitation Current of Motor."},
      {.id = 159, .address = 20, .bit = 5, .show = 1, .en = 1, .name = u"Half Speed"},
      {.id = 159, .address = 23, .tips = u"Controller Voltage，控制器电压等级。"},
      {.id = 159,
       .address = 170,
       .pro = 2,
       .pos = 1,
       .show = 1,
       .en = 1,
       .rangeH = 8192,
       .name = u"PH Mode Kp"},
      {.id = 159, .address = 172, .pro = 2, .pos = 1, .show = 1, .en = 1, .name = u"PH Mode Kd"},
      {.id = 159, .address = 174, .pro = 2, .pos = 1, .show = 1, .en = 1},
      {.id = 159, .address = 176, .pro = 2, .pos = 1, .show = 1, .en = 1, .rangeH = 150},
      {.id = 159, .address = 252, .rangeH = 32737, .name = u"ASR Ki"},
      {.id = 159, .address = 300, .pro = 2, .pos = 3, .show = 1, .rangeL = 1000, .rangeH = 15000},
      {.id = 159, .address = 112, .rangeL = 20, .name = u"L-Speed Rev  Speed %"},
      {.id = 158, .address = 20, .bit = 5, .show = 0, .name = u"Half Speed"},
      {.id = 158, .address = 170, .pro = 2, .pos = 1, .show = 0, .en = 0},
      {.id = 158, .address = 256, .rangeH = 110, .name = u"电机额定电压"},
  };
  std::map<int, std::unique_ptr<DescriptionTables>> loaded;
  for (int id : kCalibrationIds) {
    loaded[id] = LoadCalibration(id);
  }
  for (const RowFacts& fact : facts) {
    SCOPED_TRACE("table " + std::to_string(fact.id) + " row " + std::to_string(fact.address));
    const ParamItem* row = FindRow(*loaded.at(fact.id), fact.address, fact.bit);
    ASSERT_NE(row, nullptr);
    ExpectField("pro", fact.pro, row->pro);
    ExpectField("pos", fact.pos, row->pos);
    ExpectField("show", fact.show, row->show);
    ExpectField("en", fact.en, row->en);
    ExpectField("rangeL", fact.rangeL, row->rangeL);
    ExpectField("rangeH", fact.rangeH, row->rangeH);
    ExpectField("name", fact.name, row->name);
    ExpectField("tips", fact.tips, row->tips);
  }
}

TEST(BuiltinCalibrationTables, HideTheMotorConstantsOfTable165WithHexLimits) {
  const auto tables = LoadCalibration(165);
  for (int address = 284; address <= 304; address += 4) {
    const ParamItem* row = FindRow(*tables, address);
    ASSERT_NE(row, nullptr) << address;
    EXPECT_EQ(row->pos, 3) << address;
    EXPECT_EQ(row->rangeH, 0) << address;
    EXPECT_EQ(row->show, 0) << address;
  }
}

TEST(BuiltinCalibrationTables, SplitTheLineHallWordsOfTable140IntoReservedBytes) {
  const auto tables = LoadCalibration(140);
  for (int address = 332; address <= 339; ++address) {
    const ParamItem* row = FindRow(*tables, address);
    ASSERT_NE(row, nullptr) << address;
    EXPECT_EQ(row->pro, 1) << address;
    EXPECT_EQ(row->show, 0) << address;
    EXPECT_EQ(row->name, u"保留") << address;
  }
}

TEST(BuiltinCalibrationTables, MakeInternalZeroPointsTwoByteRowsOnlyInTheSecondFamily) {
  for (int id : kCalibrationIds) {
    SCOPED_TRACE("table " + std::to_string(id));
    const auto tables = LoadCalibration(id);
    const bool secondFamily = id == 158 || id == 159;
    for (int address : {40, 42, 44}) {
      const ParamItem* row = FindRow(*tables, address);
      ASSERT_NE(row, nullptr) << address;
      EXPECT_EQ(row->pro, secondFamily ? 2 : 1) << address;
      EXPECT_EQ(row->pos, secondFamily ? 1 : 0) << address;
      EXPECT_EQ(FindRow(*tables, address + 1) != nullptr, !secondFamily) << address + 1;
    }
  }
}

struct MonitorRowFacts {
  int position;
  int address;
  int pro;
  std::u16string sw;
  std::u16string name;
  std::u16string tips;
};

TEST(BuiltinMonitorTable, HoldsTheLiveValuesAndFaultNames) {
  auto tables = std::make_unique<DescriptionTables>();
  const auto text = BuiltinTableText(kMonitorTableId);
  ASSERT_TRUE(ParseMonitorTable(text, *tables).ok);
  const ValidationResult valid = ValidateMonitorTable(*tables);
  ASSERT_TRUE(valid.ok) << valid.error;
  ASSERT_EQ(tables->monitorCount, 32);
  ASSERT_EQ(tables->faultCount, 16);

  const std::vector<MonitorRowFacts> rows{
      {0, 0, 1, u"uo", u"TPS Pedal", u"The accelerator AD，range 0~255 Corresponding to 0~5V"},
      {3, 3, 1, u"uo", u"Foot SW", u"Foot  switch status，range 0 or 1"},
      {9, 9, 1, u"uo", u"Battery Voltage", u"Battery Voltage ，range 0~200V"},
      {10, 10, 1, u"uo", u"Motor Temp", u"Motor temperature，range 0~150℃"},
      {14, 14, 1, u"uo", u"Brake SW2", u"Brake switch1 status，range 0 or 1"},
      {16, 16, 2, u"h", u"Fault", u"Fault status"},
      {17, 18, 2, u"uo", u"Motor Speed", u"motor RPM，range 0~10000"},
      {31, 46, 2, u"uo", u"Reserved", u"Reserved，Reserved 0~10000"},
  };
  for (const MonitorRowFacts& fact : rows) {
    SCOPED_TRACE("position " + std::to_string(fact.position));
    const MonitorItem& item = tables->monitor[fact.position];
    EXPECT_EQ(item.address, fact.address);
    EXPECT_EQ(item.pro, fact.pro);
    EXPECT_EQ(item.pos, fact.pro == 2 ? 1 : 0);
    EXPECT_EQ(item.sw, fact.sw);
    EXPECT_EQ(item.name, fact.name);
    EXPECT_EQ(item.tips, fact.tips);
  }
  EXPECT_EQ(tables->monitor[14].tips, tables->monitor[2].tips);
  for (int i = 0; i < tables->monitorCount; ++i) {
    EXPECT_EQ(tables->monitor[i].show, 0) << i;
    EXPECT_EQ(tables->monitor[i].rgb, 0x7F7F7F) << i;
  }

  for (int bit = 0; bit < tables->faultCount; ++bit) {
    EXPECT_EQ(tables->faults[bit].bit, bit);
    const bool reserved = bit == 3 || bit == 8 || bit == 12;
    EXPECT_EQ(tables->faults[bit].name == u"Reserved", reserved) << bit;
  }
  EXPECT_EQ(tables->faults[0].name, u"Identify Err");
  EXPECT_EQ(tables->faults[15].name, u"Current Meter Err");
}

}  // namespace
}  // namespace qelvo::catalogue
