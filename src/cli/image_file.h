#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "link/commands.h"

namespace qelvo::cli {

struct ImageFileResult {
  std::optional<link::CalibrationImage> image;
  std::string error;  // why the file was refused
};

// A raw image file must be exactly 512 bytes.
ImageFileResult ReadImageFile(const std::string& path);

// Writes to a temporary file beside the target and renames it over the target, so an
// interrupted run never leaves a half-written file. False with a message on failure.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::string& error);

}  // namespace qelvo::cli
