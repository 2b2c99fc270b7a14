#include "cli/loaded_controller.h"

#include <ostream>

#include "cli/image_or_backup.h"
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

TablesForImage LoadTablesFor(const link::CalibrationImage& image) {
  TablesForImage loaded;
  auto tables = std::make_unique<catalogue::DescriptionTables>();
  const catalogue::LoadResult result = catalogue::LoadDescriptionTables(
      image, *tables, [&](bool visible) { loaded.comPageVisible = visible; });
  switch (result.outcome) {
    case catalogue::LoadOutcome::Loaded:
      loaded.tables = std::move(tables);
      break;
    case catalogue::LoadOutcome::VersionNotSupported:
      loaded.error = kVersionNotSupported;
      break;
    case catalogue::LoadOutcome::ModelNotSupported:
      loaded.error = kModelNotSupported;
      break;
    case catalogue::LoadOutcome::BadTable:
      loaded.error = result.error;
      break;
  }
  return loaded;
}

std::optional<LoadedImage> LoadImage(const ImageSource& source, std::ostream& err) {
  LoadedImage loaded;
  if (!source.imagePath.empty()) {
    ImageOrBackup file = ReadImageOrBackup(source.imagePath);
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
  TablesForImage tables = LoadTablesFor(loaded.image);
  if (!tables.tables) {
    err << tables.error << "\n";
    return std::nullopt;
  }
  loaded.tables = std::move(tables.tables);
  loaded.comPageVisible = tables.comPageVisible;
  return loaded;
}

std::string ModuleNameText(const link::CalibrationImage& image) {
  std::string name;
  for (std::size_t i = 0; i < kModuleNameBytes; ++i)
    name += (image[i] >= 0x20 && image[i] < 0x7F) ? static_cast<char>(image[i]) : '.';
  return name;
}

}  // namespace qelvo::cli
