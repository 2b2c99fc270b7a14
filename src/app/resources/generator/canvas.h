#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace qelvo::pictures {

struct Colour {
  std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

// Mixes two colours: t 0 gives `from`, 1 gives `to`.
Colour Mix(Colour from, Colour to, double t);

struct Point {
  double x = 0, y = 0;
};

// An RGBA picture with the few shapes the artwork needs. Edges are smoothed by sampling
// each pixel 4 x 4 times.
class Canvas {
 public:
  Canvas(int width, int height, Colour fill);

  int width() const { return width_; }
  int height() const { return height_; }
  Colour Pixel(int x, int y) const {
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
  }

  // Lays `colour` over the pixel, `coverage` (0..1) of it; outside the canvas nothing.
  void Blend(int x, int y, Colour colour, double coverage = 1.0);

  // Pixels [x0, x1) x [y0, y1), from `top` to `bottom` colour.
  void FillVerticalGradient(int x0, int y0, int x1, int y1, Colour top, Colour bottom);
  void FillHorizontalGradient(int x0, int y0, int x1, int y1, Colour left, Colour right);

  // Every pixel of the box [x0, x1) x [y0, y1) gets the share of its samples for which
  // `inside` holds; `shade` gives the colour at a point.
  void FillShape(double x0, double y0, double x1, double y1,
                 const std::function<bool(double x, double y)>& inside,
                 const std::function<Colour(double x, double y)>& shade);
  void FillShape(double x0, double y0, double x1, double y1,
                 const std::function<bool(double x, double y)>& inside, Colour colour);

  void FillRect(double x0, double y0, double x1, double y1, Colour colour);
  void FillRoundedRect(double x0, double y0, double x1, double y1, double radius, Colour colour);
  void FillCircle(double cx, double cy, double radius, Colour colour);
  void FillRing(double cx, double cy, double outer, double inner, Colour colour);
  void FillEllipse(double cx, double cy, double rx, double ry, Colour colour);
  void FillPolygon(std::span<const Point> corners, Colour colour);
  // A line of the given thickness with round ends.
  void DrawLine(Point from, Point to, double thickness, Colour colour);

 private:
  int width_;
  int height_;
  std::vector<Colour> pixels_;
};

// Shape tests shared by the drawing calls and the artwork.
bool InsideRoundedRect(double x, double y, double x0, double y0, double x1, double y1,
                       double radius);
bool InsidePolygon(double x, double y, std::span<const Point> corners);

}  // namespace qelvo::pictures
