#pragma once

#include <iosfwd>

#include "catalogue/tables.h"
#include "link/commands.h"
#include "link/packet.h"

namespace qelvo::cli {

// Reads the block back after a Commit and compares it with what was written. A difference is
// told row by row (by `tables`, which may be null: then in bytes only) after "Write failure!";
// false then, or when the block cannot be read back.
bool VerifyWritten(link::Link& link, const link::CalibrationImage& written,
                   const catalogue::DescriptionTables* tables, std::ostream& out,
                   std::ostream& err);

}  // namespace qelvo::cli
