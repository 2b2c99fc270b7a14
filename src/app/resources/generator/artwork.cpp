#include "artwork.h"

#include <array>
#include <cmath>
#include <numbers>
#include <tuple>

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
  constexpr double kPeriods = 1.5;
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

// The main window shows the side picture from its left edge, about 134 pixels wide at the
// usual font, and the banner about 745 pixels wide; what matters stays inside that.
constexpr double kSideCentreX = 67;
constexpr double kBannerWavesLeft = 645;
constexpr double kBannerWavesRight = 735;

// A heat sink's fins on top of a housing, a name plate, a status lamp, the RS-232 socket
// and the two battery terminals, on a mounting flange.
void DrawControllerUnit(Canvas& c) {
  constexpr double cx = kSideCentreX;
  constexpr double kLeft = cx - 58;
  constexpr double kRight = cx + 58;
  constexpr double kTop = 100;
  constexpr double kBottom = 300;
  constexpr Colour kDark{40, 46, 54};
  constexpr Colour kPin{214, 178, 82};
  c.FillEllipse(cx, 318, 62, 9, Colour{0, 0, 0, 70});

  constexpr int kFins = 9;
  constexpr double kFinPitch = 12;
  for (int i = 0; i < kFins; ++i) {
    const double x = cx - 52 + i * kFinPitch;
    c.FillRoundedRect(x, 44, x + 8, kTop + 6, 3, Colour{150, 158, 170});
    c.FillRoundedRect(x + 1, 45, x + 4.5, kTop + 6, 2, Colour{204, 210, 218});
  }

  c.FillRoundedRect(cx - 64, kBottom - 22, cx + 64, kBottom + 6, 5, Colour{128, 136, 148});
  c.FillCircle(cx - 56, kBottom - 8, 4, Colour{52, 58, 68});
  c.FillCircle(cx + 56, kBottom - 8, 4, Colour{52, 58, 68});

  c.FillShape(
      kLeft, kTop, kRight, kBottom,
      [&](double x, double y) { return InsideRoundedRect(x, y, kLeft, kTop, kRight, kBottom, 8); },
      [&](double, double y) {
        return Mix(Colour{214, 220, 228}, Colour{136, 144, 156}, (y - kTop) / (kBottom - kTop));
      });
  c.FillRect(kLeft + 4, kTop + 3, kRight - 4, kTop + 5, Colour{255, 255, 255, 120});

  c.FillRoundedRect(cx - 45, 128, cx + 45, 178, 5, kNavy);
  DrawTextCentred(c, cx, 137, "QELVO", 2, kWhite);
  DrawTextCentred(c, cx, 163, "MOTOR CTRL", 1, kPaleBlue);

  c.FillCircle(cx + 35, 196, 5, kDark);
  c.FillCircle(cx + 35, 196, 3.2, kLedGreen);
  DrawText(c, cx - 43, 193, "RUN", 1, kDark);

  const std::array<Point, 4> socket = {{{cx - 45, 224}, {cx + 5, 224}, {cx, 246}, {cx - 40, 246}}};
  c.FillPolygon(socket, Colour{48, 54, 64});
  for (int pin = 0; pin < 5; ++pin)
    c.FillCircle(cx - 38 + pin * 9, 231, 1.8, kPin);
  for (int pin = 0; pin < 4; ++pin)
    c.FillCircle(cx - 33.5 + pin * 9, 240, 1.8, kPin);
  DrawTextCentred(c, cx - 20, 252, "RS-232", 1, kDark);

  for (const auto& [x, core, label] : {std::tuple{cx + 27, Colour{196, 40, 36}, "B+"},
                                       std::tuple{cx + 48, Colour{30, 30, 30}, "B-"}}) {
    c.FillCircle(x, 234, 9, Colour{44, 48, 56});
    c.FillCircle(x, 234, 5, core);
    DrawTextCentred(c, x, 252, label, 1, kDark);
  }
}

void DrawTitleBadge(Canvas& c) {
  constexpr double cx = kSideCentreX;
  constexpr double kLeft = cx - 61;
  constexpr double kRight = cx + 61;
  constexpr double kTop = 352;
  constexpr double kBottom = 482;
  c.FillRoundedRect(kLeft - 2, kTop - 2, kRight + 2, kBottom + 2, 14, kAmber);
  c.FillShape(
      kLeft, kTop, kRight, kBottom,
      [&](double x, double y) { return InsideRoundedRect(x, y, kLeft, kTop, kRight, kBottom, 12); },
      [&](double, double y) { return Mix(kNavy, kDeepNavy, (y - kTop) / (kBottom - kTop)); });
  DrawLogo(c, cx, 382, 18);
  DrawTextCentred(c, cx, 408, "QELVO", 4, kWhite);
  DrawTextCentred(c, cx, 442, "User App", 2, kAmber);
  DrawTextCentred(c, cx, 468, kWebAddress, 1, kPaleBlue);
}

}  // namespace

Canvas DrawBanner() {
  Canvas c(kBannerWidth, kBannerHeight, kNavy);
  c.FillHorizontalGradient(0, 0, kBannerWidth, kBannerHeight, kDeepNavy, kTeal);
  const std::array<Point, 4> band = {{{540, 0}, {620, 0}, {540, 105}, {460, 105}}};
  c.FillPolygon(band, Colour{255, 255, 255, 22});
  c.FillRect(0, kBannerHeight - 5, kBannerWidth, kBannerHeight, kAmber);

  DrawLogo(c, 56, 49, 38);
  DrawShadowedText(c, 118, 12, kProductName, 6, kWhite);
  DrawText(c, 120, 78, kWebAddress, 2, kPaleBlue);
  DrawPhaseWaves(c, kBannerWavesLeft, kBannerWavesRight, 50, 24);
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
  constexpr double kInset = 6;
  constexpr double kRadius = 24;
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
