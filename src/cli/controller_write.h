#pragma once

#include <iosfwd>

#include "link/commands.h"
#include "link/packet.h"

namespace qelvo::cli {

// The window's Write without its dialogs: the model check, then the image written and
// committed. Prints the outcome in the window's words; true on success.
bool WriteToController(link::Link& link, const link::CalibrationImage& image, std::ostream& out,
                       std::ostream& err);

}  // namespace qelvo::cli
