#include <algorithm>
#include <cmath>
#include <vector>

#include "demo/FigureParts.h"

namespace dovetail::tools {

namespace {

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

}  // namespace

void DrawBody(Sketch& s, const Look& look, const Head& h, double bottom, Gesture gesture) {
  DrawOutfit(s, look, BodyFrame(look, h, bottom), gesture);
}

}  // namespace dovetail::tools
