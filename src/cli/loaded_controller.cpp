#include "cli/loaded_controller.h"

#include <ostream>

#include "cli/image_file.h"
#include "cli/messages.h"

namespace qelvo::cli {

constexpr std::size_t kModuleNameBytes = 8;

bool TakeImageSource(std::vector<std::string>& words, ImageSource& source, std::string& error) {
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (words[i] == "--image") {
      if (i + 1 >= words.size()) {
        error = "--image needs a FILE";
        return false;
      }
      source.imagePath = words[++i];
    } else {
      rest.push_back(words[i]);
    }
  }
  words = std::move(rest);
  if (!TakeConnectionOptions(words, source.connection, error))
    return false;
  if (!source.imagePath.empty() &&
      (source.connection.simulate || !source.connection.ports.empty())) {
    error = "--image excludes --port and --simulate";
    return false;
  }
  return true;
}

std::optional<LoadedImage> LoadImage(const ImageSource& source, std::ostream& err) {
  LoadedImage loaded;
  if (!source.imagePath.empty()) {
    ImageFileResult file = ReadImageFile(source.imagePath);
    if (!file.image) {
      err << file.error << "\n";
      return std::nullopt;
    }
    loaded.image = *file.image;
  } else {
    std::string error;
    loaded.session = ControllerSession::Open(source.connection, err, error);
    if (!loaded.session) {
      err << error << "\n";
      return std::nullopt;
    }
    loaded.image = link::FreshImage();
    if (!link::ReadImage(loaded.session->link(), loaded.image)) {
      err << kReadError << "\n";
      return std::nullopt;
    }
  }
  loaded.tables = std::make_unique<catalogue::DescriptionTables>();
  const catalogue::LoadResult result = catalogue::LoadDescriptionTables(
      loaded.image, *loaded.tables, [&](bool visible) { loaded.comPageVisible = visible; });
  switch (result.outcome) {
    case catalogue::LoadOutcome::Loaded:
      return loaded;
    case catalogue::LoadOutcome::VersionNotSupported:
      err << kVersionNotSupported << "\n";
      break;
    case catalogue::LoadOutcome::ModelNotSupported:
      err << kModelNotSupported << "\n";
      break;
    case catalogue::LoadOutcome::BadTable:
      err << result.error << "\n";
      break;
  }
  return std::nullopt;
}

std::string ModuleNameText(const link::CalibrationImage& image) {
  std::string name;
  for (std::size_t i = 0; i < kModuleNameBytes; ++i)
    name += (image[i] >= 0x20 && image[i] < 0x7F) ? static_cast<char>(image[i]) : '.';
  return name;
}

}  // namespace qelvo::cli
