#pragma once

#include <string_view>

#include "canvas.h"

namespace qelvo::pictures {

// A 5 x 9 pixel font: capitals and digits stand in rows 0..6, lower case letters hang
// their descenders into rows 7 and 8. Each font pixel is drawn as a scale x scale square.
inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 9;
inline constexpr int kCapHeight = 7;
inline constexpr int kGlyphAdvance = kGlyphWidth + 1;

// Width in pixels of the text at this scale (no trailing gap).
int TextWidth(std::string_view text, int scale);

// Draws the text with its top-left corner at (x, y). Characters the font lacks are drawn
// as a hollow box, so a missing glyph shows at once.
void DrawText(Canvas& canvas, double x, double y, std::string_view text, int scale, Colour colour);

// The same, centred on x.
void DrawTextCentred(Canvas& canvas, double centreX, double y, std::string_view text, int scale,
                     Colour colour);

}  // namespace qelvo::pictures
