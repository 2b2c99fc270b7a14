#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/loader.h"
#include "catalogue/table_text_builder.h"

namespace qelvo::catalogue {
namespace {

using testing::MinimalRows;
using testing::TableRow;
using testing::TableText;

using ImageBytes = std::array<std::uint8_t, 512>;

ImageBytes Image(const char* family, std::uint16_t version, const char* marker = "\xFF\xFF") {
  ImageBytes image;
  image.fill(0xFF);
  image[1] = static_cast<std::uint8_t>(family[0]);
  image[2] = family[0] == 0 ? 0 : static_cast<std::uint8_t>(family[1]);
  image[16] = static_cast<std::uint8_t>(version >> 8);
  image[17] = static_cast<std::uint8_t>(version & 0xFF);
  image[84] = static_cast<std::uint8_t>(marker[0]);
  image[85] = static_cast<std::uint8_t>(marker[1]);
  return image;
}

TEST(IdentifyController, ReadsFamilyVoltageVersionAndMarker) {
  ImageBytes image = Image("QV", 0x0109, "2Q");
  image[3] = '7';
  image[4] = '2';
  image[23] = 0x01;
  image[24] = 0x20;
  const ControllerIdentity identity = IdentifyController(image);
  EXPECT_EQ(identity.familyCode, "QV");
  EXPECT_EQ(identity.voltageClass, "72");
  EXPECT_EQ(identity.softwareVersion, 0x0109);
  EXPECT_EQ(identity.controllerVoltage, 0x0120);
  EXPECT_TRUE(identity.comButtonHidden);
}

TEST(IdentifyController, AByteZeroEndsAShortText) {
  ImageBytes image = Image("QV", 0);
  image[2] = 0;
  image[3] = '2';
  image[4] = 0;
  EXPECT_EQ(IdentifyController(image).familyCode, "Q");
  EXPECT_EQ(IdentifyController(image).voltageClass, "2");
  image[1] = 0;
  image[2] = 'V';
  EXPECT_EQ(IdentifyController(image).familyCode, "");
}

TEST(IdentifyController, OnlyTheMarker2QHidesTheComButton) {
  struct Case {
    const char* marker;
    bool hidden;
  };
  const Case cases[] = {
      {"2Q", true}, {"Q2", false}, {"2q", false}, {"\xFF\xFF", false}, {"2\0", false}};
  for (const Case& c : cases) {
    EXPECT_EQ(IdentifyController(Image("QV", 0x0109, c.marker)).comButtonHidden, c.hidden)
        << c.marker;
  }
}

TEST(ChooseCalibrationTable, PicksByFamilyAndVersion) {
  struct Case {
    const char* family;
    std::uint16_t version;
    TableChoice choice;
    int tableId;
  };
  constexpr auto kFound = TableChoice::Found;
  constexpr auto kVersion = TableChoice::VersionNotSupported;
  constexpr auto kModel = TableChoice::ModelNotSupported;
  const Case cases[] = {
      {"QV", 0x0000, kVersion, 0}, {"QV", 0x0103, kVersion, 0}, {"QV", 0x0104, kFound, 140},
      {"QV", 0x0105, kFound, 153}, {"QV", 0x0106, kFound, 162}, {"QV", 0x0107, kFound, 162},
      {"QV", 0x0108, kFound, 162}, {"QV", 0x0109, kFound, 165}, {"QV", 0x0200, kFound, 165},
      {"QV", 0xFFFF, kFound, 165}, {"RN", 0x0100, kVersion, 0}, {"RN", 0x0101, kFound, 158},
      {"RN", 0x0102, kFound, 159}, {"RN", 0x0300, kFound, 159}, {"qv", 0x0109, kModel, 0},
      {"rn", 0x0102, kModel, 0},   {"XY", 0x0109, kModel, 0},   {"Q", 0x0109, kModel, 0},
      {"", 0x0109, kModel, 0},
  };
  for (const Case& c : cases) {
    const TableSelection selection = ChooseCalibrationTable(c.family, c.version);
    EXPECT_EQ(selection.choice, c.choice) << c.family << " " << c.version;
    EXPECT_EQ(selection.tableId, c.tableId) << c.family << " " << c.version;
  }
}

TEST(ApplyVoltageOverride, FitsTheVoltageRowsToTheVoltageClass) {
  struct Case {
    std::string voltageClass;
    std::uint16_t controllerVoltage;
    int rangeL;
    int rangeH;
  };
  const Case cases[] = {
      {"24", 0, 8, 30},   {"32", 0, 18, 380},       {"36", 0, 18, 45},  {"48", 0, 18, 60},
      {"60", 0, 18, 80},  {"72", 0, 18, 90},        {"84", 0, 18, 105}, {"96", 0, 18, 120},
      {"12", 0, 18, 136}, {"14", 0, 18, 180},       {"10", 0, 18, 400}, {"80", 96, 18, 120},
      {"80", 73, 18, 91}, {"80", 65535, 18, 81918}, {"2", 0, 18, 180},  {"99", 0, 18, 180},
      {"", 0, 18, 180},   {"8", 96, 18, 180},
  };
  for (const int address : {25, 27}) {
    for (const Case& c : cases) {
      ParamItem item;
      item.address = address;
      item.rangeL = 18;
      item.rangeH = 180;
      ApplyVoltageOverride(item, {c.voltageClass, c.controllerVoltage});
      EXPECT_EQ(item.rangeL, c.rangeL) << address << " class " << c.voltageClass;
      EXPECT_EQ(item.rangeH, c.rangeH) << address << " class " << c.voltageClass;
    }
  }
  ParamItem other;
  other.address = 26;
  other.rangeH = 180;
  ApplyVoltageOverride(other, {"24", 0});
  EXPECT_EQ(other.rangeH, 180);
}

// A table that holds something, to see that a failed load leaves nothing of it behind.
DescriptionTables FilledTables() {
  DescriptionTables tables;
  EXPECT_TRUE(LoadCalibrationText(TableText(MinimalRows()), tables, {}).ok());
  tables.monitorCount = 3;
  tables.faultCount = 2;
  tables.calibrationTableId = 165;
  return tables;
}

void ExpectEmpty(const DescriptionTables& tables) {
  EXPECT_EQ(tables.paramCount, 0);
  EXPECT_EQ(tables.controlStart, 0);
  EXPECT_EQ(tables.motorStart, 0);
  EXPECT_EQ(tables.comStart, 0);
  EXPECT_EQ(tables.monitorCount, 0);
  EXPECT_EQ(tables.faultCount, 0);
  EXPECT_EQ(tables.calibrationTableId, 0);
}

TEST(LoadDescriptionTables, SetsTheComButtonBeforeRefusingAnUnknownController) {
  struct Case {
    ImageBytes image;
    LoadOutcome outcome;
    bool comVisible;
  };
  const Case cases[] = {
      {Image("QV", 0x0103, "2Q"), LoadOutcome::VersionNotSupported, false},
      {Image("RN", 0x0100), LoadOutcome::VersionNotSupported, true},
      {Image("qv", 0x0109, "2Q"), LoadOutcome::ModelNotSupported, false},
      {Image("AB", 0x0109, "Q2"), LoadOutcome::ModelNotSupported, true},
  };
  for (const Case& c : cases) {
    DescriptionTables tables = FilledTables();
    std::vector<bool> comButton;
    const LoadResult result =
        LoadDescriptionTables(c.image, tables, [&](bool visible) { comButton.push_back(visible); });
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(comButton, std::vector<bool>{c.comVisible});
    ExpectEmpty(tables);
  }
}

#ifdef QELVO_HAVE_BUILTIN_TABLES
TEST(LoadDescriptionTables, LoadsTheChosenTableAndTheMonitorTable) {
  ImageBytes image = Image("QV", 0x0109, "2Q");
  image[3] = '2';
  image[4] = '4';
  DescriptionTables tables;
  bool comVisible = true;
  const LoadResult result =
      LoadDescriptionTables(image, tables, [&](bool visible) { comVisible = visible; });
  ASSERT_TRUE(result.ok()) << result.error;
  EXPECT_FALSE(comVisible);
  EXPECT_EQ(tables.calibrationTableId, 165);
  EXPECT_EQ(tables.paramCount, 443);
  EXPECT_EQ(tables.controlStart, 116);
  EXPECT_EQ(tables.motorStart, 225);
  EXPECT_EQ(tables.comStart, 318);
  EXPECT_EQ(tables.params[22].address, 25);
  EXPECT_EQ(tables.params[22].rangeL, 8);
  EXPECT_EQ(tables.params[22].rangeH, 30);
  EXPECT_GT(tables.monitorCount, 0);
  EXPECT_GT(tables.faultCount, 0);
}
#else
TEST(LoadDescriptionTables, ReportsATableThatIsNotBuiltIn) {
  DescriptionTables tables = FilledTables();
  const LoadResult result = LoadDescriptionTables(Image("QV", 0x0109), tables, nullptr);
  EXPECT_EQ(result.outcome, LoadOutcome::BadTable);
  EXPECT_EQ(result.error, "table 165, the table is not built into this program");
  ExpectEmpty(tables);
}
#endif

TEST(LoadCalibrationText, LoadsAValidTextAndKeepsTheOldTablesOnFailure) {
  DescriptionTables tables;
  tables.monitorCount = 5;
  const LoadResult loaded = LoadCalibrationText(TableText(MinimalRows()), tables, {});
  ASSERT_TRUE(loaded.ok()) << loaded.error;
  EXPECT_EQ(tables.paramCount, 20);
  EXPECT_EQ(tables.controlStart, 17);
  EXPECT_EQ(tables.motorStart, 18);
  EXPECT_EQ(tables.comStart, 19);
  EXPECT_EQ(tables.monitorCount, 5);

  std::vector<TableRow> rows = MinimalRows();
  rows.insert(rows.begin() + 17, TableRow{40, 2, 9, 1, 1, "uo"});
  const LoadResult refused = LoadCalibrationText(TableText(rows), tables, {});
  EXPECT_EQ(refused.outcome, LoadOutcome::BadTable);
  EXPECT_EQ(refused.error, "calibration table, row 17 ([040]): a number of 10 bytes, at most 4");
  EXPECT_EQ(tables.paramCount, 20);
  EXPECT_EQ(tables.params[17].address, 128);

  std::vector<std::uint8_t> unterminated = TableText(MinimalRows());
  unterminated.erase(unterminated.end() - 5, unterminated.end());
  EXPECT_EQ(LoadCalibrationText(unterminated, tables, {}).outcome, LoadOutcome::BadTable);
  EXPECT_EQ(tables.paramCount, 20);
}

}  // namespace
}  // namespace qelvo::catalogue
