#pragma once

#include "catalogue/tables.h"
#include "link/commands.h"
#include "link/packet.h"
#include "zero/zero_dialog.h"

namespace qelvo::app {

// Everything one run of the program keeps: the application owns it and hands it by
// reference to the main window and the pages.
struct RunState {
  link::Link link;
  link::CalibrationImage image = link::FreshImage();
  catalogue::DescriptionTables tables;
  zero::KeptZeroValues keptZero;

  bool imageValid = false;      // the last Read brought in the whole image
  bool tablesLoaded = false;    // the tables fit the image and the pages may use them
  bool writeSucceeded = false;  // the last Write reached the controller and was committed
};

}  // namespace qelvo::app
