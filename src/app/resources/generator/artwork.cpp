#include "artwork.h"

#include <array>
#include <cmath>
#include <numbers>

#include "bitmap_font.h"

namespace qelvo::pictures {

namespace {

constexpr Colour kNavy{14, 38, 79};
constexpr Colour kDeepNavy{9, 24, 52};
constexpr Colour kTeal{18, 128, 160};
constexpr Colour kAmber{255, 176, 32};
constexpr Colour kWhite{255, 255, 255};
constexpr Colour kPaleBlue{205, 226, 242};
constexpr Colour kShadow{0, 0, 0, 110};
constexpr Colour kLedGreen{0, 213, 11};

constexpr char kProductName[] = "Qelvo User App";
constexpr char kWebAddress[] = "www.qelvo.example";

// The logo: a ring with a tail, the letter Q, with a lightning bolt inside it.
void DrawLogo(Canvas& c, double cx, double cy, double r) {
  c.FillRing(cx, cy, r, r * 0.76, kWhite);
  c.DrawLine({cx + 0.50 * r, cy + 0.50 * r}, {cx + 0.98 * r, cy + 0.98 * r}, 0.24 * r, kWhite);
  const std::array<Point, 6> bolt = {{
      {cx + 0.14 * r, cy - 0.60 * r},
      {cx - 0.32 * r, cy + 0.10 * r},
      {cx - 0.03 * r, cy + 0.10 * r},
      {cx - 0.16 * r, cy + 0.60 * r},
      {cx + 0.32 * r, cy - 0.12 * r},
      {cx + 0.03 * r, cy - 0.12 * r},
  }};
  c.FillPolygon(bolt, kAmber);
}

// Three phase currents, 120 degrees apart.
void DrawPhaseWaves(Canvas& c, double x0, double x1, double cy, double amplitude) {
  constexpr std::array<Colour, 3> kPhaseColours = {kAmber, Colour{205, 226, 242, 200},
                                                   Colour{120, 220, 235, 200}};
  constexpr double kPeriods = 2.0;
  constexpr int kSteps = 160;
  for (int phase = 0; phase < 3; ++phase) {
    const double shift = phase * 2 * std::numbers::pi / 3;
    Point last{};
    for (int i = 0; i <= kSteps; ++i) {
      const double t = double(i) / kSteps;
      const Point p{x0 + t * (x1 - x0),
                    cy - amplitude * std::sin(t * kPeriods * 2 * std::numbers::pi + shift)};
      if (i > 0)
        c.DrawLine(last, p, 3.0, kPhaseColours[phase]);
      last = p;
    }
  }
}

void DrawShadowedText(Canvas& c, double x, double y, const char* text, int scale, Colour colour) {
  DrawText(c, x + scale / 2.0 + 1, y + scale / 2.0 + 1, text, scale, kShadow);
  DrawText(c, x, y, text, scale, colour);
}

// A heat sink's fins on top of a housing, a name plate, a status lamp, the RS-232 socket
// and the two battery terminals, on a mounting flange.
void DrawControllerUnit(Canvas& c) {
  constexpr double kLeft = 14, kRight = 136, kTop = 100, kBottom = 300;
  c.FillEllipse(75, 318, 64, 9, Colour{0, 0, 0, 70});

  constexpr int kFins = 9;
  for (int i = 0; i < kFins; ++i) {
    const double x = 21 + i * 13;
    c.FillRoundedRect(x, 44, x + 9, kTop + 6, 3, Colour{150, 158, 170});
    c.FillRoundedRect(x + 1, 45, x + 5, kTop + 6, 2, Colour{204, 210, 218});
  }

  c.FillRoundedRect(6, kBottom - 22, 144, kBottom + 6, 5, Colour{128, 136, 148});
  c.FillCircle(14, kBottom - 8, 4, Colour{52, 58, 68});
  c.FillCircle(136, kBottom - 8, 4, Colour{52, 58, 68});

  c.FillShape(
      kLeft, kTop, kRight, kBottom,
      [&](double x, double y) { return InsideRoundedRect(x, y, kLeft, kTop, kRight, kBottom, 8); },
      [&](double, double y) {
        return Mix(Colour{214, 220, 228}, Colour{136, 144, 156}, (y - kTop) / (kBottom - kTop));
      });
  c.FillRect(kLeft + 4, kTop + 3, kRight - 4, kTop + 5, Colour{255, 255, 255, 120});

  c.FillRoundedRect(28, 128, 122, 178, 5, kNavy);
  DrawTextCentred(c, 75, 137, "QELVO", 2, kWhite);
  DrawTextCentred(c, 75, 163, "MOTOR CTRL", 1, kPaleBlue);

  c.FillCircle(112, 196, 5, Colour{40, 46, 54});
  c.FillCircle(112, 196, 3.2, kLedGreen);
  DrawText(c, 30, 193, "RUN", 1, Colour{40, 46, 54});

  const std::array<Point, 4> socket = {{{30, 224}, {82, 224}, {77, 246}, {35, 246}}};
  c.FillPolygon(socket, Colour{48, 54, 64});
  for (int pin = 0; pin < 5; ++pin)
    c.FillCircle(38 + pin * 9, 231, 1.8, Colour{214, 178, 82});
  for (int pin = 0; pin < 4; ++pin)
    c.FillCircle(42.5 + pin * 9, 240, 1.8, Colour{214, 178, 82});
  DrawTextCentred(c, 56, 252, "RS-232", 1, Colour{40, 46, 54});

  c.FillCircle(103, 234, 10, Colour{44, 48, 56});
  c.FillCircle(103, 234, 5.5, Colour{196, 40, 36});
  c.FillCircle(125, 234, 10, Colour{44, 48, 56});
  c.FillCircle(125, 234, 5.5, Colour{30, 30, 30});
  DrawTextCentred(c, 103, 252, "B+", 1, Colour{40, 46, 54});
  DrawTextCentred(c, 125, 252, "B-", 1, Colour{40, 46, 54});
}

void DrawTitleBadge(Canvas& c) {
  constexpr double kLeft = 10, kRight = 140, kTop = 352, kBottom = 482;
  c.FillRoundedRect(kLeft - 2, kTop - 2, kRight + 2, kBottom + 2, 14, kAmber);
  c.FillShape(
      kLeft, kTop, kRight, kBottom,
      [&](double x, double y) { return InsideRoundedRect(x, y, kLeft, kTop, kRight, kBottom, 12); },
      [&](double, double y) { return Mix(kNavy, kDeepNavy, (y - kTop) / (kBottom - kTop)); });
  DrawLogo(c, 75, 382, 18);
  DrawTextCentred(c, 75, 408, "QELVO", 4, kWhite);
  DrawTextCentred(c, 75, 442, "User App", 2, kAmber);
  DrawTextCentred(c, 75, 468, kWebAddress, 1, kPaleBlue);
}

}  // namespace

Canvas DrawBanner() {
  Canvas c(kBannerWidth, kBannerHeight, kNavy);
  c.FillHorizontalGradient(0, 0, kBannerWidth, kBannerHeight, kDeepNavy, kTeal);
  const std::array<Point, 4> band = {{{560, 0}, {650, 0}, {560, 105}, {470, 105}}};
  c.FillPolygon(band, Colour{255, 255, 255, 22});
  c.FillRect(0, kBannerHeight - 5, kBannerWidth, kBannerHeight, kAmber);

  DrawLogo(c, 56, 49, 38);
  DrawShadowedText(c, 118, 12, kProductName, 6, kWhite);
  DrawText(c, 120, 78, kWebAddress, 2, kPaleBlue);
  DrawPhaseWaves(c, 650, 840, 50, 26);
  return c;
}

Canvas DrawSidePicture() {
  Canvas c(kSideWidth, kSideHeight, kWhite);
  c.FillVerticalGradient(0, 0, kSideWidth, kSideHeight, Colour{238, 243, 248},
                         Colour{192, 207, 224});
  DrawControllerUnit(c);
  DrawTitleBadge(c);
  return c;
}

Canvas DrawIcon() {
  Canvas c(kIconSize, kIconSize, Colour{0, 0, 0, 0});
  constexpr double kInset = 6, kRadius = 24;
  constexpr double kFar = kIconSize - kInset;
  c.FillShape(
      kInset, kInset, kFar, kFar,
      [&](double x, double y) {
        return InsideRoundedRect(x, y, kInset, kInset, kFar, kFar, kRadius);
      },
      [&](double x, double y) { return Mix(kDeepNavy, kTeal, (x + y) / (2.0 * kIconSize)); });
  DrawLogo(c, 62, 60, 40);
  return c;
}

}  // namespace qelvo::pictures
