#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "demo/FigureParts.h"

namespace dovetail::tools {

namespace {

constexpr Pixel kEyeWhite = Rgb(252, 252, 255);
constexpr Pixel kMouth = Rgb(150, 50, 62);
constexpr Pixel kTongue = Rgb(236, 120, 128);
constexpr Pixel kBlush = Rgb(244, 150, 150);
constexpr Pixel kLash = Rgb(52, 36, 40);

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
  const double length = look.hair_style == Hair::Long ? 1.5 : 1.3;
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
  if (look.hair_style != Hair::Long) return;
  // Long hair tied low: the tail brought forward over the left shoulder
  // (the picture's right), held by a ribbon.
  const double x = h.cx + 1.05 * r;
  FillPolygon(
      s,
      Smooth({{x - 0.1 * r, h.cy + 1.2 * r},
              {x + 0.35 * r, h.cy + 1.5 * r},
              {x + 0.4 * r, h.cy + 2.6 * r},
              {x + 0.2 * r, h.cy + 3.9 * r},
              {x - 0.05 * r, h.cy + 4.3 * r},
              {x - 0.2 * r, h.cy + 3.2 * r},
              {x - 0.25 * r, h.cy + 2.0 * r}}),
      Linear({x - 0.25 * r, 0}, Tint(look.hair, 0.1), {x + 0.4 * r, 0}, Shade(look.hair, 0.8)));
  for (double d : {-0.1, 0.08, 0.22}) {
    DrawPolyline(s,
                 {{x + d * r, h.cy + 1.9 * r},
                  {x + (d + 0.06) * r, h.cy + 2.8 * r},
                  {x + d * 0.5 * r, h.cy + 3.8 * r}},
                 std::max(1.0, 0.03 * r), Glaze(Shade(look.hair, 0.65), 0.7));
  }
  const Pixel ribbon = Rgb(226, 86, 106);
  FillPolygon(s,
              {{x + 0.05 * r, h.cy + 1.75 * r},
               {x - 0.3 * r, h.cy + 1.55 * r},
               {x - 0.25 * r, h.cy + 1.95 * r}},
              ribbon);
  FillPolygon(s,
              {{x + 0.05 * r, h.cy + 1.75 * r},
               {x + 0.42 * r, h.cy + 1.6 * r},
               {x + 0.36 * r, h.cy + 2.0 * r}},
              Shade(ribbon, 0.88));
  FillEllipse(s, x + 0.05 * r, h.cy + 1.76 * r, 0.1 * r, 0.09 * r, Shade(ribbon, 0.75));
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

// The shadow the hair casts on the forehead and the lids, fading out over
// the eyes; laid after the eyes so that every expression takes it alike.
void DrawForeheadShadow(Sketch& s, const Look& look, const Head& h) {
  const double r = h.r;
  Brush shadow = Glaze(Shade(look.skin, 0.8), 0.5);
  const double fadeEnd = h.cy + 0.3 * r;
  shadow.fade = [=](double, double y) { return std::clamp((fadeEnd - y) / (0.45 * r), 0.0, 1.0); };
  FillEllipse(s, h.cx, h.cy - 0.2 * r, 0.98 * r, 0.6 * r, shadow);
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

}  // namespace

void DrawBackHair(Sketch& s, const Look& look, const Head& h) {
  const double r = h.r;
  const Pixel back = Shade(look.hair, 0.78);
  switch (look.hair_style) {
    case Hair::Long:
      // Gathered at the nape: only a little shows behind the neck.
      FillEllipse(s, h.cx, h.cy - 0.02 * r, 1.14 * r, 1.16 * r, back);
      FillEllipse(s, h.cx + 0.3 * r, h.cy + 1.0 * r, 0.6 * r, 0.5 * r, back);
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

void DrawHead(Sketch& s, const Look& look, const Head& h, Expression face) {
  DrawSkull(s, look, h);
  DrawEyes(s, look, h, face);
  DrawMouth(s, look, h, face);
  DrawForeheadShadow(s, look, h);
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

}  // namespace dovetail::tools
