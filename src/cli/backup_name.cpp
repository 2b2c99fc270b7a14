#include "cli/backup_name.h"

#include <cstdio>

#include "cli/backup_file.h"
#include "cli/loaded_controller.h"

namespace qelvo::cli {
namespace {

constexpr std::size_t kSerialNumberAddress = 12;
constexpr std::size_t kSerialNumberSize = 4;
constexpr char kReplacement = '_';

bool SafeInFileName(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_';
}

}  // namespace

std::string DefaultBackupName(const link::CalibrationImage& image, const std::tm& localTime) {
  std::string module = ModuleNameText(image);
  // Names are padded with blanks to eight characters.
  while (!module.empty() && module.back() == ' ')
    module.pop_back();
  for (char& c : module)
    if (!SafeInFileName(c))
      c = kReplacement;
  if (module.empty())
    module = "controller";

  std::string name = module + "-";
  char text[32];
  for (std::size_t i = kSerialNumberAddress; i < kSerialNumberAddress + kSerialNumberSize; ++i) {
    std::snprintf(text, sizeof text, "%02x", image[i]);
    name += text;
  }
  std::strftime(text, sizeof text, "-%Y%m%d-%H%M%S", &localTime);
  return name + text + std::string(kBackupExtension);
}

}  // namespace qelvo::cli
