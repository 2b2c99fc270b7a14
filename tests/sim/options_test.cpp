#include "sim/options.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace qelvo::sim {
namespace {

using namespace std::chrono_literals;
using Words = std::vector<std::string>;

TEST(SimOptionsTest, DefaultsArePacedAndFaultless) {
  const SimOptionsResult result = ParseSimOptions(Words{});
  ASSERT_TRUE(result.ok());
  EXPECT_TRUE(result.options.paced);
  EXPECT_EQ(result.options.identity.family, "QV");
  EXPECT_EQ(result.options.identity.softwareVersion, 0x0109);
  EXPECT_FALSE(result.options.faults.silent);
  EXPECT_GT(result.options.faults.vanishFor, 0ms);
}

TEST(SimOptionsTest, ReadsEveryOption) {
  struct Case {
    Words words;
    std::function<bool(const SimOptions&)> holds;
  };
  const Case cases[] = {
      {{"--family", "RN"}, [](const SimOptions& o) { return o.identity.family == "RN"; }},
      {{"--version", "0x0102"},
       [](const SimOptions& o) { return o.identity.softwareVersion == 0x0102; }},
      {{"--version=265"}, [](const SimOptions& o) { return o.identity.softwareVersion == 265; }},
      {{"--voltage", "72"},
       [](const SimOptions& o) {
         return o.identity.voltageClass == "72" && o.identity.controllerVoltage == 72;
       }},
      {{"--controller-voltage", "96", "--voltage", "80"},
       [](const SimOptions& o) {
         return o.identity.voltageClass == "80" && o.identity.controllerVoltage == 96;
       }},
      {{"--voltage", "80", "--controller-voltage", "96"},
       [](const SimOptions& o) { return o.identity.controllerVoltage == 96; }},
      {{"--com-marker", "2Q"}, [](const SimOptions& o) { return o.identity.comMarker == "2Q"; }},
      {{"--module-name", "AQV48X99"},
       [](const SimOptions& o) { return o.identity.moduleName == "AQV48X99"; }},
      {{"--unpaced"}, [](const SimOptions& o) { return !o.paced; }},
      {{"--unpaced", "--paced"}, [](const SimOptions& o) { return o.paced; }},
      {{"--silent"}, [](const SimOptions& o) { return o.faults.silent; }},
      {{"--bad-checksum"}, [](const SimOptions& o) { return o.faults.badChecksum; }},
      {{"--wrong-command"}, [](const SimOptions& o) { return o.faults.wrongCommand; }},
      {{"--split"}, [](const SimOptions& o) { return o.faults.split; }},
      {{"--short"}, [](const SimOptions& o) { return o.faults.shortReply; }},
      {{"--delay", "30"}, [](const SimOptions& o) { return o.faults.delay == 30ms; }},
      {{"--other-module"},
       [](const SimOptions& o) {
         return o.faults.otherModule && o.faults.otherModuleAfterReads == 1;
       }},
      {{"--other-module-after", "0"},
       [](const SimOptions& o) {
         return o.faults.otherModule && o.faults.otherModuleAfterReads == 0;
       }},
      {{"--vanish-after-blocks", "5", "--vanish-for", "250"},
       [](const SimOptions& o) {
         return o.faults.vanishAfterWriteBlocks == 5 && o.faults.vanishFor == 250ms;
       }},
      {{"--drop-write-block", "3"},
       [](const SimOptions& o) { return o.faults.dropWriteBlock == 3; }},
      {{"--fault-command", "0xF3", "--fault-after", "4", "--fault-count", "1"},
       [](const SimOptions& o) {
         return o.faults.onlyCommand == 0xF3 && o.faults.afterRequests == 4 &&
                o.faults.requestCount == 1;
       }},
      {{"--fault-word", "0x0088"}, [](const SimOptions& o) { return o.faultWord == 0x0088; }},
      {{"--seed", "99"}, [](const SimOptions& o) { return o.seed == 99u; }},
      {{"--link", "/tmp/qelvo-sim"},
       [](const SimOptions& o) { return o.linkPath == "/tmp/qelvo-sim"; }},
  };
  for (const Case& c : cases) {
    const SimOptionsResult result = ParseSimOptions(c.words);
    ASSERT_TRUE(result.ok()) << c.words[0] << ": " << result.error;
    EXPECT_TRUE(c.holds(result.options)) << c.words[0];
  }
}

TEST(SimOptionsTest, RefusesBadWordsWithAMessageNamingThem) {
  struct Case {
    Words words;
    const char* message;
  };
  const Case cases[] = {
      {{"--family", "qv"}, "--family takes QV or RN, not \"qv\""},
      {{"--version", "0x10000"}, "not \"0x10000\""},
      {{"--version", "-1"}, "not \"-1\""},
      {{"--version", "12ab"}, "not \"12ab\""},
      {{"--voltage", "480"}, "--voltage takes a voltage class of two characters"},
      {{"--com-marker", "Q"}, "--com-marker takes two characters"},
      {{"--module-name", "TOOLONGNAME"}, "--module-name takes 1 to 8 printable characters"},
      {{"--delay"}, "--delay needs a value"},
      {{"--delay", "soon"}, "--delay takes a number from 0 to 60000, not \"soon\""},
      {{"--fault-command", "0x100"}, "--fault-command takes a command code"},
      {{"--silent=yes"}, "--silent takes no value"},
      {{"--link="}, "--link takes a path"},
      {{"--frobnicate"}, "unknown simulator option \"--frobnicate\""},
      {{"RN"}, "unknown simulator option \"RN\""},
  };
  for (const Case& c : cases) {
    const SimOptionsResult result = ParseSimOptions(c.words);
    EXPECT_FALSE(result.ok()) << c.words[0];
    EXPECT_NE(result.error.find(c.message), std::string::npos) << result.error;
  }
}

TEST(SimOptionsTest, OneOptionAtATimeLeavesOtherWordsToTheCaller) {
  const Words words{"read", "--delay", "5", "--port", "--silent"};
  SimOptions options;
  std::string error;
  EXPECT_EQ(ParseSimOption(words, 0, options, error), 0);
  EXPECT_EQ(ParseSimOption(words, 1, options, error), 2);
  EXPECT_EQ(ParseSimOption(words, 3, options, error), 0);
  EXPECT_EQ(ParseSimOption(words, 4, options, error), 1);
  EXPECT_EQ(ParseSimOption(words, 5, options, error), 0);
  EXPECT_EQ(options.faults.delay, 5ms);
  EXPECT_TRUE(options.faults.silent);
  EXPECT_TRUE(error.empty());
}

TEST(SimOptionsTest, ReadsFamilyAndVersionTogether) {
  struct Case {
    const char* text;
    bool ok;
    const char* family;
    std::uint16_t version;
  };
  const Case cases[] = {
      {"RN:0x0102", true, "RN", 0x0102}, {"QV:265", true, "QV", 265},
      {"RN", true, "RN", 0x0109},        {"XX:0x0102", false, "QV", 0x0109},
      {"QV:abc", false, "QV", 0x0109},   {"", false, "QV", 0x0109},
  };
  for (const Case& c : cases) {
    Identity identity;
    std::string error;
    EXPECT_EQ(ParseFamilyVersion(c.text, identity, error), c.ok) << c.text;
    EXPECT_EQ(identity.family, c.family) << c.text;
    EXPECT_EQ(identity.softwareVersion, c.version) << c.text;
    EXPECT_EQ(error.empty(), c.ok) << c.text;
  }
}

TEST(SimOptionsTest, MakesAControllerAsTold) {
  const SimOptionsResult result = ParseSimOptions(
      Words{"--family", "RN", "--version", "0x0101", "--unpaced", "--short", "--fault-word", "4"});
  ASSERT_TRUE(result.ok()) << result.error;
  const auto controller = MakeController(result.options);
  EXPECT_FALSE(controller->paced());
  EXPECT_TRUE(controller->faults().shortReply);
  EXPECT_EQ(controller->identity().family, "RN");
  const link::MonitorBuffer live = controller->MonitorAt(Clock::now());
  EXPECT_EQ(live[16], 0);
  EXPECT_EQ(live[17], 4);
  EXPECT_EQ(controller->StoredBlock()[17], 0x01);
}

TEST(SimOptionsTest, HelpNamesEveryOption) {
  for (const char* option : {"--family",        "--version",
                             "--voltage",       "--controller-voltage",
                             "--com-marker",    "--module-name",
                             "--paced",         "--unpaced",
                             "--silent",        "--bad-checksum",
                             "--wrong-command", "--split",
                             "--short",         "--delay",
                             "--other-module",  "--vanish-after-blocks",
                             "--vanish-for",    "--drop-write-block",
                             "--fault-command", "--fault-after",
                             "--fault-count",   "--fault-word",
                             "--seed",          "--link"}) {
    EXPECT_NE(SimOptionsHelp().find(option), std::string_view::npos) << option;
  }
}

}  // namespace
}  // namespace qelvo::sim
