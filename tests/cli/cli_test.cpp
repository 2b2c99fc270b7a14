#include "cli/cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_fixture.h"
#include "link/commands.h"
#include "sim/controller.h"
#include "sim/default_image.h"
#include "sim/pty_server.h"

namespace qelvo::cli {
namespace {

using test::Outcome;
using test::Qelvo;
using test::ReadFile;
using test::WriteFile;

class CliAgainstController : public test::CliWithController {
 protected:
  std::size_t WriteBlocksSeen() const { return RequestsSeen(link::command::kWriteBlock); }
};

TEST_F(CliAgainstController, ReadGivesTheStoredBlock) {
  const auto file = File("image.bin");
  const Outcome run = Qelvo({"read", "--port", port(), "-o", file.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto stored = controller_.StoredBlock();
  EXPECT_EQ(ReadFile(file), std::vector<std::uint8_t>(stored.begin(), stored.end()));
}

TEST_F(CliAgainstController, WriteStoresTheFile) {
  auto image = controller_.StoredBlock();
  image[37] = 77;  // Current Percent
  const auto file = File("changed.bin");
  WriteFile(file, image);
  const Outcome run = Qelvo({"write", file.string(), "--port", port()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Written to success.\n");
  EXPECT_EQ(controller_.StoredBlock(), image);
  EXPECT_EQ(WriteBlocksSeen(), 40u);
}

TEST_F(CliAgainstController, WriteOfAnotherModelSendsNoBlock) {
  auto image = controller_.StoredBlock();
  image[1] = 'R';
  const auto before = controller_.StoredBlock();
  const auto file = File("other.bin");
  WriteFile(file, image);
  const Outcome run = Qelvo({"write", file.string(), "--port", port()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "the control's Module Name is not match with the writing data.\n");
  EXPECT_EQ(WriteBlocksSeen(), 0u);
  EXPECT_EQ(controller_.StoredBlock(), before);
}

TEST_F(CliAgainstController, ShowListsEveryPage) {
  const Outcome run = Qelvo({"show", "--port", port()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Table:            165"), std::string::npos);
  for (const char* page : {"[Vehicle]", "[Control]", "[Motor]", "[COM]"})
    EXPECT_NE(run.out.find(page), std::string::npos) << page;
  EXPECT_NE(run.out.find("  Low Volt = 42  (18..60)\n"), std::string::npos);
}

TEST_F(CliAgainstController, TraceRecordsEveryFrame) {
  const auto trace = File("trace.txt");
  ASSERT_EQ(Qelvo({"read", "--port", port(), "--trace", trace.string()}).status, 0);
  std::ifstream file(trace);
  std::string line;
  int sent = 0, received = 0;
  while (std::getline(file, line)) {
    if (line.find(" > ") != std::string::npos)
      ++sent;
    if (line.find(" < ") != std::string::npos)
      ++received;
  }
  // Handshake, two Prepares and 32 Read blocks, each answered.
  EXPECT_EQ(sent, 35);
  EXPECT_EQ(received, 35);
  EXPECT_FALSE(std::filesystem::exists(trace.string() + ".tmp"));
}

struct RefusedCase {
  const char* name;
  std::vector<std::string> args;
  int status;
  std::string message;
};

class CliRefuses : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(CliRefuses, WithAClearMessage) {
  const Outcome run = Qelvo(GetParam().args);
  EXPECT_EQ(run.status, GetParam().status);
  EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliRefuses,
    ::testing::Values(
        RefusedCase{"NoCommand", {}, 2, "Usage: qelvo"},
        RefusedCase{"UnknownCommand", {"frobnicate"}, 2, "unknown command 'frobnicate'"},
        RefusedCase{"NoSuchPort",
                    {"read", "--port", "/nonexistent/tty"},
                    1,
                    "Controller no power or RS232 cable disconnect."},
        RefusedCase{"SilentController",
                    {"read", "--simulate", "--unpaced", "--silent"},
                    1,
                    "Controller no power or RS232 cable disconnect."},
        // The file is refused before any port is tried.
        RefusedCase{"WrongFileSize",
                    {"write", "/etc/hostname", "--port", "/nonexistent/tty"},
                    1,
                    "it must be exactly 512 bytes"},
        RefusedCase{"MissingFile",
                    {"write", "/nonexistent/image.bin"},
                    1,
                    "Cannot read /nonexistent/image.bin"},
        RefusedCase{"SimulatorOptionAlone", {"read", "--silent"}, 2, "add --simulate"},
        RefusedCase{"OldSoftware",
                    {"show", "--simulate=QV:0x0103", "--unpaced"},
                    1,
                    "Software version does not match, please use the latest software."},
        RefusedCase{"OtherFamily",
                    {"show", "--simulate", "--unpaced", "--module-name", "AXX48S01"},
                    1,
                    "Does not support this model, please choose the right software."},
        RefusedCase{
            "UnknownTable", {"table", "999"}, 1, "There is no built-in description table 999"},
        RefusedCase{"VoltageOnMonitorTable",
                    {"table", "137", "--voltage", "48"},
                    2,
                    "calibration tables only"}));

TEST(CliTable, PrintsEveryRowWithAHeader) {
  struct Expected {
    std::string id;
    std::size_t lines;
  };
  for (const Expected& table :
       {Expected{"165", 444}, Expected{"140", 448}, Expected{"158", 441}, Expected{"137", 49}}) {
    const Outcome run = Qelvo({"table", table.id});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(static_cast<std::size_t>(std::count(run.out.begin(), run.out.end(), '\n')),
              table.lines)
        << table.id;
  }
  const Outcome monitor = Qelvo({"table", "137"});
  EXPECT_NE(monitor.out.find("err\t15\t15\t\t\t\tCurrent Meter Err\t\t\t\t\t\n"),
            std::string::npos);
}

TEST(CliTable, VoltageClassFitsTheVoltageRows) {
  const Outcome run = Qelvo({"table", "165", "--voltage", "80", "--controller-voltage", "96"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\n22\t25\t2\t1\t1\t1\tuo\tLow Volt\t18\t120\t"), std::string::npos);
  const Outcome plain = Qelvo({"table", "165"});
  EXPECT_NE(plain.out.find("\n22\t25\t2\t1\t1\t1\tuo\tLow Volt\t18\t180\t"), std::string::npos);
}

}  // namespace
}  // namespace qelvo::cli
