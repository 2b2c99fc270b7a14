#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "sim/controller.h"
#include "sim/faults.h"
#include "sim/identity.h"

namespace qelvo::sim {

// A port that vanishes in a run comes back on its own after this, unless --vanish-for 0.
inline constexpr std::chrono::milliseconds kRunVanishFor{2000};

inline Faults RunFaults() {
  Faults faults;
  faults.vanishFor = kRunVanishFor;
  return faults;
}

// How to run the simulated controller, from command-line words (`qelvo sim`, and the
// `--simulate` runs of both programs).
struct SimOptions {
  Identity identity;
  Faults faults = RunFaults();
  bool paced = true;
  std::uint32_t seed = 1;
  std::string linkPath;                    // --link: where the port's symbolic link goes
  std::optional<std::uint16_t> faultWord;  // pinned fault word of the live data
  bool controllerVoltageGiven = false;     // else --voltage sets the controller voltage too
};

struct SimOptionsResult {
  SimOptions options;
  std::string error;  // empty when every word was understood
  bool ok() const { return error.empty(); }
};

// Every word must be a simulator option. Values follow as the next word or after "=".
SimOptionsResult ParseSimOptions(std::span<const std::string> words);

// The option at words[index]: the number of words it took (1 or 2), 0 when the word is no
// simulator option, -1 with `error` set when its value is wrong or missing.
int ParseSimOption(std::span<const std::string> words, std::size_t index, SimOptions& options,
                   std::string& error);

// "QV", "RN:0x0102" or "QV:265" (the value of `--simulate=`): family and software version.
bool ParseFamilyVersion(std::string_view text, Identity& identity, std::string& error);

// A controller set up as the options say.
std::unique_ptr<SimulatedController> MakeController(const SimOptions& options);

// The options the words understand, one per line, for a usage text.
std::string_view SimOptionsHelp();

}  // namespace qelvo::sim
