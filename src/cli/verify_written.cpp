#include "cli/verify_written.h"

#include <ostream>

#include "cli/image_difference.h"
#include "cli/messages.h"

namespace qelvo::cli {

bool VerifyWritten(link::Link& link, const link::CalibrationImage& written,
                   const catalogue::DescriptionTables* tables, std::ostream& out,
                   std::ostream& err) {
  link::CalibrationImage held = link::FreshImage();
  if (!link::ReadImage(link, held)) {
    err << kWriteFailure << " The block could not be read back to verify it: " << kReadError
        << "\n";
    return false;
  }
  const ImageDifference difference = CompareImages(tables, written, held);
  if (difference.identical) {
    out << "Verified: the controller holds every byte written.\n";
    return true;
  }
  err << kWriteFailure << " The controller does not hold what was written:\n";
  for (const RowChange& row : difference.rows)
    err << "  " << row.page << " / " << row.caption << ": written " << row.before << ", holds "
        << row.after << "\n";
  if (difference.otherBytes != 0)
    err << "  Other bytes differing: " << difference.otherBytes << "\n";
  return false;
}

}  // namespace qelvo::cli
