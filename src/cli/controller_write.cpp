#include "cli/controller_write.h"

#include <ostream>

#include "cli/messages.h"
#include "cli/verify_written.h"

namespace qelvo::cli {

bool WriteToController(link::Link& link, const link::CalibrationImage& image, std::ostream& out,
                       std::ostream& err, const WriteVerification& verification) {
  switch (link::CheckModel(link, image)) {
    case link::ModelCheck::NoReply:
      err << kModuleNameUnreadable << "\n";
      return false;
    case link::ModelCheck::Mismatch:
      err << kModuleNameMismatch << "\n";
      return false;
    case link::ModelCheck::Match:
      break;
  }
  if (!link::WriteImage(link, image)) {
    err << kWriteError << "\n";
    return false;
  }
  if (verification.enabled && !VerifyWritten(link, image, verification.tables, out, err))
    return false;
  out << kWriteSuccess << "\n";
  return true;
}

}  // namespace qelvo::cli
