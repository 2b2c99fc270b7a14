#include "cli/controller_write.h"

#include <ostream>

#include "cli/messages.h"

namespace qelvo::cli {

bool WriteToController(link::Link& link, const link::CalibrationImage& image, std::ostream& out,
                       std::ostream& err) {
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
  out << kWriteSuccess << "\n";
  return true;
}

}  // namespace qelvo::cli
