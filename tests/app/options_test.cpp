#include "app/options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace qelvo::app {
namespace {

struct OptionsCase {
  const char* name;
  std::vector<std::string_view> args;
  Options expected;             // on success
  const char* error = nullptr;  // on failure: a part of the message
};

OptionsCase Accepts(const char* name, std::vector<std::string_view> args, Options expected) {
  return {name, std::move(args), std::move(expected), nullptr};
}
OptionsCase Refuses(const char* name, std::vector<std::string_view> args, const char* error) {
  return {name, std::move(args), Options{}, error};
}

TEST(Options, Parse) {
  const OptionsCase kCases[] = {
      Accepts("none", {}, {}),
      Accepts("ports in order", {"--port", "/dev/ttyUSB1", "--port=/dev/ttyS0"},
              {{"/dev/ttyUSB1", "/dev/ttyS0"}, std::nullopt, "", false}),
      Accepts("simulate with defaults", {"--simulate"}, {{}, "", "", false}),
      Accepts("simulate a controller", {"--simulate=RN:0x0102"}, {{}, "RN:0x0102", "", false}),
      Accepts("trace", {"--trace", "frames.txt"}, {{}, std::nullopt, "frames.txt", false}),
      Accepts("trace with =", {"--trace=frames.txt"}, {{}, std::nullopt, "frames.txt", false}),
      Accepts("help", {"--help"}, {{}, std::nullopt, "", true}),
      Accepts("short help", {"-h"}, {{}, std::nullopt, "", true}),
      Refuses("port without path", {"--port"}, "--port needs a device path"),
      Refuses("port with empty path", {"--port="}, "--port needs a device path"),
      Refuses("port followed by an option", {"--port", "--trace", "x"},
              "--port needs a device path"),
      Refuses("trace without file", {"--trace"}, "--trace needs a file name"),
      Refuses("trace twice", {"--trace", "a", "--trace", "b"}, "--trace is given twice"),
      Refuses("simulate with empty value", {"--simulate="}, "--simulate= needs FAMILY:VERSION"),
      Refuses("simulate twice", {"--simulate", "--simulate"}, "--simulate is given twice"),
      Refuses("simulate and port", {"--simulate", "--port", "/dev/ttyS0"},
              "cannot be used together"),
      Refuses("unknown option", {"--baud", "9600"}, "unknown option '--baud'"),
      Refuses("stray word", {"COM1"}, "unexpected argument 'COM1'"),
      Refuses("help with a value", {"--help=yes"}, "--help takes no value"),
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const auto result = ParseOptions(c.args);
    if (c.error) {
      EXPECT_FALSE(result.ok);
      EXPECT_NE(result.error.find(c.error), std::string::npos) << result.error;
      continue;
    }
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.options.ports, c.expected.ports);
    EXPECT_EQ(result.options.simulate, c.expected.simulate);
    EXPECT_EQ(result.options.traceFile, c.expected.traceFile);
    EXPECT_EQ(result.options.help, c.expected.help);
  }
}

TEST(Options, HelpListsEveryOption) {
  const std::string help = HelpText("qelvo-user-app");
  for (const char* option :
       {"--port PATH", "--simulate[=FAMILY:VERSION]", "--trace FILE", "--help"})
    EXPECT_NE(help.find(option), std::string::npos) << option;
  EXPECT_EQ(help.rfind("Usage: qelvo-user-app", 0), 0u);
}

}  // namespace
}  // namespace qelvo::app
