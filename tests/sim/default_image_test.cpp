#include "sim/default_image.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "catalogue/loader.h"
#include "sim/default_blocks.h"

namespace qelvo::sim {
namespace {

std::string Text(const link::CalibrationImage& image, std::size_t from, std::size_t size) {
  return std::string(image.begin() + static_cast<long>(from),
                     image.begin() + static_cast<long>(from + size));
}

unsigned Word(const link::CalibrationImage& image, std::size_t address) {
  return image[address] << 8 | image[address + 1];
}

Identity Make(std::string family, std::uint16_t version, std::string voltageClass = "48",
              std::uint16_t controllerVoltage = 48) {
  Identity identity;
  identity.family = std::move(family);
  identity.softwareVersion = version;
  identity.voltageClass = std::move(voltageClass);
  identity.controllerVoltage = controllerVoltage;
  return identity;
}

TEST(DefaultImageTest, CarriesTheIdentity) {
  Identity identity = Make("RN", 0x0102, "72", 72);
  identity.comMarker = "2Q";
  const link::CalibrationImage image = DefaultImage(identity);
  EXPECT_EQ(Text(image, 0, 8), "ARN72S01");
  EXPECT_EQ(Text(image, 8, 4), "DEMO");
  EXPECT_EQ(Word(image, 16), 0x0102u);
  EXPECT_EQ(Word(image, 23), 72u);
  EXPECT_EQ(Text(image, 84, 2), "2Q");
  EXPECT_EQ(Text(DefaultImage(Identity{}), 84, 2), std::string(2, '\0'));
}

TEST(DefaultImageTest, AGivenModuleNameReplacesTheNameOnly) {
  Identity identity;
  identity.moduleName = "XYZ";
  const link::CalibrationImage image = DefaultImage(identity);
  EXPECT_EQ(Text(image, 0, 8), "XYZ     ");
  EXPECT_EQ(Word(image, 16), 0x0109u);
}

TEST(DefaultImageTest, VoltageLimitsFitTheVoltageClass) {
  struct Case {
    std::string voltageClass;
    std::uint16_t controllerVoltage;
    unsigned low, over;
  };
  const Case cases[] = {
      {"48", 48, 42, 58},    {"24", 24, 21, 29},  {"36", 36, 31, 43},
      {"72", 72, 63, 86},    {"80", 96, 84, 115},  // limit 120
      {"80", 40, 35, 48},                          // limit 50
      {"12", 120, 105, 136}, {"99", 48, 42, 58},  // a class the program does not know keeps 18..180
  };
  for (const Case& c : cases) {
    const link::CalibrationImage image =
        DefaultImage(Make("QV", 0x0109, c.voltageClass, c.controllerVoltage));
    EXPECT_EQ(Word(image, 25), c.low) << c.voltageClass << " " << c.controllerVoltage;
    EXPECT_EQ(Word(image, 27), c.over) << c.voltageClass << " " << c.controllerVoltage;
  }
}

TEST(DefaultImageTest, ChoosesTheTableOfFamilyAndVersion) {
  struct Case {
    std::string family;
    std::uint16_t version;
    int table;
  };
  const Case cases[] = {
      {"QV", 0x0103, 140}, {"QV", 0x0104, 140}, {"QV", 0x0105, 153}, {"QV", 0x0106, 162},
      {"QV", 0x0108, 162}, {"QV", 0x0109, 165}, {"QV", 0x0200, 165}, {"RN", 0x0100, 158},
      {"RN", 0x0101, 158}, {"RN", 0x0102, 159}, {"RN", 0x0300, 159}, {"XX", 0x0109, 165},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CalibrationTableFor(Make(c.family, c.version)), c.table)
        << c.family << " " << c.version;
  }
}

TEST(DefaultImageTest, SettingsStayInsideTheBlock) {
  for (const int table : {140, 153, 158, 159, 162, 165}) {
    for (const DefaultSetting& s : DefaultSettingDifferences(table)) {
      EXPECT_LE(s.address + s.width, 512) << table;
    }
  }
  for (const DefaultSetting& s : CommonDefaultSettings()) {
    EXPECT_LE(s.address + s.width, 512);
    EXPECT_LE(s.width, 4);
    EXPECT_TRUE(s.width == 4 || s.value < (1u << (8 * s.width))) << "address " << s.address;
  }
}

struct TableCase {
  int table;
  Identity identity;
  friend void PrintTo(const TableCase& c, std::ostream* out) {
    *out << "table " << c.table << " " << c.identity.family << " " << c.identity.softwareVersion
         << " class " << c.identity.voltageClass;
  }
};

class DefaultImageTableTest : public ::testing::TestWithParam<TableCase> {};

// What the program's range check sees in a row's bytes.
bool InRange(const catalogue::ParamItem& item, const link::CalibrationImage& image) {
  if (item.pro == 1) {
    const int value = image[static_cast<std::size_t>(item.address)];
    return value >= item.rangeL && value <= item.rangeH;
  }
  std::uint32_t value = 0;
  for (int k = 0; k <= item.pos; ++k) {
    value = value << 8 | image[static_cast<std::size_t>(item.address + k)];
  }
  if (item.sw == u"so") {
    const int bits = 8 * (item.pos + 1);
    const auto signedValue = bits == 32
                                 ? static_cast<std::int32_t>(value)
                                 : static_cast<std::int32_t>(value << (32 - bits)) >> (32 - bits);
    return signedValue >= item.rangeL && signedValue <= item.rangeH;
  }
  return value >= static_cast<std::uint32_t>(item.rangeL) &&
         value <= static_cast<std::uint32_t>(item.rangeH);
}

TEST_P(DefaultImageTableTest, EveryShownSettingLiesInsideItsRange) {
  const TableCase& c = GetParam();
  const link::CalibrationImage image = DefaultImage(c.identity);
  auto tables = std::make_unique<catalogue::DescriptionTables>();
  const catalogue::LoadResult loaded =
      catalogue::LoadDescriptionTables(image, *tables, [](bool) {});
  ASSERT_TRUE(loaded.ok()) << loaded.error;
  ASSERT_EQ(tables->calibrationTableId, c.table);
  int checked = 0;
  for (int row = 0; row < tables->paramCount; ++row) {
    const catalogue::ParamItem& item = tables->params[static_cast<std::size_t>(row)];
    const bool numeric = (item.pro == 1 && item.sw != u"a" && item.sw != u"h") ||
                         (item.pro == 2 && (item.sw == u"uo" || item.sw == u"so"));
    if (item.show != 1 || !numeric) {
      continue;
    }
    ++checked;
    EXPECT_TRUE(InRange(item, image))
        << "table " << c.table << " row " << row << " address " << item.address << " range "
        << item.rangeL << ".." << item.rangeH;
  }
  EXPECT_GT(checked, 10);
}

Identity WithVoltage(Identity identity, std::string voltageClass, std::uint16_t volts) {
  identity.voltageClass = std::move(voltageClass);
  identity.controllerVoltage = volts;
  return identity;
}

INSTANTIATE_TEST_SUITE_P(
    AllTables, DefaultImageTableTest,
    ::testing::Values(TableCase{140, Make("QV", 0x0104)}, TableCase{153, Make("QV", 0x0105)},
                      TableCase{162, Make("QV", 0x0107)}, TableCase{165, Make("QV", 0x0109)},
                      TableCase{158, Make("RN", 0x0101)}, TableCase{159, Make("RN", 0x0102)},
                      TableCase{165, WithVoltage(Make("QV", 0x0109), "24", 24)},
                      TableCase{159, WithVoltage(Make("RN", 0x0102), "80", 96)},
                      TableCase{165, WithVoltage(Make("QV", 0x0109), "14", 144)}));

}  // namespace
}  // namespace qelvo::sim
