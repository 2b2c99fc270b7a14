#include "app/status_line.h"

namespace qelvo::app {

StatusLook LookOf(Status status) {
  switch (status) {
    case Status::kReadSuccess:
      return {u"Read success!", ui::kSuccessGreen};
    case Status::kReadFailure:
      return {u"Read failure!", ui::kFailureRed};
    case Status::kWriteSuccess:
      return {u"Write success!", ui::kSuccessGreen};
    case Status::kWriteFailure:
      return {u"Write failure!", ui::kFailureRed};
  }
  return {u"", ui::kFailureRed};
}

}  // namespace qelvo::app
