#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace qelvo::pictures {

namespace {

constexpr int kSamplesPerAxis = 4;

std::uint8_t Lerp(std::uint8_t a, std::uint8_t b, double t) {
  return static_cast<std::uint8_t>(std::lround(a + (b - a) * t));
}

double DistanceToSegment(double x, double y, Point a, Point b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double lengthSquared = dx * dx + dy * dy;
  double t = lengthSquared > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / lengthSquared : 0;
  t = std::clamp(t, 0.0, 1.0);
  const double px = a.x + t * dx - x;
  const double py = a.y + t * dy - y;
  return std::sqrt(px * px + py * py);
}

}  // namespace

Colour Mix(Colour from, Colour to, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {Lerp(from.r, to.r, t), Lerp(from.g, to.g, t), Lerp(from.b, to.b, t),
          Lerp(from.a, to.a, t)};
}

Canvas::Canvas(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height), fill) {}

// Porter-Duff "over", so a transparent canvas (the icon) keeps correct alpha.
void Canvas::Blend(int x, int y, Colour colour, double coverage) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0)
    return;
  Colour& dst = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                        static_cast<std::size_t>(x)];
  const double srcA = colour.a / 255.0 * std::min(coverage, 1.0);
  const double dstA = dst.a / 255.0;
  const double outA = srcA + dstA * (1 - srcA);
  if (outA <= 0)
    return;
  auto channel = [&](std::uint8_t s, std::uint8_t d) {
    return static_cast<std::uint8_t>(std::lround((s * srcA + d * dstA * (1 - srcA)) / outA));
  };
  dst = {channel(colour.r, dst.r), channel(colour.g, dst.g), channel(colour.b, dst.b),
         static_cast<std::uint8_t>(std::lround(outA * 255))};
}

void Canvas::FillVerticalGradient(int x0, int y0, int x1, int y1, Colour top, Colour bottom) {
  for (int y = y0; y < y1; ++y) {
    const Colour c = Mix(top, bottom, y1 - y0 > 1 ? double(y - y0) / (y1 - y0 - 1) : 0);
    for (int x = x0; x < x1; ++x)
      Blend(x, y, c);
  }
}

void Canvas::FillHorizontalGradient(int x0, int y0, int x1, int y1, Colour left, Colour right) {
  for (int x = x0; x < x1; ++x) {
    const Colour c = Mix(left, right, x1 - x0 > 1 ? double(x - x0) / (x1 - x0 - 1) : 0);
    for (int y = y0; y < y1; ++y)
      Blend(x, y, c);
  }
}

void Canvas::FillShape(double x0, double y0, double x1, double y1,
                       const std::function<bool(double, double)>& inside,
                       const std::function<Colour(double, double)>& shade) {
  const int px0 = std::max(0, static_cast<int>(std::floor(x0)));
  const int py0 = std::max(0, static_cast<int>(std::floor(y0)));
  const int px1 = std::min(width_, static_cast<int>(std::ceil(x1)));
  const int py1 = std::min(height_, static_cast<int>(std::ceil(y1)));
  constexpr double kStep = 1.0 / kSamplesPerAxis;
  for (int y = py0; y < py1; ++y) {
    for (int x = px0; x < px1; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamplesPerAxis; ++sy)
        for (int sx = 0; sx < kSamplesPerAxis; ++sx)
          if (inside(x + (sx + 0.5) * kStep, y + (sy + 0.5) * kStep))
            ++hits;
      if (hits > 0)
        Blend(x, y, shade(x + 0.5, y + 0.5), double(hits) / (kSamplesPerAxis * kSamplesPerAxis));
    }
  }
}

void Canvas::FillShape(double x0, double y0, double x1, double y1,
                       const std::function<bool(double, double)>& inside, Colour colour) {
  FillShape(x0, y0, x1, y1, inside, [colour](double, double) { return colour; });
}

void Canvas::FillRect(double x0, double y0, double x1, double y1, Colour colour) {
  FillShape(
      x0, y0, x1, y1, [&](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; },
      colour);
}

void Canvas::FillRoundedRect(double x0, double y0, double x1, double y1, double radius,
                             Colour colour) {
  FillShape(
      x0, y0, x1, y1,
      [&](double x, double y) { return InsideRoundedRect(x, y, x0, y0, x1, y1, radius); }, colour);
}

void Canvas::FillCircle(double cx, double cy, double radius, Colour colour) {
  FillEllipse(cx, cy, radius, radius, colour);
}

void Canvas::FillRing(double cx, double cy, double outer, double inner, Colour colour) {
  FillShape(
      cx - outer, cy - outer, cx + outer, cy + outer,
      [&](double x, double y) {
        const double d = std::hypot(x - cx, y - cy);
        return d <= outer && d >= inner;
      },
      colour);
}

void Canvas::FillEllipse(double cx, double cy, double rx, double ry, Colour colour) {
  FillShape(
      cx - rx, cy - ry, cx + rx, cy + ry,
      [&](double x, double y) {
        const double nx = (x - cx) / rx;
        const double ny = (y - cy) / ry;
        return nx * nx + ny * ny <= 1;
      },
      colour);
}

void Canvas::FillPolygon(std::span<const Point> corners, Colour colour) {
  if (corners.empty())
    return;
  double x0 = corners[0].x;
  double x1 = x0;
  double y0 = corners[0].y;
  double y1 = y0;
  for (const Point& p : corners) {
    x0 = std::min(x0, p.x);
    x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y);
    y1 = std::max(y1, p.y);
  }
  FillShape(
      x0, y0, x1, y1, [&](double x, double y) { return InsidePolygon(x, y, corners); }, colour);
}

void Canvas::DrawLine(Point from, Point to, double thickness, Colour colour) {
  const double r = thickness / 2;
  FillShape(
      std::min(from.x, to.x) - r, std::min(from.y, to.y) - r, std::max(from.x, to.x) + r,
      std::max(from.y, to.y) + r,
      [&](double x, double y) { return DistanceToSegment(x, y, from, to) <= r; }, colour);
}

bool InsideRoundedRect(double x, double y, double x0, double y0, double x1, double y1,
                       double radius) {
  if (x < x0 || x >= x1 || y < y0 || y >= y1)
    return false;
  // Distance from the inner rectangle whose corners are the arcs' centres.
  const double cx = std::clamp(x, x0 + radius, x1 - radius);
  const double cy = std::clamp(y, y0 + radius, y1 - radius);
  return std::hypot(x - cx, y - cy) <= radius;
}

// Even-odd rule.
bool InsidePolygon(double x, double y, std::span<const Point> corners) {
  bool inside = false;
  for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
    const Point& a = corners[i];
    const Point& b = corners[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
      inside = !inside;
  }
  return inside;
}

}  // namespace qelvo::pictures
