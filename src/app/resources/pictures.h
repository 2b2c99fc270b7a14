#pragma once

#include <cstdint>
#include <span>

namespace qelvo::app {

// The program's pictures as image files, drawn at build time by the picture generator.
// Bitmap 149: the banner across the top of the main window (863 x 105, 24-bit BMP).
std::span<const std::uint8_t> BannerPicture();
// Bitmap 150: the side picture, a controller unit above a title badge (150 x 519, 24-bit BMP).
std::span<const std::uint8_t> SidePicture();
// Icon 148: the application icon (128 x 128, 32-bit PNG with alpha).
std::span<const std::uint8_t> AppIconPicture();

}  // namespace qelvo::app
