#include "demo/DemoFigures.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace dovetail::tools {

namespace {

constexpr Pixel kEyeWhite = Rgb(252, 252, 255);
constexpr Pixel kMouth = Rgb(150, 50, 62);
constexpr Pixel kTongue = Rgb(236, 120, 128);
constexpr Pixel kBlush = Rgb(244, 150, 150);
constexpr Pixel kLash = Rgb(52, 36, 40);

enum class Hair { Neat, Messy, Long, Bun, Bob, Pony };

enum class Outfit {
  WaiterVest,
  ShirtScarf,
  ChefJacket,
  Hoodie,
  BlouseApron,
  Yukata,
  CardiganPearls,
  Coat,
  Suit,
  Blouse,
  Jacket,
  SailorTop,
};

// What the hands do: hang at the sides, wave, carry a bag of groceries or a
// folded umbrella.
enum class Gesture { None, Wave, Bag, Umbrella };

struct Look {
  Pixel skin;
  Pixel hair;
  Pixel eyes;
  Hair hair_style;
  bool glasses;
  bool female;
  bool older;
  Outfit outfit;
  Pixel main;    // the outfit's main colour
  Pixel second;  // vest, apron, cardigan, tie or scarf
  Pixel accent;  // bow, ribbon, neckerchief or brooch
};

// Where a head sits: centre of the skull (cx, cy) and its half-width r.
// Everything else of a figure is measured in r.
struct Head {
  double cx;
  double cy;
  double r;
};

Look CharacterLook(int character, int pose) {
  const bool own = pose == 2;
  switch (character) {
    case 1:  // the tall waiter with fair hair
      return {Rgb(252, 226, 206),
              Rgb(238, 204, 128),
              Rgb(70, 118, 170),
              Hair::Neat,
              false,
              false,
              false,
              own ? Outfit::ShirtScarf : Outfit::WaiterVest,
              own ? Rgb(232, 238, 246) : Rgb(248, 248, 250),
              own ? Rgb(200, 76, 64) : Rgb(58, 56, 70),
              own ? Rgb(244, 214, 130) : Rgb(150, 36, 48)};
    case 2:  // the cook with glasses
      return {Rgb(244, 214, 188),
              Rgb(96, 64, 50),
              Rgb(90, 120, 70),
              Hair::Messy,
              true,
              false,
              false,
              own ? Outfit::Hoodie : Outfit::ChefJacket,
              own ? Rgb(112, 138, 92) : Rgb(250, 250, 246),
              own ? Rgb(236, 232, 220) : Rgb(226, 226, 222),
              own ? Rgb(240, 236, 226) : Rgb(200, 52, 52)};
    case 3:  // the pastry maker with long hair
      return {Rgb(255, 232, 218),
              Rgb(78, 46, 42),
              Rgb(168, 100, 56),
              Hair::Long,
              false,
              true,
              false,
              own ? Outfit::Yukata : Outfit::BlouseApron,
              own ? Rgb(150, 192, 232) : Rgb(248, 190, 200),
              own ? Rgb(248, 250, 255) : Rgb(252, 246, 230),
              own ? Rgb(240, 150, 176) : Rgb(220, 90, 110)};
    default:  // the regular guest, an older lady
      return {Rgb(246, 220, 198),
              Rgb(196, 196, 204),
              Rgb(100, 76, 62),
              Hair::Bun,
              false,
              true,
              true,
              own ? Outfit::Coat : Outfit::CardiganPearls,
              own ? Rgb(168, 140, 150) : Rgb(250, 244, 228),
              own ? Rgb(132, 104, 118) : Rgb(128, 92, 146),
              own ? Rgb(84, 104, 156) : Rgb(250, 248, 240)};
  }
}

// The head of a story character: placed so that every feature that changes
// with the expression (brows, eyes, mouth, cheeks, the drop of sweat) lies
// inside the face rectangle of its face-table row, spanning r · [−0.14, 1.06]
// below the skull centre and r · 0.78 to each side.
constexpr double kHeadR = 44;

Gesture GestureOf(int character, int pose) {
  if (pose != 2) return Gesture::None;
  switch (character) {
    case 1:
      return Gesture::Wave;
    case 2:
      return Gesture::Bag;
    case 4:
      return Gesture::Umbrella;
    default:
      return Gesture::None;
  }
}

Head PlaceHead(const FaceRow& row) {
  const double middle = (row.y1 + row.y2) / 2.0;
  return {(row.x1 + row.x2) / 2.0, middle - 0.46 * kHeadR, kHeadR};
}

// --- Hair -----------------------------------------------------------------

void DrawBackHair(Sketch& s, const Look& look, const Head& h, double bottom) {
  const double r = h.r;
  const Pixel back = Shade(look.hair, 0.78);
  switch (look.hair_style) {
    case Hair::Long:
      FillPolygon(s,
                  Smooth({{h.cx - 1.12 * r, h.cy - 0.2 * r},
                          {h.cx - 1.35 * r, h.cy + 1.6 * r},
                          {h.cx - 1.5 * r, std::min(bottom, h.cy + 4.2 * r)},
                          {h.cx, std::min(bottom, h.cy + 4.4 * r)},
                          {h.cx + 1.5 * r, std::min(bottom, h.cy + 4.2 * r)},
                          {h.cx + 1.35 * r, h.cy + 1.6 * r},
                          {h.cx + 1.12 * r, h.cy - 0.2 * r},
                          {h.cx, h.cy - 1.2 * r}}),
                  Linear({h.cx, h.cy}, back, {h.cx, h.cy + 4 * r}, Shade(back, 0.8)));
      break;
    case Hair::Bob:
      FillPolygon(s,
                  Smooth({{h.cx - 1.15 * r, h.cy - 0.3 * r},
                          {h.cx - 1.25 * r, h.cy + 1.0 * r},
                          {h.cx - 0.9 * r, h.cy + 1.35 * r},
                          {h.cx + 0.9 * r, h.cy + 1.35 * r},
                          {h.cx + 1.25 * r, h.cy + 1.0 * r},
                          {h.cx + 1.15 * r, h.cy - 0.3 * r},
                          {h.cx, h.cy - 1.2 * r}}),
                  back);
      break;
    case Hair::Pony:
      FillEllipse(s, h.cx, h.cy - 0.05 * r, 1.12 * r, 1.15 * r, back);
      FillPolygon(s,
                  Smooth({{h.cx + 0.7 * r, h.cy - 0.6 * r},
                          {h.cx + 1.5 * r, h.cy + 0.4 * r},
                          {h.cx + 1.3 * r, h.cy + 1.9 * r},
                          {h.cx + 1.0 * r, h.cy + 0.6 * r}}),
                  back);
      break;
    case Hair::Bun:
      FillEllipse(s, h.cx, h.cy - 0.05 * r, 1.1 * r, 1.12 * r, back);
      FillEllipse(s, h.cx + 0.15 * r, h.cy - 1.12 * r, 0.52 * r, 0.44 * r,
                  Radial({h.cx + 0.05 * r, h.cy - 1.25 * r}, 0.6 * r, 0.5 * r, Tint(look.hair, 0.2),
                         Shade(look.hair, 0.8)));
      DrawArc(s, h.cx + 0.15 * r, h.cy - 1.12 * r, 0.32 * r, 0.24 * r, 160, 330, 0.05 * r,
              Shade(look.hair, 0.7));
      break;
    case Hair::Neat:
    case Hair::Messy:
      FillEllipse(s, h.cx, h.cy - 0.02 * r, 1.12 * r, 1.14 * r, back);
      break;
  }
}

// The hair over the forehead: a cap over the skull closed by the tips of the
// locks along the fringe (given from the right temple to the left one as
// (x, y) in r from the skull centre).
void DrawFringe(Sketch& s, const Look& look, const Head& h) {
  const double r = h.r;
  std::vector<std::pair<double, double>> tips;
  switch (look.hair_style) {
    case Hair::Neat:  // swept to the side
      tips = {{1.08, 0.55}, {0.95, 0.05}, {0.7, 0.2},   {0.45, -0.1}, {0.2, 0.12},
              {-0.1, -0.2}, {-0.3, 0.0},  {-0.6, -0.3}, {-0.85, 0.1}, {-1.06, 0.5}};
      break;
    case Hair::Messy:
      tips = {{1.1, 0.6},   {0.95, 0.1},    {0.75, 0.28}, {0.55, -0.05}, {0.3, 0.22}, {0.05, -0.08},
              {-0.2, 0.24}, {-0.45, -0.04}, {-0.7, 0.25}, {-0.92, 0.05}, {-1.1, 0.6}};
      break;
    case Hair::Long:  // parted a little off the middle
      tips = {{1.06, 0.9},  {0.95, 0.25}, {0.7, 0.18},   {0.45, 0.0}, {0.2, -0.25}, {0.08, -0.5},
              {-0.1, -0.2}, {-0.35, 0.1}, {-0.62, 0.16}, {-0.9, 0.3}, {-1.06, 0.9}};
      break;
    case Hair::Bob:
      tips = {{1.1, 0.7},   {0.9, 0.05},  {0.6, 0.08},  {0.3, 0.02}, {0.0, 0.08},
              {-0.3, 0.02}, {-0.6, 0.08}, {-0.9, 0.05}, {-1.1, 0.7}};
      break;
    case Hair::Pony:
      tips = {{1.06, 0.5},   {0.85, 0.0},  {0.5, 0.1},   {0.2, -0.15},
              {-0.15, 0.05}, {-0.5, -0.1}, {-0.85, 0.1}, {-1.06, 0.5}};
      break;
    case Hair::Bun:  // swept back, a soft wave over one side
      tips = {{1.06, 0.35},  {0.9, -0.1},  {0.5, -0.45},  {0.1, -0.6},
              {-0.3, -0.45}, {-0.7, -0.2}, {-0.95, 0.15}, {-1.06, 0.4}};
      break;
  }
  std::vector<Point> cap = ArcPoints(h.cx, h.cy - 0.02 * r, 1.1 * r, 1.14 * r, 175, 365, 30);
  for (const auto& [x, y] : tips) {
    // Each lock ends in a point: half-way to the next tip the edge rises.
    cap.push_back({h.cx + x * r, h.cy + y * r});
  }
  // Curved locks: every tip joined to the next by a slight inward bow.
  std::vector<Point> shape;
  const size_t arc = cap.size() - tips.size();
  for (size_t i = 0; i < cap.size(); ++i) {
    shape.push_back(cap[i]);
    if (i >= arc && i + 1 < cap.size()) {
      const Point a = cap[i];
      const Point b = cap[i + 1];
      shape.push_back({(a.x + b.x) / 2, std::min(a.y, b.y) - 0.12 * r});
    }
  }
  const Pixel light = Tint(look.hair, 0.12);
  FillPolygon(s, shape,
              Linear({h.cx, h.cy - 1.1 * r}, light, {h.cx, h.cy + 0.6 * r}, Shade(look.hair, 0.9)));
  // Strands and the shine across the crown.
  for (size_t i = arc + 1; i + 1 < cap.size(); ++i) {
    const Point tip = cap[i];
    DrawLine(s, {h.cx + (tip.x - h.cx) * 0.6, h.cy - 0.75 * r}, tip, std::max(1.0, 0.035 * r),
             Glaze(Shade(look.hair, 0.7), 0.7));
  }
  const Pixel shine = Tint(look.hair, 0.45);
  DrawArc(s, h.cx - 0.05 * r, h.cy - 0.1 * r, 0.78 * r, 0.72 * r, 205, 245, 0.09 * r,
          Glaze(shine, 0.8));
  DrawArc(s, h.cx - 0.05 * r, h.cy - 0.1 * r, 0.78 * r, 0.72 * r, 255, 285, 0.07 * r,
          Glaze(shine, 0.6));
}

void DrawSideLocks(Sketch& s, const Look& look, const Head& h) {
  const double r = h.r;
  if (look.hair_style != Hair::Long && look.hair_style != Hair::Bob) return;
  const double length = look.hair_style == Hair::Long ? 2.6 : 1.3;
  for (int side : {-1, 1}) {
    const double x = h.cx + side * 1.0 * r;
    FillPolygon(s,
                Smooth({{x - side * 0.12 * r, h.cy - 0.3 * r},
                        {x + side * 0.16 * r, h.cy + 0.2 * r},
                        {x + side * 0.14 * r, h.cy + length * r},
                        {x - side * 0.04 * r, h.cy + (length + 0.25) * r},
                        {x - side * 0.14 * r, h.cy + 0.5 * r}}),
                Linear({x, h.cy}, look.hair, {x, h.cy + length * r}, Shade(look.hair, 0.82)));
    DrawLine(s, {x, h.cy + 0.1 * r}, {x + side * 0.02 * r, h.cy + (length - 0.1) * r},
             std::max(1.0, 0.035 * r), Glaze(Shade(look.hair, 0.7), 0.7));
  }
}

// --- Face -----------------------------------------------------------------

Brush SkinBrush(const Look& look, const Head& h) {
  return Radial({h.cx - 0.2 * h.r, h.cy + 0.3 * h.r}, 1.3 * h.r, 1.3 * h.r, Tint(look.skin, 0.25),
                Shade(look.skin, 0.95));
}

void DrawSkull(Sketch& s, const Look& look, const Head& h) {
  const double r = h.r;
  // Ears, then the face from the skull down to a soft chin.
  for (int side : {-1, 1}) {
    FillEllipse(s, h.cx + side * 0.98 * r, h.cy + 0.45 * r, 0.16 * r, 0.24 * r,
                Shade(look.skin, 0.92));
  }
  const double chin = look.older ? 1.14 : 1.2;
  std::vector<Point> face = ArcPoints(h.cx, h.cy, r, 1.05 * r, 180, 360, 20);
  face.push_back({h.cx + 0.99 * r, h.cy + 0.35 * r});
  face.push_back({h.cx + 0.86 * r, h.cy + 0.78 * r});
  face.push_back({h.cx + 0.5 * r, h.cy + 1.06 * r});
  face.push_back({h.cx + 0.15 * r, h.cy + chin * r});
  face.push_back({h.cx - 0.15 * r, h.cy + chin * r});
  face.push_back({h.cx - 0.5 * r, h.cy + 1.06 * r});
  face.push_back({h.cx - 0.86 * r, h.cy + 0.78 * r});
  face.push_back({h.cx - 0.99 * r, h.cy + 0.35 * r});
  FillPolygon(s, Smooth(face, 3), SkinBrush(look, h));
  // The shadow the fringe casts on the forehead.
  FillEllipse(s, h.cx, h.cy - 0.05 * r, 0.98 * r, 0.42 * r, Glaze(Shade(look.skin, 0.82), 0.5));
  // The nose: a light stroke and a touch of shade.
  DrawLine(s, {h.cx + 0.03 * r, h.cy + 0.6 * r}, {h.cx + 0.06 * r, h.cy + 0.7 * r},
           std::max(1.0, 0.04 * r), Shade(look.skin, 0.78));
  if (look.older) {
    for (int side : {-1, 1}) {
      DrawArc(s, h.cx + side * 0.32 * r, h.cy + 0.72 * r, 0.12 * r, 0.2 * r, side < 0 ? 100 : -10,
              side < 0 ? 190 : 80, std::max(1.0, 0.025 * r), Glaze(Shade(look.skin, 0.8), 0.8));
    }
  }
}

void DrawOpenEye(Sketch& s, const Look& look, double ex, double ey, int side, double r,
                 double scale, Expression face) {
  const double w = 0.19 * r;
  const double hgt = (look.older ? 0.17 : 0.22) * r * scale;
  FillEllipse(s, ex, ey, w, hgt, kEyeWhite);
  const double irisW = (face == Expression::Surprised ? 0.09 : 0.13) * r;
  const double irisH = (face == Expression::Surprised ? 0.13 : 0.19) * r * scale;
  const double ix = ex + side * 0.015 * r;
  const double iy = ey + 0.03 * r;
  FillEllipse(
      s, ix, iy, irisW, irisH,
      Linear({ix, iy - irisH}, Shade(look.eyes, 0.55), {ix, iy + irisH}, Tint(look.eyes, 0.35)));
  FillEllipse(s, ix, iy + 0.01 * r, irisW * 0.48, irisH * 0.5, Shade(look.eyes, 0.35));
  FillEllipse(s, ix - 0.045 * r, iy - 0.06 * r, 0.045 * r, 0.05 * r, kEyeWhite);
  FillEllipse(s, ix + 0.045 * r, iy + 0.08 * r, 0.022 * r, 0.022 * r, Glaze(kEyeWhite, 0.85));
  // The upper lid line, heavier towards the outer corner, and a short lower
  // lash.
  std::vector<Point> lid = ArcPoints(ex, ey + 0.02 * r, w * 1.08, hgt * 1.05 + 0.02 * r,
                                     side < 0 ? 195 : 200, side < 0 ? 340 : 345, 10);
  const double lidW = std::max(1.2, (look.female ? 0.065 : 0.05) * r);
  DrawPolyline(s, lid, lidW, kLash);
  const Point outer = side < 0 ? lid.front() : lid.back();
  if (look.female) {
    DrawLine(s, outer, {outer.x + side * 0.07 * r, outer.y - 0.05 * r}, lidW * 0.8, kLash);
  }
  DrawLine(s, {ex + side * 0.06 * r, ey + hgt + 0.01 * r}, {ex + side * 0.15 * r, ey + hgt * 0.7},
           std::max(1.0, 0.025 * r), Glaze(kLash, 0.7));
}

void DrawEyes(Sketch& s, const Look& look, const Head& h, Expression face) {
  const double r = h.r;
  const double ey = h.cy + 0.38 * r;
  for (int side : {-1, 1}) {
    const double ex = h.cx + side * 0.4 * r;
    switch (face) {
      case Expression::Happy:
        DrawArc(s, ex, ey + 0.1 * r, 0.16 * r, 0.13 * r, 200, 340, std::max(1.3, 0.055 * r), kLash);
        break;
      case Expression::Surprised:
        DrawOpenEye(s, look, ex, ey - 0.01 * r, side, r, 1.08, face);
        break;
      case Expression::Neutral:
        DrawOpenEye(s, look, ex, ey, side, r, 1.0, face);
        break;
      case Expression::Troubled:
      case Expression::Angry: {
        DrawOpenEye(s, look, ex, ey, side, r, 1.0, face);
        // A lowered lid: higher at the inner corner when troubled, lower
        // there when angry.
        const double inner = face == Expression::Troubled ? -0.16 : -0.04;
        const double outer = face == Expression::Troubled ? -0.04 : -0.16;
        const Point a{ex - side * 0.22 * r, ey + inner * r};
        const Point b{ex + side * 0.22 * r, ey + outer * r};
        FillPolygon(s, {{a.x, ey - 0.3 * r}, {b.x, ey - 0.3 * r}, b, a}, SkinBrush(look, h));
        DrawLine(s, a, b, std::max(1.2, 0.05 * r), kLash);
        break;
      }
    }
  }
}

void DrawMouth(Sketch& s, const Look& look, const Head& h, Expression face) {
  const double r = h.r;
  const double my = h.cy + 0.88 * r;
  const double line = std::max(1.1, 0.035 * r);
  switch (face) {
    case Expression::Neutral:
      DrawArc(s, h.cx, my - 0.08 * r, 0.12 * r, 0.07 * r, 35, 145, line, kMouth);
      break;
    case Expression::Happy: {
      std::vector<Point> smile = ArcPoints(h.cx, my - 0.04 * r, 0.17 * r, 0.15 * r, 0, 180, 12);
      FillPolygon(s, smile, kMouth);
      FillEllipse(s, h.cx, my + 0.06 * r, 0.08 * r, 0.04 * r, kTongue);
      break;
    }
    case Expression::Surprised:
      FillEllipse(s, h.cx, my + 0.01 * r, 0.07 * r, 0.09 * r, kMouth);
      FillEllipse(s, h.cx, my + 0.05 * r, 0.045 * r, 0.035 * r, kTongue);
      break;
    case Expression::Troubled:
      DrawPolyline(s,
                   {{h.cx - 0.13 * r, my},
                    {h.cx - 0.05 * r, my - 0.03 * r},
                    {h.cx + 0.04 * r, my},
                    {h.cx + 0.12 * r, my - 0.03 * r}},
                   line, kMouth);
      // A drop of sweat at the temple.
      FillPolygon(s,
                  Smooth({{h.cx + 0.7 * r, h.cy + 0.05 * r},
                          {h.cx + 0.75 * r, h.cy + 0.2 * r},
                          {h.cx + 0.7 * r, h.cy + 0.26 * r},
                          {h.cx + 0.65 * r, h.cy + 0.2 * r}}),
                  Rgb(170, 214, 250));
      break;
    case Expression::Angry:
      DrawArc(s, h.cx, my + 0.06 * r, 0.13 * r, 0.07 * r, 205, 335, line * 1.2, kMouth);
      break;
  }
  if (face == Expression::Happy || face == Expression::Angry) {
    const Pixel cheek = face == Expression::Angry ? Rgb(236, 110, 100) : kBlush;
    for (int side : {-1, 1}) {
      FillEllipse(s, h.cx + side * 0.56 * r, h.cy + 0.68 * r, 0.14 * r, 0.06 * r,
                  Glaze(cheek, 0.6));
    }
  } else if (look.female) {
    for (int side : {-1, 1}) {
      FillEllipse(s, h.cx + side * 0.56 * r, h.cy + 0.68 * r, 0.12 * r, 0.05 * r,
                  Glaze(kBlush, 0.3));
    }
  }
}

void DrawGlasses(Sketch& s, const Head& h) {
  const double r = h.r;
  const double ey = h.cy + 0.4 * r;
  const Pixel frame = Rgb(70, 58, 66);
  const double line = std::max(1.2, 0.04 * r);
  for (int side : {-1, 1}) {
    const double ex = h.cx + side * 0.41 * r;
    FillRoundRect(s, ex - 0.25 * r, ey - 0.2 * r, 0.5 * r, 0.38 * r, 0.12 * r,
                  Glaze(Rgb(220, 236, 250), 0.18));
    DrawPolyline(s,
                 Smooth({{ex - 0.25 * r, ey - 0.18 * r},
                         {ex + 0.25 * r, ey - 0.18 * r},
                         {ex + 0.24 * r, ey + 0.14 * r},
                         {ex - 0.24 * r, ey + 0.14 * r}},
                        4),
                 line, frame);
    DrawLine(s, {ex - 0.25 * r, ey - 0.18 * r}, {ex - 0.25 * r, ey - 0.18 * r}, line, frame);
    DrawLine(s, {ex + side * 0.25 * r, ey - 0.12 * r}, {h.cx + side * 0.98 * r, ey - 0.16 * r},
             line, frame);
  }
  DrawArc(s, h.cx, ey - 0.08 * r, 0.16 * r, 0.08 * r, 200, 340, line, frame);
}

void DrawHead(Sketch& s, const Look& look, const Head& h, Expression face) {
  DrawSkull(s, look, h);
  DrawEyes(s, look, h, face);
  DrawMouth(s, look, h, face);
  DrawFringe(s, look, h);
  DrawSideLocks(s, look, h);
  if (look.glasses) DrawGlasses(s, h);
  // Brows show through the fringe, as drawn characters' brows do.
  const double r = h.r;
  const Pixel brow = Shade(look.hair, 0.55);
  const double by = h.cy + (face == Expression::Surprised ? -0.02 : 0.06) * r;
  double innerLift = 0;
  if (face == Expression::Troubled) innerLift = -0.09 * r;
  if (face == Expression::Angry) innerLift = 0.1 * r;
  for (int side : {-1, 1}) {
    DrawPolyline(s,
                 {{h.cx + side * 0.2 * r, by + innerLift},
                  {h.cx + side * 0.42 * r, by - 0.05 * r},
                  {h.cx + side * 0.62 * r, by + 0.02 * r - innerLift * 0.3}},
                 std::max(1.2, 0.045 * r), Glaze(brow, 0.75));
  }
}

// --- Body -----------------------------------------------------------------

struct Frame {
  double cx;
  double neckTop;
  double shoulderY;
  double half;    // half the shoulder width
  double bottom;  // below the picture's bottom edge
  double r;
};

Frame BodyFrame(const Look& look, const Head& h, double bottom) {
  const double r = h.r;
  const double half = look.female ? (look.older ? 1.55 : 1.42) : 1.72;
  return {h.cx, h.cy + 0.8 * r, h.cy + 1.62 * r, half * r, bottom + 4, r};
}

// Half the body's width at height y, `widen` r wider: the shoulders, a
// narrower waist and the hips.
double BodyHalfWidth(const Frame& f, double y, double widen) {
  const double r = f.r;
  const double t = (y - f.shoulderY) / r;
  const double w = f.half + widen * r;
  if (t < 0.5) return w - 0.25 * r + 0.25 * r * std::clamp(t / 0.5, 0.0, 1.0);
  if (t < 3.6) return w - (t - 0.5) / 3.1 * 0.55 * r;
  return w - 0.55 * r + std::min(0.2, (t - 3.6) * 0.1) * r;
}

std::vector<Point> TorsoOutline(const Frame& f, double widen = 0) {
  const double r = f.r;
  std::vector<Point> right = {{f.cx + 0.6 * r, f.shoulderY - 0.16 * r}};
  for (double t : {0.05, 0.5, 1.6, 2.6, 3.6, 5.0})
    right.push_back({f.cx + BodyHalfWidth(f, f.shoulderY + t * r, widen), f.shoulderY + t * r});
  right.push_back({f.cx + BodyHalfWidth(f, f.bottom, widen), f.bottom});
  std::vector<Point> outline = {{f.cx, f.shoulderY - 0.2 * r}};
  outline.insert(outline.end(), right.begin(), right.end());
  for (auto q = right.rbegin(); q != right.rend(); ++q)
    outline.push_back({2 * f.cx - q->x, q->y});
  return Smooth(outline, 6);
}

Brush ClothBrush(const Frame& f, Pixel c) {
  return Linear({f.cx - f.half, f.shoulderY}, Tint(c, 0.12),
                {f.cx + f.half, f.shoulderY + 2.5 * f.r}, Shade(c, 0.86));
}

void DrawNeck(Sketch& s, const Look& look, const Frame& f) {
  const double r = f.r;
  const double w = look.female ? 0.24 : 0.3;
  FillRoundRect(s, f.cx - w * r, f.neckTop, 2 * w * r, f.shoulderY - f.neckTop + 0.3 * r, 0.1 * r,
                Shade(look.skin, 0.96));
  // The jaw's shadow on the neck.
  FillEllipse(s, f.cx, f.neckTop + 0.05 * r, w * r, 0.3 * r, Glaze(Shade(look.skin, 0.78), 0.7));
}

// The seams where the arms meet the body, and the arm raised to wave in pose 2.
// The arms hang at the sides in front of the body, each with an outline
// that parts it from the body; in pose 2 the right one is raised in a wave.
void DrawArms(Sketch& s, const Look& look, const Frame& f, Pixel sleeve, bool wave) {
  const double r = f.r;
  const Pixel edge = Shade(sleeve, 0.62);
  for (int side : {-1, 1}) {
    if (wave && side > 0) continue;
    const Point shoulder{f.cx + side * (f.half - 0.34 * r), f.shoulderY + 0.32 * r};
    const Point elbow{f.cx + side * (f.half + 0.02 * r), f.shoulderY + 2.9 * r};
    const Point wrist{f.cx + side * (f.half - 0.22 * r), f.shoulderY + 5.3 * r};
    FillEllipse(s, wrist.x, wrist.y + 0.42 * r, 0.24 * r, 0.34 * r, Shade(look.skin, 0.95));
    DrawPolyline(s, {shoulder, elbow, wrist}, 0.74 * r, edge);
    const Brush cloth = Linear({shoulder.x - side * 0.3 * r, 0}, Shade(sleeve, 0.86),
                               {shoulder.x + side * 0.3 * r, 0}, Tint(sleeve, 0.08));
    DrawLine(s, shoulder, elbow, 0.66 * r, cloth);
    DrawLine(s, elbow, wrist, 0.6 * r, cloth);
    DrawLine(s, {elbow.x - side * 0.12 * r, elbow.y - 0.3 * r},
             {elbow.x - side * 0.02 * r, elbow.y + 0.25 * r}, std::max(1.0, 0.035 * r),
             Glaze(edge, 0.6));
    FillRoundRect(s, wrist.x - 0.32 * r, wrist.y - 0.1 * r, 0.64 * r, 0.2 * r, 0.08 * r,
                  Shade(sleeve, 0.9));
  }
  if (!wave) return;
  // The right arm bent up at the elbow, the open hand beside the shoulder.
  const Point shoulder{f.cx + f.half - 0.34 * r, f.shoulderY + 0.32 * r};
  const Point elbow{f.cx + f.half + 0.3 * r, f.shoulderY + 2.3 * r};
  const Point wrist{f.cx + f.half + 0.5 * r, f.shoulderY + 0.35 * r};
  DrawPolyline(s, {shoulder, elbow, wrist}, 0.74 * r, edge);
  DrawLine(s, shoulder, elbow, 0.66 * r, Shade(sleeve, 0.92));
  DrawLine(s, elbow, wrist, 0.6 * r, sleeve);
  FillRoundRect(s, wrist.x - 0.32 * r, wrist.y - 0.1 * r, 0.64 * r, 0.2 * r, 0.08 * r,
                Shade(sleeve, 0.9));
  const Pixel hand = look.skin;
  FillPolygon(
      s,
      Smooth({{wrist.x - 0.2 * r, wrist.y - 0.05 * r},
              {wrist.x - 0.24 * r, wrist.y - 0.4 * r},
              {wrist.x - 0.1 * r, wrist.y - 0.68 * r},
              {wrist.x + 0.1 * r, wrist.y - 0.7 * r},
              {wrist.x + 0.26 * r, wrist.y - 0.5 * r},
              {wrist.x + 0.22 * r, wrist.y - 0.05 * r}}),
      Linear({wrist.x, wrist.y - 0.6 * r}, Tint(hand, 0.2), {wrist.x, wrist.y}, Shade(hand, 0.92)));
  for (int i = 0; i < 3; ++i) {
    const double x = wrist.x - 0.08 * r + 0.1 * i * r;
    DrawLine(s, {x, wrist.y - 0.64 * r}, {x, wrist.y - 0.42 * r}, std::max(1.0, 0.02 * r),
             Glaze(Shade(hand, 0.75), 0.7));
  }
  FillEllipse(s, wrist.x - 0.26 * r, wrist.y - 0.26 * r, 0.08 * r, 0.16 * r, hand);
}

void DrawButtons(Sketch& s, double x, double top, double step, int count, double r, Pixel c) {
  for (int i = 0; i < count; ++i) {
    FillEllipse(s, x, top + i * step, 0.055 * r, 0.055 * r, c);
    FillEllipse(s, x - 0.015 * r, top + i * step - 0.015 * r, 0.02 * r, 0.02 * r,
                Glaze(kWhite, 0.6));
  }
}

// A shirt's pointed collar on both sides of the neck.
void DrawShirtCollar(Sketch& s, const Frame& f, Pixel c, double open) {
  const double r = f.r;
  for (int side : {-1, 1}) {
    FillPolygon(s,
                {{f.cx + side * 0.32 * r, f.shoulderY - 0.3 * r},
                 {f.cx + side * 0.62 * r, f.shoulderY - 0.05 * r},
                 {f.cx + side * (0.3 + open) * r, f.shoulderY + 0.5 * r},
                 {f.cx + side * 0.02 * r, f.shoulderY + 0.15 * r}},
                Tint(c, 0.3));
    DrawPolyline(s,
                 {{f.cx + side * 0.62 * r, f.shoulderY - 0.05 * r},
                  {f.cx + side * (0.3 + open) * r, f.shoulderY + 0.5 * r},
                  {f.cx + side * 0.02 * r, f.shoulderY + 0.15 * r}},
                 std::max(1.0, 0.03 * r), Glaze(Shade(c, 0.65), 0.7));
  }
}

// Two front panels (vest, cardigan, jacket) leaving a V open down to `vDepth`.
void DrawFrontPanels(Sketch& s, const Frame& f, Pixel c, double inset, double vDepth,
                     double vWidth) {
  const double r = f.r;
  for (int side : {-1, 1}) {
    std::vector<Point> panel = {{f.cx + side * 0.62 * r, f.shoulderY - 0.14 * r}};
    for (double t : {0.1, 0.5, 1.6, 2.6, 3.6, 5.0}) {
      const double y = f.shoulderY + t * r;
      panel.push_back({f.cx + side * (BodyHalfWidth(f, y, 0) - inset * r), y});
    }
    panel.push_back({f.cx + side * (BodyHalfWidth(f, f.bottom, 0) - inset * r), f.bottom});
    panel.push_back({f.cx, f.bottom});
    panel.push_back({f.cx, f.shoulderY + vDepth * r});
    panel.push_back({f.cx + side * vWidth * r, f.shoulderY + 0.3 * r});
    FillPolygon(s, panel, ClothBrush(f, c));
  }
  DrawLine(s, {f.cx, f.shoulderY + vDepth * r}, {f.cx, f.bottom}, std::max(1.0, 0.03 * r),
           Shade(c, 0.7));
}

void DrawApron(Sketch& s, const Frame& f, Pixel c, double top, bool bib) {
  const double r = f.r;
  const double w = f.half - 0.5 * r;
  if (bib) {
    for (int side : {-1, 1}) {
      DrawLine(s, {f.cx + side * 0.55 * r, f.shoulderY + 0.8 * r},
               {f.cx + side * 0.9 * r, f.shoulderY - 0.05 * r}, 0.14 * r, Shade(c, 0.92));
    }
    FillRoundRect(s, f.cx - 0.62 * r, f.shoulderY + 0.7 * r, 1.24 * r, f.bottom, 0.12 * r,
                  ClothBrush(f, c));
  }
  FillPolygon(s,
              {{f.cx - w, top},
               {f.cx + w, top},
               {f.cx + w + 0.1 * r, f.bottom},
               {f.cx - w - 0.1 * r, f.bottom}},
              ClothBrush(f, c));
  FillRect(s, f.cx - w - 0.05 * r, top - 0.05 * r, 2 * w + 0.1 * r, 0.14 * r, Shade(c, 0.85));
  for (double x : {-0.5, 0.4}) {
    DrawLine(s, {f.cx + x * w, top + 0.3 * r}, {f.cx + x * w * 1.05, f.bottom},
             std::max(1.0, 0.03 * r), Glaze(Shade(c, 0.75), 0.6));
  }
}

// A paper bag of groceries held against the body with the left arm: a loaf
// and a leek stick out of it.
void DrawGroceryBag(Sketch& s, const Look& look, const Frame& f) {
  const double r = f.r;
  const double left = f.cx - f.half - 0.25 * r;
  const double top = f.shoulderY + 2.1 * r;
  DrawLine(s, {left + 0.5 * r, top + 0.2 * r}, {left + 0.9 * r, top - 1.2 * r}, 0.22 * r,
           Rgb(236, 240, 230));
  DrawLine(s, {left + 0.7 * r, top - 0.9 * r}, {left + 0.95 * r, top - 1.6 * r}, 0.24 * r,
           Rgb(90, 160, 70));
  FillRoundRect(
      s, left + 0.9 * r, top - 1.1 * r, 0.42 * r, 1.4 * r, 0.2 * r,
      Linear({left + 0.9 * r, 0}, Rgb(236, 190, 120), {left + 1.3 * r, 0}, Rgb(196, 140, 80)));
  FillPolygon(s,
              {{left, top},
               {left + 1.7 * r, top},
               {left + 1.6 * r, top + 2.3 * r},
               {left + 0.1 * r, top + 2.3 * r}},
              Linear({left, 0}, Rgb(222, 190, 140), {left + 1.7 * r, 0}, Rgb(190, 150, 100)));
  FillPolygon(s,
              {{left, top},
               {left + 1.7 * r, top},
               {left + 1.6 * r, top + 0.2 * r},
               {left + 0.1 * r, top + 0.2 * r}},
              Rgb(170, 130, 86));
  // The hand over the bag's edge.
  FillEllipse(s, left + 1.35 * r, top + 0.25 * r, 0.26 * r, 0.2 * r, look.skin);
}

// A folded umbrella hooked over the right forearm.
void DrawFoldedUmbrella(Sketch& s, const Look& look, const Frame& f) {
  const double r = f.r;
  const Point hook{f.cx + f.half - 0.5 * r, f.shoulderY + 3.3 * r};
  const Point tip{f.cx + f.half + 0.7 * r, f.bottom};
  DrawArc(s, hook.x - 0.18 * r, hook.y, 0.18 * r, 0.2 * r, 180, 360, 0.1 * r, Rgb(120, 80, 50));
  std::vector<Point> folded = {{hook.x - 0.02 * r, hook.y},
                               {hook.x + 0.14 * r, hook.y},
                               {tip.x + 0.2 * r, tip.y - 1.8 * r},
                               {tip.x, tip.y},
                               {tip.x - 0.25 * r, tip.y - 1.8 * r}};
  FillPolygon(s, folded,
              Linear({hook.x, 0}, Tint(look.accent, 0.15), {tip.x, 0}, Shade(look.accent, 0.8)));
  DrawLine(s, {hook.x + 0.06 * r, hook.y}, {tip.x, tip.y}, std::max(1.0, 0.03 * r),
           Glaze(Shade(look.accent, 0.6), 0.7));
}

void DrawOutfit(Sketch& s, const Look& look, const Frame& f, Gesture gesture) {
  const double r = f.r;
  const Pixel main = look.main;
  Pixel sleeve = main;
  switch (look.outfit) {
    case Outfit::CardiganPearls:
    case Outfit::Jacket:
    case Outfit::Suit:
      sleeve = look.second;
      break;
    default:
      break;
  }
  // The shirt or blouse under the suit and the jacket.
  Pixel body = main;
  if (look.outfit == Outfit::Suit) body = Rgb(246, 246, 250);
  if (look.outfit == Outfit::Jacket) body = look.accent;
  DrawNeck(s, look, f);
  FillPolygon(s, TorsoOutline(f), ClothBrush(f, body));
  switch (look.outfit) {
    case Outfit::WaiterVest: {
      // White shirt, dark vest with its buttons, bow tie, long apron.
      DrawFrontPanels(s, f, look.second, 0.42, 1.5, 0.34);
      DrawShirtCollar(s, f, main, 0.05);
      DrawButtons(s, f.cx + 0.1 * r, f.shoulderY + 1.75 * r, 0.42 * r, 3, r, Rgb(200, 190, 160));
      const Point knot{f.cx, f.shoulderY + 0.12 * r};
      for (int side : {-1, 1}) {
        FillPolygon(s,
                    Smooth({knot,
                            {knot.x + side * 0.3 * r, knot.y - 0.16 * r},
                            {knot.x + side * 0.34 * r, knot.y + 0.15 * r}},
                           3),
                    Shade(look.accent, side < 0 ? 1.0 : 0.88));
      }
      FillRoundRect(s, knot.x - 0.08 * r, knot.y - 0.09 * r, 0.16 * r, 0.18 * r, 0.05 * r,
                    Shade(look.accent, 0.8));
      DrawApron(s, f, Rgb(54, 50, 60), f.shoulderY + 3.2 * r, false);
      break;
    }
    case Outfit::ShirtScarf: {
      // A light shirt open at the neck and a striped scarf with its ends
      // hanging down the front.
      DrawShirtCollar(s, f, main, 0.12);
      DrawButtons(s, f.cx - 0.05 * r, f.shoulderY + 1.4 * r, 0.5 * r, 4, r, Rgb(220, 220, 226));
      const Pixel scarf = look.second;
      FillRoundRect(s, f.cx - 0.62 * r, f.shoulderY - 0.34 * r, 1.24 * r, 0.42 * r, 0.2 * r,
                    ClothBrush(f, scarf));
      for (double x : {-0.3, 0.1}) {
        FillPolygon(s,
                    {{f.cx + x * r, f.shoulderY},
                     {f.cx + (x + 0.3) * r, f.shoulderY},
                     {f.cx + (x + 0.36) * r, f.shoulderY + 2.3 * r},
                     {f.cx + (x + 0.02) * r, f.shoulderY + 2.3 * r}},
                    ClothBrush(f, x < 0 ? Shade(scarf, 0.9) : scarf));
        for (double t : {0.7, 1.2, 1.7}) {
          FillRect(s, f.cx + (x + 0.01 + t * 0.01) * r, f.shoulderY + t * r, 0.31 * r, 0.1 * r,
                   look.accent);
        }
        for (int i = 0; i < 4; ++i) {
          DrawLine(s, {f.cx + (x + 0.05 + 0.09 * i) * r, f.shoulderY + 2.3 * r},
                   {f.cx + (x + 0.06 + 0.09 * i) * r, f.shoulderY + 2.55 * r},
                   std::max(1.0, 0.04 * r), Shade(scarf, 0.85));
        }
      }
      break;
    }
    case Outfit::ChefJacket: {
      // Double-breasted white jacket with a standing collar and a neckerchief.
      for (double x : {-0.08, 0.55}) {
        DrawLine(s, {f.cx + x * r, f.shoulderY + 0.4 * r}, {f.cx + x * r, f.bottom},
                 std::max(1.0, 0.03 * r), Glaze(Shade(main, 0.75), 0.7));
      }
      DrawButtons(s, f.cx - 0.35 * r, f.shoulderY + 0.75 * r, 0.5 * r, 5, r, Rgb(190, 190, 196));
      DrawButtons(s, f.cx + 0.3 * r, f.shoulderY + 0.75 * r, 0.5 * r, 5, r, Rgb(190, 190, 196));
      FillRoundRect(s, f.cx - 0.42 * r, f.shoulderY - 0.32 * r, 0.84 * r, 0.32 * r, 0.1 * r,
                    Shade(main, 0.93));
      FillPolygon(s,
                  Smooth({{f.cx - 0.3 * r, f.shoulderY - 0.05 * r},
                          {f.cx + 0.3 * r, f.shoulderY - 0.05 * r},
                          {f.cx + 0.05 * r, f.shoulderY + 0.5 * r}},
                         3),
                  look.accent);
      FillEllipse(s, f.cx, f.shoulderY + 0.02 * r, 0.12 * r, 0.1 * r, Shade(look.accent, 0.8));
      break;
    }
    case Outfit::Hoodie: {
      // The hood behind the neck, the drawstrings and a front pocket.
      FillPolygon(s,
                  Smooth({{f.cx - 0.85 * r, f.shoulderY - 0.1 * r},
                          {f.cx, f.shoulderY + 0.45 * r},
                          {f.cx + 0.85 * r, f.shoulderY - 0.1 * r},
                          {f.cx, f.shoulderY - 0.05 * r}},
                         4),
                  Shade(main, 0.8));
      for (int side : {-1, 1}) {
        DrawLine(s, {f.cx + side * 0.18 * r, f.shoulderY + 0.35 * r},
                 {f.cx + side * 0.22 * r, f.shoulderY + 1.3 * r}, std::max(1.0, 0.05 * r),
                 look.accent);
      }
      FillRoundRect(s, f.cx - 0.8 * r, f.shoulderY + 2.4 * r, 1.6 * r, 0.8 * r, 0.2 * r,
                    Glaze(Shade(main, 0.85), 0.8));
      break;
    }
    case Outfit::BlouseApron: {
      // Blouse with a round collar and a ribbon, apron with a bib.
      DrawApron(s, f, look.second, f.shoulderY + 2.2 * r, true);
      for (int side : {-1, 1}) {
        FillEllipse(s, f.cx + side * 0.3 * r, f.shoulderY + 0.05 * r, 0.34 * r, 0.2 * r,
                    Rgb(252, 250, 246));
      }
      for (int side : {-1, 1}) {
        FillPolygon(s,
                    Smooth({{f.cx, f.shoulderY + 0.15 * r},
                            {f.cx + side * 0.26 * r, f.shoulderY},
                            {f.cx + side * 0.26 * r, f.shoulderY + 0.3 * r}},
                           3),
                    look.accent);
      }
      FillEllipse(s, f.cx, f.shoulderY + 0.15 * r, 0.07 * r, 0.07 * r, Shade(look.accent, 0.8));
      break;
    }
    case Outfit::Yukata: {
      // A summer kimono: small flowers on soft blue, the collar crossed left
      // over right, a bright sash.
      Sprinkle dots(7);
      for (int i = 0; i < 40; ++i) {
        const double y = f.shoulderY + dots.Between(0.3, 6.0) * r;
        const double x = f.cx + dots.Between(-1.0, 1.0) * BodyHalfWidth(f, y, -0.1);
        for (int k = 0; k < 5; ++k) {
          const double a = k * 1.2566 + i;
          FillEllipse(s, x + std::cos(a) * 0.05 * r, y + std::sin(a) * 0.05 * r, 0.045 * r,
                      0.045 * r, Glaze(i % 3 ? kWhite : look.accent, 0.85));
        }
      }
      FillPolygon(s,
                  {{f.cx - 0.32 * r, f.shoulderY - 0.25 * r},
                   {f.cx + 0.32 * r, f.shoulderY - 0.25 * r},
                   {f.cx, f.shoulderY + 0.9 * r}},
                  Shade(look.skin, 0.97));
      // The right side goes under, the left one over it.
      for (int side : {1, -1}) {
        DrawLine(s, {f.cx + side * 0.36 * r, f.shoulderY - 0.28 * r},
                 {f.cx + side * 0.02 * r, f.shoulderY + 1.35 * r}, 0.24 * r,
                 side > 0 ? Shade(look.second, 0.9) : look.second);
      }
      const double obi = f.shoulderY + 2.3 * r;
      const double w = BodyHalfWidth(f, obi, 0);
      FillRect(s, f.cx - w, obi, 2 * w, 0.85 * r, ClothBrush(f, look.accent));
      FillRect(s, f.cx - w, obi + 0.36 * r, 2 * w, 0.12 * r, Rgb(250, 220, 120));
      break;
    }
    case Outfit::CardiganPearls: {
      DrawFrontPanels(s, f, look.second, 0.05, 1.1, 0.42);
      DrawButtons(s, f.cx - 0.12 * r, f.shoulderY + 1.3 * r, 0.45 * r, 4, r, Rgb(236, 226, 240));
      for (int i = 0; i <= 12; ++i) {
        const double t = i / 12.0 * 3.14159265358979;
        FillEllipse(s, f.cx + 0.38 * r * std::cos(t),
                    f.shoulderY + 0.05 * r + 0.35 * r * std::sin(t), 0.055 * r, 0.055 * r,
                    Radial({f.cx, f.shoulderY}, 3 * r, 3 * r, kWhite, look.accent));
      }
      break;
    }
    case Outfit::Coat: {
      // A long coat with wide lapels, large buttons and a brooch.
      FillPolygon(s,
                  {{f.cx - 0.3 * r, f.shoulderY - 0.22 * r},
                   {f.cx + 0.3 * r, f.shoulderY - 0.22 * r},
                   {f.cx, f.shoulderY + 0.5 * r}},
                  Rgb(236, 226, 214));
      for (int side : {-1, 1}) {
        FillPolygon(s,
                    {{f.cx + side * 0.34 * r, f.shoulderY - 0.26 * r},
                     {f.cx + side * 0.9 * r, f.shoulderY + 0.05 * r},
                     {f.cx + side * 0.5 * r, f.shoulderY + 1.0 * r},
                     {f.cx + side * 0.72 * r, f.shoulderY + 1.2 * r},
                     {f.cx + side * 0.1 * r, f.shoulderY + 1.9 * r},
                     {f.cx, f.shoulderY + 0.5 * r}},
                    ClothBrush(f, look.second));
      }
      DrawButtons(s, f.cx - 0.25 * r, f.shoulderY + 2.2 * r, 0.7 * r, 4, 1.6 * r,
                  Shade(look.second, 0.8));
      DrawButtons(s, f.cx + 0.25 * r, f.shoulderY + 2.2 * r, 0.7 * r, 4, 1.6 * r,
                  Shade(look.second, 0.8));
      FillEllipse(s, f.cx - 0.6 * r, f.shoulderY + 0.55 * r, 0.1 * r, 0.1 * r, Rgb(230, 196, 100));
      break;
    }
    case Outfit::Suit: {
      DrawFrontPanels(s, f, main, 0.0, 1.7, 0.35);
      DrawShirtCollar(s, f, Rgb(246, 246, 250), 0.02);
      FillPolygon(s,
                  {{f.cx - 0.1 * r, f.shoulderY + 0.1 * r},
                   {f.cx + 0.1 * r, f.shoulderY + 0.1 * r},
                   {f.cx + 0.14 * r, f.shoulderY + 1.5 * r},
                   {f.cx, f.shoulderY + 1.7 * r},
                   {f.cx - 0.14 * r, f.shoulderY + 1.5 * r}},
                  look.accent);
      break;
    }
    case Outfit::Blouse:
      DrawShirtCollar(s, f, main, 0.1);
      FillPolygon(s,
                  Smooth({{f.cx, f.shoulderY + 0.2 * r},
                          {f.cx - 0.3 * r, f.shoulderY + 0.05 * r},
                          {f.cx - 0.25 * r, f.shoulderY + 0.4 * r}},
                         3),
                  look.accent);
      FillPolygon(s,
                  Smooth({{f.cx, f.shoulderY + 0.2 * r},
                          {f.cx + 0.3 * r, f.shoulderY + 0.05 * r},
                          {f.cx + 0.25 * r, f.shoulderY + 0.4 * r}},
                         3),
                  look.accent);
      break;
    case Outfit::Jacket:
      DrawFrontPanels(s, f, main, 0.0, 1.4, 0.4);
      break;
    case Outfit::SailorTop: {
      // A sailor collar with its stripe and a scarf knot.
      FillPolygon(s,
                  {{f.cx - 0.9 * r, f.shoulderY - 0.15 * r},
                   {f.cx + 0.9 * r, f.shoulderY - 0.15 * r},
                   {f.cx, f.shoulderY + 1.1 * r}},
                  look.second);
      FillPolygon(s,
                  {{f.cx - 0.6 * r, f.shoulderY - 0.1 * r},
                   {f.cx + 0.6 * r, f.shoulderY - 0.1 * r},
                   {f.cx, f.shoulderY + 0.75 * r}},
                  Shade(look.skin, 0.97));
      FillPolygon(s,
                  {{f.cx - 0.25 * r, f.shoulderY + 0.75 * r},
                   {f.cx + 0.25 * r, f.shoulderY + 0.75 * r},
                   {f.cx + 0.1 * r, f.shoulderY + 1.4 * r},
                   {f.cx - 0.1 * r, f.shoulderY + 1.4 * r}},
                  look.accent);
      break;
    }
  }
  DrawArms(s, look, f, sleeve, gesture == Gesture::Wave);
  if (gesture == Gesture::Bag) DrawGroceryBag(s, look, f);
  if (gesture == Gesture::Umbrella) DrawFoldedUmbrella(s, look, f);
}

void DrawFigure(Sketch& s, const Look& look, const Head& h, Expression face, Gesture gesture) {
  const double bottom = s.Height();
  DrawBackHair(s, look, h, bottom);
  DrawOutfit(s, look, BodyFrame(look, h, bottom), gesture);
  DrawHead(s, look, h, face);
}

Surface DrawCharacter(int character, int pose, Expression face) {
  Sketch s(kCharacterWidth, kCharacterHeight);
  DrawFigure(s, CharacterLook(character, pose),
             PlaceHead(kFaceRows[static_cast<size_t>(character - 1)]), face,
             GestureOf(character, pose));
  return s.ResolveFigure();
}

}  // namespace

Surface CharacterPicture(int character, int pose, Expression face) {
  return DrawCharacter(character, pose, face);
}

Surface FaceSheet() {
  int height = 0;
  for (const FaceRow& row : kFaceRows)
    height = std::max(height, kFacesPerCharacter * row.H());
  Surface sheet(kFaceSheetWidth, height, kBlack);
  for (int character = 1; character <= 4; ++character) {
    const FaceRow& row = kFaceRows[static_cast<size_t>(character - 1)];
    const Rect face{row.x1, row.y1, row.W(), row.H()};
    std::vector<Surface> faces;
    for (Expression e : kSheetFaces)
      faces.push_back(Crop(CharacterPicture(character, 1, e), face));
    // Only the pixels that some expression changes go into the sheet; the
    // rest stays black, so a face change leaves the picture's own pixels
    // there (the collar of either outfit, the hair) as they are.
    for (int n = 0; n < kFacesPerCharacter; ++n) {
      Surface cell(row.W(), row.H(), kBlack);
      for (int y = 0; y < row.H(); ++y) {
        for (int x = 0; x < row.W(); ++x) {
          bool changes = false;
          for (const Surface& other : faces)
            changes = changes || other.At(x, y) != faces[0].At(x, y);
          if (changes) cell.Set(x, y, faces[static_cast<size_t>(n)].At(x, y));
        }
      }
      Paste(sheet, row.sheetX, n * row.H(), cell);
    }
  }
  return sheet;
}

Surface CustomerSheet() {
  const Look looks[4] = {
      // An office worker, a young woman, an older gentleman, a student.
      {Rgb(244, 214, 190), Rgb(58, 52, 60), Rgb(70, 60, 56), Hair::Neat, false, false, false,
       Outfit::Suit, Rgb(64, 74, 110), Rgb(64, 74, 110), Rgb(180, 60, 70)},
      {Rgb(255, 230, 214), Rgb(160, 100, 62), Rgb(120, 80, 50), Hair::Bob, false, true, false,
       Outfit::Blouse, Rgb(250, 244, 236), Rgb(250, 244, 236), Rgb(90, 130, 190)},
      {Rgb(238, 208, 184), Rgb(206, 206, 212), Rgb(80, 70, 64), Hair::Neat, true, false, true,
       Outfit::Jacket, Rgb(150, 110, 80), Rgb(150, 110, 80), Rgb(236, 230, 214)},
      {Rgb(255, 234, 220), Rgb(52, 46, 70), Rgb(80, 70, 120), Hair::Pony, false, true, false,
       Outfit::SailorTop, Rgb(250, 250, 252), Rgb(48, 66, 120), Rgb(210, 60, 70)},
  };
  const Expression faces[3] = {Expression::Neutral, Expression::Happy, Expression::Angry};
  // The board's counter hides a customer below this line of the cell.
  constexpr int kCounterLine = 126;
  Surface sheet(kCustomerSheetWidth, kCustomerSheetHeight, kBlack);
  for (int k = 0; k < 4; ++k) {
    for (int e = 0; e < 3; ++e) {
      Sketch cell(kCustomerWidth, kCounterLine);
      DrawFigure(cell, looks[k], {75, 46, 27}, faces[e], Gesture::None);
      Paste(sheet, e * kCustomerWidth, k * kCustomerHeight, cell.ResolveFigure());
    }
  }
  return sheet;
}

Surface StaffPortrait(int character, int w, int h, Pixel tile) {
  Sketch s(w, h);
  FillRect(s, 0, 0, w, h, Radial({w / 2.0, h * 0.4}, w * 0.8, h * 0.8, Tint(tile, 0.45), tile));
  const double r = 0.25 * w;
  DrawFigure(s, CharacterLook(character, 1), {w / 2.0, 0.36 * h, r}, Expression::Happy,
             Gesture::None);
  FrameRect(s, {0, 0, w, h}, 2, Shade(tile, 0.55));
  FrameRect(s, {2, 2, w - 4, h - 4}, 1, Glaze(kWhite, 0.4));
  return s.Resolve();
}

Surface CharacterBust(int character, int pose, double height) {
  const double r = height / 5.0;
  const int w = static_cast<int>(5 * r);
  Sketch s(w, static_cast<int>(height));
  DrawFigure(s, CharacterLook(character, pose), {w / 2.0, 1.2 * r, r}, Expression::Happy,
             Gesture::None);
  return s.ResolveFigure();
}

}  // namespace dovetail::tools
