#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QPoint>
#include <QRect>

#include "ui/dialog.h"

namespace qelvo::ui {

// The font a template names: the desktop's family at the template's size and weight. Glyphs
// the family lacks (Chinese captions) come from fontconfig's fallback, the CJK font.
QFont DialogFont(const FontSpec& fontSpec);

// The average width of the letters a-z and A-Z, rounded: what dialog layouts were drawn
// with. QFontMetrics::averageCharWidth is narrower for most fonts and would clip captions.
int AverageLetterWidth(const QFontMetrics& metrics);

// Dialog units of one font: a quarter of its average character width across, an eighth of
// its height down, so a layout keeps its proportions at any resolution.
class DialogUnits {
 public:
  static constexpr int kUnitsPerCharWidth = 4;
  static constexpr int kUnitsPerCharHeight = 8;

  explicit DialogUnits(const QFont& font);
  DialogUnits(int charWidth, int charHeight) : charWidth_(charWidth), charHeight_(charHeight) {}

  int X(int units) const;
  int Y(int units) const;
  // Converts the edges, not the size, so that controls that meet in units meet in pixels.
  QRect ToPixels(const Rect& rect) const;

  int CharWidth() const { return charWidth_; }
  int CharHeight() const { return charHeight_; }

 private:
  int charWidth_;
  int charHeight_;
};

}  // namespace qelvo::ui
