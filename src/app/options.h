#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qelvo::app {

// The program's command line. With none of these the program finds its controller among
// the machine's serial ports.
struct Options {
  std::vector<std::string> ports;       // --port PATH, repeatable: replaces the port list
  std::optional<std::string> simulate;  // --simulate[=FAMILY:VERSION]; "" for the defaults
  std::string traceFile;                // --trace FILE
  bool help = false;                    // --help
};

struct OptionsResult {
  bool ok = false;
  Options options;
  std::string error;  // what is wrong, when !ok
};

// Parses the arguments after the program name.
OptionsResult ParseOptions(std::span<const std::string_view> args);

// What --help prints.
std::string HelpText(std::string_view programName);

}  // namespace qelvo::app
