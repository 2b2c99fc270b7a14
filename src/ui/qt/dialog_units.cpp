#include "ui/qt/dialog_units.h"

#include <QApplication>
#include <QFontMetrics>

namespace qelvo::ui {

namespace {

// units × base / divisor, rounded half away from zero.
int Scale(int units, int base, int divisor) {
  const long long n = static_cast<long long>(units) * base;
  const long long half = divisor / 2;
  return static_cast<int>(n >= 0 ? (n + half) / divisor : -((-n + half) / divisor));
}

constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kLetterCount = 52;

}  // namespace

int AverageLetterWidth(const QFontMetrics& metrics) {
  return Scale(1, metrics.horizontalAdvance(QString::fromLatin1(kLetters)), kLetterCount);
}

QFont DialogFont(const FontSpec& fontSpec) {
  QFont font = QApplication::font();
  font.setPointSize(fontSpec.points);
  font.setWeight(fontSpec.bold ? QFont::Bold : QFont::Normal);
  return font;
}

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  charWidth_ = AverageLetterWidth(metrics);
  charHeight_ = metrics.height();
}

int DialogUnits::X(int units) const {
  return Scale(units, charWidth_, kUnitsPerCharWidth);
}

int DialogUnits::Y(int units) const {
  return Scale(units, charHeight_, kUnitsPerCharHeight);
}

QRect DialogUnits::ToPixels(const Rect& rect) const {
  const int left = X(rect.x);
  const int top = Y(rect.y);
  return QRect(left, top, X(rect.x + rect.width) - left, Y(rect.y + rect.height) - top);
}

}  // namespace qelvo::ui
