#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "catalogue/loader.h"
#include "catalogue/tables.h"
#include "cli/connection.h"
#include "link/commands.h"

namespace qelvo::cli {

// An image (from the controller or a file) with the description tables chosen for it.
struct LoadedImage {
  link::CalibrationImage image{};
  std::unique_ptr<catalogue::DescriptionTables> tables;
  bool comPageVisible = true;
  std::unique_ptr<ControllerSession> session;  // set when the image came from the controller
};

// The description tables an image chooses.
struct TablesForImage {
  std::unique_ptr<catalogue::DescriptionTables> tables;  // empty when it chooses none
  bool comPageVisible = true;
  std::string error;  // why not: the window's words for an unsupported controller
};
TablesForImage LoadTablesFor(const link::CalibrationImage& image);

// Where an image comes from: --image FILE (an image or a backup), or the controller the connection
// options name.
struct ImageSource {
  std::string imagePath;
  ConnectionOptions connection;
};

// Takes --image FILE out of `words` (the connection options too).
bool TakeImageSource(std::vector<std::string>& words, ImageSource& source, std::string& error);

// Reads the image and loads its tables; prints what went wrong (the window's words for an
// unsupported controller) and returns nothing on failure.
std::optional<LoadedImage> LoadImage(const ImageSource& source, std::ostream& err);

// "AQV48S01": bytes 0..7, unprintable bytes as '.'.
std::string ModuleNameText(const link::CalibrationImage& image);

}  // namespace qelvo::cli
