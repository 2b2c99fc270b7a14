#pragma once

#include <iosfwd>

#include "catalogue/tables.h"
#include "link/commands.h"
#include "link/packet.h"

namespace qelvo::cli {

// --verify: after the Commit the block is read back and compared with the image; `tables`
// (may be null) names the rows of a difference.
struct WriteVerification {
  bool enabled = false;
  const catalogue::DescriptionTables* tables = nullptr;
};

// The window's Write without its dialogs: the model check, then the image written and
// committed, then the verification if asked for. Prints the outcome in the window's words;
// true on success.
bool WriteToController(link::Link& link, const link::CalibrationImage& image, std::ostream& out,
                       std::ostream& err, const WriteVerification& verification = {});

}  // namespace qelvo::cli
