#pragma once

#include <cstdint>
#include <vector>

#include "canvas.h"

namespace qelvo::pictures {

// A 24-bit uncompressed BMP, rows stored bottom-up; alpha is dropped (the canvas is opaque).
std::vector<std::uint8_t> EncodeBmp24(const Canvas& canvas);

// A PNG with 8-bit RGBA pixels. The zlib stream uses stored blocks only: the file is a bit
// larger than a compressed one, and the generator needs no compression library.
std::vector<std::uint8_t> EncodePngRgba(const Canvas& canvas);

}  // namespace qelvo::pictures
