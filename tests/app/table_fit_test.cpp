#include "app/table_fit.h"

#include <gtest/gtest.h>

namespace qelvo::app {
namespace {

catalogue::ControllerIdentity Controller(std::string family, std::uint16_t version,
                                         std::string voltageClass = "48",
                                         std::uint16_t voltage = 48) {
  catalogue::ControllerIdentity id;
  id.familyCode = std::move(family);
  id.softwareVersion = version;
  id.voltageClass = std::move(voltageClass);
  id.controllerVoltage = voltage;
  return id;
}

TEST(TableFit, SameTablesServeOnlyTheSameTableAndVoltageLimits) {
  const struct {
    const char* name;
    catalogue::ControllerIdentity loaded, read;
    bool same;
  } kCases[] = {
      {"the same controller", Controller("QV", 0x0109), Controller("QV", 0x0109), true},
      {"a newer version of the same table", Controller("QV", 0x0109), Controller("QV", 0x0200),
       true},
      {"versions 0x0106 and 0x0108 share table 162", Controller("QV", 0x0106),
       Controller("QV", 0x0108), true},
      {"another table of the family", Controller("QV", 0x0109), Controller("QV", 0x0105), false},
      {"another family", Controller("QV", 0x0109), Controller("RN", 0x0102), false},
      {"a family no table covers", Controller("QV", 0x0109), Controller("qv", 0x0109), false},
      {"a version no table covers", Controller("RN", 0x0102), Controller("RN", 0x0100), false},
      {"another voltage class", Controller("QV", 0x0109, "48"), Controller("QV", 0x0109, "72"),
       false},
      {"two classes that both keep the table's limits", Controller("QV", 0x0109, "99"),
       Controller("QV", 0x0109, "98"), true},
      {"class 80 with another controller voltage", Controller("QV", 0x0109, "80", 96),
       Controller("QV", 0x0109, "80", 73), false},
      {"controller voltage that no limit depends on", Controller("QV", 0x0109, "48", 48),
       Controller("QV", 0x0109, "48", 52), true},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(SameTablesServe(c.loaded, c.read), c.same) << c.name;
}

}  // namespace
}  // namespace qelvo::app
