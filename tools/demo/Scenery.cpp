#include "demo/Scenery.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace dovetail::tools {

namespace {

bool Dark(Light light) {
  return light == Light::Night || light == Light::Evening;
}

}  // namespace

Pixel SkyTop(Light light) {
  switch (light) {
    case Light::Morning:
      return Rgb(132, 180, 232);
    case Light::Day:
      return Rgb(96, 158, 226);
    case Light::Evening:
      return Rgb(66, 62, 128);
    case Light::Sunset:
      return Rgb(92, 82, 150);
    case Light::Night:
      return Rgb(14, 20, 52);
  }
  return kBlack;
}

Pixel SkyHorizon(Light light) {
  switch (light) {
    case Light::Morning:
      return Rgb(252, 230, 206);
    case Light::Day:
      return Rgb(214, 236, 252);
    case Light::Evening:
      return Rgb(244, 150, 120);
    case Light::Sunset:
      return Rgb(255, 176, 96);
    case Light::Night:
      return Rgb(58, 64, 118);
  }
  return kBlack;
}

Pixel Lit(Pixel p, Light light) {
  switch (light) {
    case Light::Morning:
      return Mix(p, Rgb(255, 236, 214), 0.1);
    case Light::Day:
      return p;
    case Light::Evening:
      return Shade(Mix(p, Rgb(200, 120, 140), 0.25), 0.78);
    case Light::Sunset:
      return Shade(Mix(p, Rgb(255, 140, 90), 0.38), 0.84);
    case Light::Night:
      return Shade(Mix(p, Rgb(50, 60, 120), 0.45), 0.5);
  }
  return p;
}

void DrawSky(Sketch& s, const Rect& r, Light light, uint32_t seed) {
  VerticalGradient(s, r, SkyTop(light), SkyHorizon(light));
  Sprinkle dots(seed);
  switch (light) {
    case Light::Night:
    case Light::Evening: {
      const int stars = light == Light::Night ? 110 : 30;
      for (int i = 0; i < stars; ++i) {
        const double x = r.x + dots.Between(0, r.w);
        const double y = r.y + dots.Between(0, r.h * (light == Light::Night ? 0.8 : 0.4));
        const double size = dots.Between(0.5, 1.3);
        FillEllipse(s, x, y, size, size, Glaze(Rgb(255, 250, 226), dots.Between(0.4, 0.95)));
        if (i % 17 == 0) FillStar(s, x, y, 4, 1, 4, Glaze(Rgb(255, 250, 226), 0.8));
      }
      if (light == Light::Night) {
        FillEllipse(s, r.x + r.w * 0.82, r.y + 70, 60, 60,
                    Glow({r.x + r.w * 0.82, r.y + 70.0}, 60, Rgb(200, 210, 255), 0.35));
        FillEllipse(s, r.x + r.w * 0.82, r.y + 70, 20, 20, Rgb(255, 250, 220));
        FillEllipse(s, r.x + r.w * 0.82 + 8, r.y + 64, 17, 17, Glaze(SkyTop(light), 0.9));
      }
      break;
    }
    case Light::Sunset: {
      const Point sun{r.x + r.w * 0.7, r.y + r.h * 0.62};
      FillEllipse(s, sun.x, sun.y, 200, 160, Glow(sun, 200, Rgb(255, 220, 140), 0.7));
      FillEllipse(s, sun.x, sun.y, 34, 34, Rgb(255, 236, 180));
      for (int i = 0; i < 4; ++i) {
        FillRoundRect(s, r.x + 40 + 150 * i, r.y + 40 + 22 * (i % 3), 110 + 20 * (i % 2), 6, 3,
                      Glaze(Rgb(255, 170, 140), 0.45));
      }
      break;
    }
    case Light::Morning:
    case Light::Day: {
      const Point sun{r.x + r.w * 0.86, r.y + 46.0};
      FillEllipse(s, sun.x, sun.y, 120, 120, Glow(sun, 120, Rgb(255, 252, 230), 0.55));
      FillEllipse(s, sun.x, sun.y, 22, 22, Rgb(255, 254, 240));
      break;
    }
  }
}

void DrawCloud(Sketch& s, double x, double y, double k, Light light) {
  const Pixel top = Lit(Rgb(255, 255, 255), light);
  const Pixel bottom = Lit(Rgb(214, 222, 240), light);
  const Brush body = Linear({x, y - 26 * k}, top, {x, y + 12 * k}, bottom);
  FillEllipse(s, x, y, 58 * k, 14 * k, body);
  FillEllipse(s, x - 26 * k, y - 6 * k, 24 * k, 16 * k, body);
  FillEllipse(s, x + 4 * k, y - 14 * k, 28 * k, 22 * k, body);
  FillEllipse(s, x + 30 * k, y - 4 * k, 20 * k, 14 * k, body);
  FillEllipse(s, x - 4 * k, y - 24 * k, 12 * k, 8 * k, Glaze(Tint(top, 0.5), 0.5));
}

void DrawTree(Sketch& s, double x, double ground, double size, Light light, uint32_t seed) {
  const Pixel bark = Lit(Rgb(112, 78, 54), light);
  FillPolygon(
      s,
      {{x - size * 0.06, ground},
       {x - size * 0.04, ground - size * 0.6},
       {x + size * 0.04, ground - size * 0.6},
       {x + size * 0.07, ground}},
      Linear({x - size * 0.06, 0}, Tint(bark, 0.15), {x + size * 0.07, 0}, Shade(bark, 0.7)));
  DrawLine(s, {x, ground - size * 0.45}, {x + size * 0.15, ground - size * 0.7}, size * 0.03, bark);
  const Pixel leaves = Lit(Rgb(86, 154, 76), light);
  Sprinkle r(seed);
  // Clusters from the shaded back to the lit front.
  for (int layer = 0; layer < 3; ++layer) {
    const Pixel c = layer == 0 ? Shade(leaves, 0.7) : (layer == 1 ? leaves : Tint(leaves, 0.18));
    for (int i = 0; i < 6; ++i) {
      const double cx = x + r.Between(-0.34, 0.34) * size - layer * 0.04 * size;
      const double cy = ground - size * (0.72 + r.Between(-0.16, 0.18)) - layer * 0.03 * size;
      const double rad = size * r.Between(0.14, 0.22) * (1 - 0.15 * layer);
      FillEllipse(s, cx, cy, rad, rad * 0.86,
                  Radial({cx - rad * 0.3, cy - rad * 0.4}, rad * 1.3, rad * 1.3, Tint(c, 0.12),
                         Shade(c, 0.85)));
    }
  }
}

void DrawTown(Sketch& s, double left, double right, double ground, double maxHeight, Light light,
              uint32_t seed) {
  Sprinkle r(seed);
  const Pixel walls[4] = {Rgb(214, 196, 180), Rgb(190, 180, 170), Rgb(226, 214, 190),
                          Rgb(176, 160, 150)};
  for (double x = left; x < right;) {
    const double w = 50 + r.Below(50);
    const double h = maxHeight * r.Between(0.45, 1.0);
    const Pixel wall = Lit(walls[r.Below(4)], light);
    FillRect(s, x, ground - h, w, h,
             Linear({x, 0}, Tint(wall, 0.08), {x + w, 0}, Shade(wall, 0.86)));
    FillRect(s, x - 2, ground - h - 4, w + 4, 5, Shade(wall, 0.7));
    const bool lit = Dark(light);
    for (double wy = ground - h + 12; wy < ground - 16; wy += 20) {
      for (double wx = x + 8; wx < x + w - 12; wx += 15) {
        Pixel pane = lit ? (r.Below(3) > 0 ? kLampLight : Shade(wall, 0.55))
                         : Lit(Rgb(170, 196, 220), light);
        if (!lit && r.Below(5) == 0) pane = Lit(Rgb(120, 140, 170), light);
        FillRect(s, wx, wy, 7, 10, pane);
      }
    }
    x += w + r.Between(-4, 6);
  }
}

void DrawStreetLamp(Sketch& s, double x, double ground, double height, Light light) {
  const Pixel iron = Lit(Rgb(56, 62, 70), light);
  const bool lit = light != Light::Day && light != Light::Morning;
  if (lit) {
    FillEllipse(s, x, ground - height, 70, 70, Glow({x, ground - height}, 70, kLampLight, 0.6));
    FillEllipse(s, x, ground, 50, 10, Glow({x, ground}, 50, kLampLight, 0.4));
  }
  FillRect(s, x - 2.5, ground - height, 5, height, iron);
  FillRoundRect(s, x - 7, ground - 12, 14, 12, 3, iron);
  FillPolygon(s,
              {{x - 12, ground - height - 6},
               {x + 12, ground - height - 6},
               {x + 8, ground - height + 14},
               {x - 8, ground - height + 14}},
              lit ? Brush(Rgb(255, 240, 190)) : Brush(Lit(Rgb(220, 226, 230), light)));
  FillPolygon(
      s, {{x - 15, ground - height - 6}, {x + 15, ground - height - 6}, {x, ground - height - 18}},
      iron);
}

void DrawCafeFront(Sketch& s, double x, double ground, Light light) {
  const bool dark = Dark(light);
  const Pixel wall = Lit(Rgb(236, 222, 196), light);
  const Pixel wood = Lit(Rgb(120, 78, 50), light);
  const Pixel trim = Lit(Rgb(64, 104, 84), light);
  const double w = 340;
  const double top = ground - 250;
  // Walls with a roof edge and timber.
  FillRect(s, x, top, w, 250,
           Linear({x, top}, Tint(wall, 0.06), {x + w, ground}, Shade(wall, 0.88)));
  FillRect(s, x - 12, top - 14, w + 24, 16, Shade(wood, 0.8));
  FillRect(s, x - 6, top - 22, w + 12, 9, wood);
  for (double bx : {x, x + w - 10})
    FillRect(s, bx, top, 10, 250, Shade(wood, 0.95));
  // The sign board (its lettering is added on the finished picture).
  FillRoundRect(s, x + 70, top + 16, 200, 38, 6, Shade(wood, 0.75));
  FillRoundRect(s, x + 74, top + 20, 192, 30, 4, trim);
  // Awning with stripes and a scalloped edge, shaded underneath.
  const double aw = top + 74;
  for (int i = 0; i < 12; ++i) {
    const Pixel stripe = Lit(i % 2 == 0 ? Rgb(70, 128, 100) : Rgb(248, 242, 228), light);
    const double sx = x + 14 + 26 * i;
    FillPolygon(s, {{sx + 2, aw}, {sx + 28, aw}, {sx + 30, aw + 34}, {sx - 2, aw + 34}},
                Linear({0, aw}, Tint(stripe, 0.1), {0, aw + 34}, Shade(stripe, 0.85)));
    FillEllipse(s, sx + 14, aw + 34, 16, 7, Shade(stripe, 0.85));
  }
  FillRect(s, x + 12, aw + 40, w - 24, 8, Glaze(Shade(wall, 0.6), 0.5));
  // The big window with the light inside and the door.
  const Pixel inside = dark ? Rgb(255, 206, 130) : Lit(Rgb(200, 218, 232), light);
  const double wy = aw + 56;
  FillRect(s, x + 26, wy, 170, 104, wood);
  FillRect(s, x + 32, wy + 6, 158, 92,
           Linear({0, wy}, Tint(inside, dark ? 0.25 : 0.45), {0, wy + 98}, inside));
  // Inside: a lamp over a table with two chairs.
  const Pixel shadow = Shade(inside, 0.55);
  for (double lx : {x + 70, x + 152}) {
    FillRect(s, lx - 0.6, wy + 6, 1.2, 22, Glaze(shadow, 0.6));
    FillPolygon(s, {{lx - 4, wy + 28}, {lx + 4, wy + 28}, {lx + 12, wy + 38}, {lx - 12, wy + 38}},
                Glaze(dark ? Rgb(255, 240, 190) : Shade(inside, 0.6), 0.8));
    FillEllipse(s, lx, wy + 80, 26, 5, Glaze(shadow, 0.6));
    FillRect(s, lx - 2, wy + 80, 4, 18, Glaze(shadow, 0.6));
  }
  FillRect(s, x + 108, wy + 6, 5, 92, wood);
  if (!dark) {
    for (double off : {0.0, 84.0}) {
      DrawLine(s, {x + 44 + off, wy + 86}, {x + 84 + off, wy + 14}, 8, Glaze(kWhite, 0.35));
      DrawLine(s, {x + 60 + off, wy + 86}, {x + 92 + off, wy + 30}, 3, Glaze(kWhite, 0.3));
    }
  } else {
    FillEllipse(s, x + 110, wy + 50, 130, 90, Glow({x + 110, wy + 50}, 130, kLampLight, 0.35));
  }
  FillRect(s, x + 22, wy + 104, 178, 8, Shade(wood, 0.9));
  // Door with its glass and a small bell.
  const double dx = x + 226;
  FillRect(s, dx, wy - 14, 84, 164 + (ground - wy - 150), wood);
  FillRect(s, dx + 6, wy - 8, 72, ground - wy + 8, Lit(Rgb(150, 100, 64), light));
  FillRoundRect(s, dx + 16, wy + 4, 52, 56, 8,
                Linear({0, wy}, Tint(inside, 0.3), {0, wy + 60}, inside));
  FillEllipse(s, dx + 66, wy + 84, 3.5, 3.5, Rgb(230, 196, 90));
  // Steps and planters.
  FillRect(s, x - 4, ground - 6, w + 8, 8, Lit(Rgb(170, 160, 150), light));
  if (dark) FillEllipse(s, dx + 42, ground, 90, 18, Glow({dx + 42, ground}, 90, kLampLight, 0.4));
}

void DrawLantern(Sketch& s, double x, double y, double size, Pixel colour) {
  FillEllipse(s, x, y, size * 2.6, size * 2.6, Glow({x, y}, size * 2.6, colour, 0.45));
  FillRect(s, x - size * 0.35, y - size * 0.95, size * 0.7, size * 0.25, Rgb(60, 40, 30));
  FillRect(s, x - size * 0.35, y + size * 0.72, size * 0.7, size * 0.25, Rgb(60, 40, 30));
  FillEllipse(s, x, y, size * 0.62, size * 0.82,
              Radial({x - size * 0.15, y - size * 0.15}, size * 0.8, size * 0.9, Tint(colour, 0.6),
                     Shade(colour, 0.85)));
  for (double k : {-0.45, 0.0, 0.45})
    FillRect(s, x - size * 0.6, y + k * size * 0.8, size * 1.2, 0.8,
             Glaze(Shade(colour, 0.6), 0.5));
}

void DrawWater(Sketch& s, const Rect& r, Light light, uint32_t seed) {
  if (light == Light::Sunset) {
    // The water takes the colours of the sky it mirrors.
    VerticalGradient(s, r, Mix(SkyHorizon(light), SkyTop(light), 0.25), Shade(SkyTop(light), 0.8));
  } else {
    VerticalGradient(s, r, Lit(Rgb(110, 160, 210), light), Lit(Rgb(70, 120, 176), light));
  }
  Sprinkle d(seed);
  const Pixel glint = light == Light::Sunset ? Rgb(255, 210, 140) : Lit(Rgb(230, 244, 255), light);
  for (int i = 0; i < 60; ++i) {
    const double y = r.y + d.Between(2, r.h - 2);
    const double x = r.x + d.Between(0, r.w);
    const double len = d.Between(10, 40) * (0.5 + (y - r.y) / r.h);
    FillRoundRect(s, x, y, len, 1.6, 0.8, Glaze(glint, d.Between(0.3, 0.7)));
  }
}

void DrawChair(Sketch& s, double x, double seatY, double k, bool upsideDown) {
  const Pixel wood = Rgb(130, 84, 52);
  if (upsideDown) {
    // Seat down on the table, legs up.
    FillRoundRect(s, x - 18 * k, seatY - 5 * k, 36 * k, 6 * k, 2 * k, Shade(wood, 0.9));
    for (double lx : {-15.0, 13.0})
      FillRect(s, x + lx * k, seatY - 40 * k, 3 * k, 36 * k, Shade(wood, 0.8));
    FillRect(s, x - 15 * k, seatY + 1 * k, 31 * k, 4 * k, wood);
    return;
  }
  FillRoundRect(s, x - 16 * k, seatY - 46 * k, 32 * k, 40 * k, 5 * k, Shade(wood, 0.85));
  FillRoundRect(s, x - 12 * k, seatY - 42 * k, 24 * k, 20 * k, 3 * k, Shade(wood, 0.7));
  for (double lx : {-15.0, 12.0})
    FillRect(s, x + lx * k, seatY, 3 * k, 36 * k, Shade(wood, 0.8));
  FillRoundRect(s, x - 19 * k, seatY - 4 * k, 38 * k, 7 * k, 2 * k, wood);
}

void DrawTable(Sketch& s, double x, double topY, double k) {
  const Pixel wood = Rgb(150, 98, 60);
  FillRect(s, x - 4 * k, topY, 8 * k, 52 * k, Shade(wood, 0.7));
  FillEllipse(s, x, topY + 52 * k, 20 * k, 5 * k, Shade(wood, 0.6));
  FillEllipse(s, x, topY + 3 * k, 44 * k, 9 * k, Shade(wood, 0.75));
  FillEllipse(s, x, topY, 44 * k, 9 * k,
              Linear({x - 44 * k, 0}, Tint(wood, 0.2), {x + 44 * k, 0}, wood));
}

void DrawPendantLamp(Sketch& s, double x, double length, bool lit) {
  FillRect(s, x - 0.8, 0, 1.6, length, Rgb(70, 56, 50));
  if (lit) FillEllipse(s, x, length + 24, 110, 90, Glow({x, length + 24}, 110, kLampLight, 0.45));
  FillPolygon(s, {{x - 8, length}, {x + 8, length}, {x + 28, length + 24}, {x - 28, length + 24}},
              Linear({x - 28, 0}, Rgb(90, 150, 120), {x + 28, 0}, Rgb(46, 90, 72)));
  FillEllipse(s, x, length + 24, 28, 4, Rgb(40, 76, 60));
  FillEllipse(s, x, length + 25, 9, 5, lit ? Rgb(255, 246, 200) : Rgb(230, 230, 220));
}

void DrawWallWindow(Sketch& s, const Rect& r, Light outside, uint32_t seed) {
  const Pixel frame = Rgb(126, 86, 58);
  FillRect(s, r.x - 8, r.y - 8, r.w + 16, r.h + 16, frame);
  const Rect glass{r.x, r.y, r.w, r.h};
  s.Clip(glass);
  DrawSky(s, glass, outside, seed);
  DrawTown(s, r.x - 20, r.x + r.w, r.y + r.h, r.h * 0.55, outside, seed + 1);
  s.ClearClip();
  FillRect(s, r.x + r.w / 2.0 - 3, r.y, 6, r.h, frame);
  FillRect(s, r.x, r.y + r.h / 2.0 - 3, r.w, 6, frame);
  if (outside != Light::Night) {
    DrawLine(s, {r.x + 10.0, r.y + r.h - 10.0}, {r.x + r.w * 0.35, r.y + 10.0}, 10,
             Glaze(kWhite, 0.18));
  }
  FillRect(s, r.x - 14, r.y + r.h + 8, r.w + 28, 8, Shade(frame, 0.85));
}

void DrawShelf(Sketch& s, double x, double y, double w, uint32_t seed) {
  Sprinkle r(seed);
  FillRect(s, x, y, w, 7, Rgb(130, 88, 58));
  FillRect(s, x, y + 7, w, 3, Glaze(Rgb(60, 40, 30), 0.4));
  for (double cx = x + 12; cx < x + w - 14; cx += 28 + r.Below(8)) {
    switch (r.Below(4)) {
      case 0:  // a jar of beans
        FillRoundRect(s, cx - 9, y - 28, 18, 28, 4, Rgb(214, 232, 228));
        FillRect(s, cx - 7, y - 18, 14, 16, Rgb(110, 70, 44));
        FillRect(s, cx - 10, y - 31, 20, 5, Rgb(170, 120, 80));
        break;
      case 1: {  // a cup
        const Pixel c = r.Below(2) ? Rgb(250, 250, 246) : Rgb(236, 180, 170);
        DrawArc(s, cx + 8, y - 9, 4, 4, -90, 90, 2.2, c);
        FillRoundRect(s, cx - 9, y - 16, 18, 16, 4, c);
        break;
      }
      case 2:  // a bottle of syrup
        FillRoundRect(s, cx - 6, y - 30, 12, 30, 3, Rgb(170, 70, 50));
        FillRect(s, cx - 2.5, y - 38, 5, 9, Rgb(170, 70, 50));
        FillRect(s, cx - 5, y - 20, 10, 8, Rgb(250, 240, 220));
        break;
      default:  // a little plant
        FillRoundRect(s, cx - 7, y - 12, 14, 12, 2, Rgb(200, 110, 70));
        FillEllipse(s, cx, y - 18, 9, 8, Rgb(96, 160, 80));
        break;
    }
  }
}

void DrawPottedPlant(Sketch& s, double x, double ground, double k) {
  for (int i = 0; i < 7; ++i) {
    const double a = -2.6 + i * 0.36;
    const Point tip{x + std::cos(a) * 40 * k, ground - 34 * k + std::sin(a) * 40 * k};
    FillPolygon(s,
                Smooth({{x, ground - 30 * k},
                        {(x + tip.x) / 2 - 5 * k, (ground - 30 * k + tip.y) / 2},
                        tip,
                        {(x + tip.x) / 2 + 5 * k, (ground - 30 * k + tip.y) / 2}},
                       3),
                i % 2 ? Rgb(80, 150, 80) : Rgb(60, 124, 66));
  }
  FillPolygon(s,
              {{x - 16 * k, ground - 32 * k},
               {x + 16 * k, ground - 32 * k},
               {x + 12 * k, ground},
               {x - 12 * k, ground}},
              Linear({x - 16 * k, 0}, Rgb(214, 130, 90), {x + 16 * k, 0}, Rgb(160, 84, 56)));
}

void DrawRain(Sketch& s, uint32_t seed) {
  Sprinkle r(seed);
  for (int i = 0; i < 260; ++i) {
    const double x = r.Between(-40, s.Width());
    const double y = r.Between(-20, s.Height());
    const double len = r.Between(10, 24);
    DrawLine(s, {x, y}, {x + len * 0.25, y + len}, 1.0, Glaze(Rgb(210, 220, 240), 0.45));
  }
}

}  // namespace dovetail::tools
