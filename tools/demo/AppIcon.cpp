#include "demo/AppIcon.h"

#include "demo/Canvas.h"
#include "graphics/PngFile.h"

namespace dovetail::tools {

namespace {

constexpr Pixel kTileTop = Rgb(222, 168, 112);
constexpr Pixel kTileBottom = Rgb(150, 92, 54);
constexpr Pixel kCup = Rgb(250, 244, 232);
constexpr Pixel kCupShade = Rgb(214, 200, 182);
constexpr Pixel kCoffee = Rgb(120, 72, 44);
constexpr Pixel kSteam = Rgb(255, 250, 240);
constexpr Pixel kStar = Rgb(255, 236, 170);

// The shapes are laid out on a 64-unit square and scaled to the size.
void PaintIcon(Sketch& s, double u) {
  FillRoundRect(s, 2 * u, 2 * u, 60 * u, 60 * u, 12 * u,
                Linear({0, 2 * u}, kTileTop, {0, 62 * u}, kTileBottom));
  FillStar(s, 49 * u, 14 * u, 5 * u, 2.2 * u, 5, kStar);
  // Saucer, cup, the coffee's surface and the handle.
  FillEllipse(s, 30 * u, 50 * u, 21 * u, 5 * u, kCupShade);
  FillEllipse(s, 30 * u, 49 * u, 19 * u, 4 * u, kCup);
  DrawArc(s, 46 * u, 37 * u, 6 * u, 5.5 * u, -80, 100, 3.4 * u, kCup);
  FillPolygon(s,
              {{14 * u, 29 * u},
               {46 * u, 29 * u},
               {43 * u, 42 * u},
               {38 * u, 48 * u},
               {22 * u, 48 * u},
               {17 * u, 42 * u}},
              Linear({14 * u, 0}, kCup, {46 * u, 0}, kCupShade));
  FillEllipse(s, 30 * u, 29 * u, 16 * u, 3.4 * u, kCup);
  FillEllipse(s, 30 * u, 29.4 * u, 13.5 * u, 2.4 * u, kCoffee);
  // Three curls of steam.
  for (const double x : {22.0, 30.0, 38.0}) {
    DrawPolyline(s,
                 {{x * u, 24 * u},
                  {(x - 2.5) * u, 20 * u},
                  {x * u, 16 * u},
                  {(x + 2.5) * u, 12 * u},
                  {x * u, 8 * u}},
                 2.6 * u, Glaze(kSteam, 0.9));
  }
}

}  // namespace

std::string AppIconPng(int32_t size) {
  Sketch sketch(size, size);
  PaintIcon(sketch, size / 64.0);
  std::vector<uint8_t> coverage;
  const Surface picture = sketch.ResolvePainted(coverage);
  return EncodePngWithAlpha(picture, coverage);
}

}  // namespace dovetail::tools
