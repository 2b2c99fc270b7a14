#include "app/options.h"

#include <utility>

namespace qelvo::app {

namespace {

constexpr std::string_view kPort = "--port";
constexpr std::string_view kSimulate = "--simulate";
constexpr std::string_view kTrace = "--trace";
constexpr std::string_view kHelp = "--help";

// Splits "--name=value" into name and value.
struct Split {
  std::string_view name;
  std::optional<std::string_view> value;
};
Split SplitOption(std::string_view arg) {
  const auto eq = arg.find('=');
  if (eq == std::string_view::npos)
    return {arg, std::nullopt};
  return {arg.substr(0, eq), arg.substr(eq + 1)};
}

OptionsResult Fail(std::string error) {
  OptionsResult result;
  result.error = std::move(error);
  return result;
}

}  // namespace

OptionsResult ParseOptions(std::span<const std::string_view> args) {
  OptionsResult result;
  result.ok = true;
  Options& o = result.options;
  bool traceGiven = false;

  for (std::size_t i = 0; i < args.size(); ++i) {
    // Named variables, not a structured binding: the lambda below captures them, which
    // clang before 16 does not allow for bindings.
    const Split option = SplitOption(args[i]);
    const std::string_view name = option.name;
    const std::optional<std::string_view>& inlineValue = option.value;

    // The value of an option that needs one: after '=' or the next argument.
    auto takeValue = [&]() -> std::optional<std::string> {
      if (inlineValue) {
        if (inlineValue->empty())
          return std::nullopt;
        return std::string(*inlineValue);
      }
      // "--port --trace x" is a forgotten path, not a device called "--trace".
      if (i + 1 >= args.size() || args[i + 1].empty() || args[i + 1].starts_with("-"))
        return std::nullopt;
      return std::string(args[++i]);
    };

    if (name == kPort) {
      auto path = takeValue();
      if (!path)
        return Fail("--port needs a device path, e.g. --port /dev/ttyUSB0");
      o.ports.push_back(*path);
    } else if (name == kSimulate) {
      if (o.simulate)
        return Fail("--simulate is given twice");
      if (inlineValue && inlineValue->empty())
        return Fail("--simulate= needs FAMILY:VERSION, e.g. --simulate=QV:0x0109");
      o.simulate = inlineValue ? std::string(*inlineValue) : std::string();
    } else if (name == kTrace) {
      if (traceGiven)
        return Fail("--trace is given twice");
      auto file = takeValue();
      if (!file)
        return Fail("--trace needs a file name, e.g. --trace frames.txt");
      o.traceFile = *file;
      traceGiven = true;
    } else if (name == kHelp || name == "-h") {
      if (inlineValue)
        return Fail("--help takes no value");
      o.help = true;
    } else if (name.starts_with("-")) {
      return Fail("unknown option '" + std::string(args[i]) + "'");
    } else {
      return Fail("unexpected argument '" + std::string(args[i]) + "'");
    }
  }

  if (o.simulate && !o.ports.empty())
    return Fail(
        "--port and --simulate cannot be used together: the simulated controller is "
        "the only port");
  return result;
}

std::string HelpText(std::string_view programName) {
  std::string text = "Usage: ";
  text += programName;
  text +=
      " [options]\n"
      "Configures and monitors a motor controller on a serial port.\n"
      "With no options it tries every serial port of this machine.\n"
      "\n"
      "Options:\n"
      "  --port PATH                 use this serial device instead of the discovered\n"
      "                              ports; repeat it to try several in order\n"
      "  --simulate[=FAMILY:VERSION] use a simulated controller (e.g. RN:0x0102)\n"
      "                              on a pseudo-terminal, paced at 19200 baud\n"
      "  --trace FILE                write every frame sent and received to FILE, in hex,\n"
      "                              with its time\n"
      "  --help                      show this text\n";
  return text;
}

}  // namespace qelvo::app
