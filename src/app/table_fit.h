#pragma once

#include "catalogue/loader.h"

namespace qelvo::app {

// Whether the tables chosen for `loaded` also serve a controller that reads as `read`: the
// same calibration table and the same limits on the two voltage rows. False when `read`
// is a controller no table covers.
bool SameTablesServe(const catalogue::ControllerIdentity& loaded,
                     const catalogue::ControllerIdentity& read);

}  // namespace qelvo::app
