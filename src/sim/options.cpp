#include "sim/options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>

namespace qelvo::sim {
namespace {

using std::string_view;

constexpr string_view kHexPrefix = "0x";
constexpr std::size_t kVoltageClassSize = 2;
constexpr std::size_t kComMarkerSize = 2;
constexpr std::size_t kModuleNameMax = 8;
constexpr std::uint32_t kMaxDelayMs = 60000;
constexpr std::uint32_t kMaxCount = 1'000'000;

std::string Quoted(string_view text) {
  return "\"" + std::string(text) + "\"";
}

// A decimal number, or a hexadecimal one after "0x".
bool ParseNumber(string_view text, std::uint32_t max, std::uint32_t& value) {
  int base = 10;
  if (text.size() > kHexPrefix.size() &&
      (text.substr(0, 2) == kHexPrefix || text.substr(0, 2) == "0X")) {
    text.remove_prefix(kHexPrefix.size());
    base = 16;
  }
  std::uint64_t number = 0;
  const auto [end, result] = std::from_chars(text.data(), text.data() + text.size(), number, base);
  if (text.empty() || result != std::errc() || end != text.data() + text.size() || number > max) {
    return false;
  }
  value = static_cast<std::uint32_t>(number);
  return true;
}

bool Printable(string_view text) {
  return std::ranges::all_of(text, [](char c) { return c >= 0x20 && c <= 0x7E; });
}

bool ParseFamily(string_view value, std::string& family, std::string& error) {
  if (value != "QV" && value != "RN") {
    error = "--family takes QV or RN, not " + Quoted(value);
    return false;
  }
  family = value;
  return true;
}

bool ParseVersion(string_view value, std::uint16_t& version, std::string& error) {
  std::uint32_t number = 0;
  if (!ParseNumber(value, std::numeric_limits<std::uint16_t>::max(), number)) {
    error = "the software version is a number from 0 to 65535 (such as 0x0109 or 265), not " +
            Quoted(value);
    return false;
  }
  version = static_cast<std::uint16_t>(number);
  return true;
}

using FlagSetter = void (*)(SimOptions&);
struct Flag {
  string_view name;
  FlagSetter set;
};
constexpr std::array kFlags = std::to_array<Flag>({
    {"--paced", [](SimOptions& o) { o.paced = true; }},
    {"--unpaced", [](SimOptions& o) { o.paced = false; }},
    {"--silent", [](SimOptions& o) { o.faults.silent = true; }},
    {"--bad-checksum", [](SimOptions& o) { o.faults.badChecksum = true; }},
    {"--wrong-command", [](SimOptions& o) { o.faults.wrongCommand = true; }},
    {"--split", [](SimOptions& o) { o.faults.split = true; }},
    {"--short", [](SimOptions& o) { o.faults.shortReply = true; }},
    {"--other-module", [](SimOptions& o) { o.faults.otherModule = true; }},
});

using ValueSetter = bool (*)(SimOptions&, string_view value, std::string& error);
struct Valued {
  string_view name;
  ValueSetter set;
};

// Reads a count or a duration into `field`, or explains what the option takes.
template <typename T>
bool SetNumber(string_view option, string_view value, std::uint32_t max, T& field,
               std::string& error) {
  std::uint32_t number = 0;
  if (!ParseNumber(value, max, number)) {
    error = std::string(option) + " takes a number from 0 to " + std::to_string(max) + ", not " +
            Quoted(value);
    return false;
  }
  field = static_cast<T>(number);
  return true;
}

constexpr std::array kValued = std::to_array<Valued>({
    {"--family",
     [](SimOptions& o, string_view v, std::string& e) {
       return ParseFamily(v, o.identity.family, e);
     }},
    {"--version",
     [](SimOptions& o, string_view v, std::string& e) {
       return ParseVersion(v, o.identity.softwareVersion, e);
     }},
    {"--voltage",
     [](SimOptions& o, string_view v, std::string& e) {
       if (v.size() != kVoltageClassSize || !Printable(v)) {
         e = "--voltage takes a voltage class of two characters, such as 48, not " + Quoted(v);
         return false;
       }
       o.identity.voltageClass = v;
       if (!o.controllerVoltageGiven) {
         o.identity.controllerVoltage = NominalVoltage(o.identity.voltageClass);
       }
       return true;
     }},
    {"--controller-voltage",
     [](SimOptions& o, string_view v, std::string& e) {
       o.controllerVoltageGiven = true;
       return SetNumber("--controller-voltage", v, std::numeric_limits<std::uint16_t>::max(),
                        o.identity.controllerVoltage, e);
     }},
    {"--com-marker",
     [](SimOptions& o, string_view v, std::string& e) {
       if (v.size() != kComMarkerSize || !Printable(v)) {
         e = "--com-marker takes two characters, such as 2Q, not " + Quoted(v);
         return false;
       }
       o.identity.comMarker = v;
       return true;
     }},
    {"--module-name",
     [](SimOptions& o, string_view v, std::string& e) {
       if (v.empty() || v.size() > kModuleNameMax || !Printable(v)) {
         e = "--module-name takes 1 to 8 printable characters, not " + Quoted(v);
         return false;
       }
       o.identity.moduleName = v;
       return true;
     }},
    {"--delay",
     [](SimOptions& o, string_view v, std::string& e) {
       std::uint32_t ms = 0;
       if (!SetNumber("--delay", v, kMaxDelayMs, ms, e)) {
         return false;
       }
       o.faults.delay = std::chrono::milliseconds(ms);
       return true;
     }},
    {"--vanish-after-blocks",
     [](SimOptions& o, string_view v, std::string& e) {
       return SetNumber("--vanish-after-blocks", v, kMaxCount, o.faults.vanishAfterWriteBlocks,
                        e);
     }},
    {"--vanish-for",
     [](SimOptions& o, string_view v, std::string& e) {
       std::uint32_t ms = 0;
       if (!SetNumber("--vanish-for", v, kMaxDelayMs, ms, e)) {
         return false;
       }
       o.faults.vanishFor = std::chrono::milliseconds(ms);
       return true;
     }},
    {"--other-module-after",
     [](SimOptions& o, string_view v, std::string& e) {
       o.faults.otherModule = true;
       return SetNumber("--other-module-after", v, kMaxCount, o.faults.otherModuleAfterReads, e);
     }},
    {"--drop-write-block",
     [](SimOptions& o, string_view v, std::string& e) {
       return SetNumber("--drop-write-block", v, kMaxCount, o.faults.dropWriteBlock, e);
     }},
    {"--fault-command",
     [](SimOptions& o, string_view v, std::string& e) {
       std::uint32_t code = 0;
       if (!ParseNumber(v, 0xFF, code)) {
         e = "--fault-command takes a command code from 0 to 0xFF (such as 0xF3), not " +
             Quoted(v);
         return false;
       }
       o.faults.onlyCommand = static_cast<std::uint8_t>(code);
       return true;
     }},
    {"--fault-after",
     [](SimOptions& o, string_view v, std::string& e) {
       return SetNumber("--fault-after", v, kMaxCount, o.faults.afterRequests, e);
     }},
    {"--fault-count",
     [](SimOptions& o, string_view v, std::string& e) {
       return SetNumber("--fault-count", v, kMaxCount, o.faults.requestCount, e);
     }},
    {"--fault-word",
     [](SimOptions& o, string_view v, std::string& e) {
       std::uint16_t word = 0;
       if (!SetNumber("--fault-word", v, std::numeric_limits<std::uint16_t>::max(), word, e)) {
         return false;
       }
       o.faultWord = word;
       return true;
     }},
    {"--seed",
     [](SimOptions& o, string_view v, std::string& e) {
       return SetNumber("--seed", v, std::numeric_limits<std::uint32_t>::max(), o.seed, e);
     }},
    {"--link",
     [](SimOptions& o, string_view v, std::string& e) {
       if (v.empty()) {
         e = "--link takes a path, such as /tmp/qelvo-sim";
         return false;
       }
       o.linkPath = v;
       return true;
     }},
});

constexpr string_view kHelp =
    "  --family QV|RN            controller family (QV)\n"
    "  --version N               software version, such as 0x0109 (0x0109)\n"
    "  --voltage CC              voltage class, two characters (48)\n"
    "  --controller-voltage N    controller voltage (that of the voltage class)\n"
    "  --com-marker CC           image bytes 84..85; 2Q hides the COM page\n"
    "  --module-name NAME        module name of up to 8 characters\n"
    "  --paced, --unpaced        answer at the speed of a 19200 baud line, or at once\n"
    "  --seed N                  seed of the zero-point noise (1)\n"
    "  --link PATH               symbolic link to the port, such as /tmp/qelvo-sim\n"
    "  --fault-word N            pin the fault word of the live data\n"
    "Faults:\n"
    "  --silent                  never answer\n"
    "  --bad-checksum            replies with a wrong checksum\n"
    "  --wrong-command           replies with another command byte\n"
    "  --split                   replies in pieces a few milliseconds apart\n"
    "  --short                   replies with half their payload\n"
    "  --delay MS                wait before each reply\n"
    "  --other-module            another module name once the first read is done\n"
    "  --other-module-after N    ... once N reads of the name are done (0: at once)\n"
    "  --vanish-after-blocks N   the port vanishes after N Write blocks\n"
    "  --vanish-for MS           and comes back after MS milliseconds (2000; 0: never)\n"
    "  --drop-write-block N      the Nth Write block of a write is not kept\n"
    "  --fault-command CODE      the faults above hit only this command\n"
    "  --fault-after N           ... only after N such requests\n"
    "  --fault-count N           ... only for N requests\n";

}  // namespace

int ParseSimOption(std::span<const std::string> words, std::size_t index, SimOptions& options,
                   std::string& error) {
  if (index >= words.size()) {
    return 0;
  }
  const string_view word = words[index];
  const std::size_t equals = word.find('=');
  const string_view name = word.substr(0, equals);
  for (const Flag& flag : kFlags) {
    if (flag.name == name) {
      if (equals != string_view::npos) {
        error = std::string(name) + " takes no value";
        return -1;
      }
      flag.set(options);
      return 1;
    }
  }
  for (const Valued& option : kValued) {
    if (option.name != name) {
      continue;
    }
    int used = 1;
    string_view value;
    if (equals != string_view::npos) {
      value = word.substr(equals + 1);
    } else if (index + 1 < words.size()) {
      value = words[index + 1];
      used = 2;
    } else {
      error = std::string(name) + " needs a value";
      return -1;
    }
    return option.set(options, value, error) ? used : -1;
  }
  return 0;
}

SimOptionsResult ParseSimOptions(std::span<const std::string> words) {
  SimOptionsResult result;
  for (std::size_t index = 0; index < words.size();) {
    const int used = ParseSimOption(words, index, result.options, result.error);
    if (used < 0) {
      return result;
    }
    if (used == 0) {
      result.error = "unknown simulator option " + Quoted(words[index]);
      return result;
    }
    index += static_cast<std::size_t>(used);
  }
  return result;
}

bool ParseFamilyVersion(string_view text, Identity& identity, std::string& error) {
  const std::size_t colon = text.find(':');
  Identity parsed = identity;
  if (!ParseFamily(text.substr(0, colon), parsed.family, error)) {
    return false;
  }
  if (colon != string_view::npos &&
      !ParseVersion(text.substr(colon + 1), parsed.softwareVersion, error)) {
    return false;
  }
  identity = parsed;
  return true;
}

std::unique_ptr<SimulatedController> MakeController(const SimOptions& options) {
  auto controller = std::make_unique<SimulatedController>(options.identity, options.seed);
  controller->SetPaced(options.paced);
  controller->SetFaults(options.faults);
  if (options.faultWord) {
    controller->PinFaultWord(*options.faultWord);
  }
  return controller;
}

std::string_view SimOptionsHelp() {
  return kHelp;
}

}  // namespace qelvo::sim
