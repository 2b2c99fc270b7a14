#pragma once

#include "canvas.h"

namespace qelvo::pictures {

inline constexpr int kBannerWidth = 863;
inline constexpr int kBannerHeight = 105;
inline constexpr int kSideWidth = 150;
inline constexpr int kSideHeight = 519;
inline constexpr int kIconSize = 128;

// Bitmap 149: the logo, the product's name and its web address.
Canvas DrawBanner();
// Bitmap 150: a controller unit above a title badge.
Canvas DrawSidePicture();
// Icon 148: the logo on a rounded square, transparent around it.
Canvas DrawIcon();

}  // namespace qelvo::pictures
