#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/tables.h"

namespace qelvo::monitor {

// The fault text is rewritten only in ticks whose counter is a multiple of this, so each
// active fault stays on screen for ten ticks.
inline constexpr int kFaultTextTicks = 10;

// The fault edit shows this while no fault bit is set.
inline constexpr std::u16string_view kNoFaultText = u" ";

// The next active fault's name, taking the faults one at a time in rising bit order from
// `cursor`, which it advances (and wraps to 0 at the end of the names). Empty when no set
// bit lies at or after the cursor among the named bits: the edit keeps its text.
std::optional<std::u16string> NextFaultText(std::uint32_t faultWord,
                                            const catalogue::DescriptionTables& tables,
                                            std::uint8_t& cursor);

// The names of every set bit of the fault word that has a name, in rising bit order.
std::vector<std::u16string> ActiveFaultNames(std::uint32_t faultWord,
                                             const catalogue::DescriptionTables& tables);

}  // namespace qelvo::monitor
