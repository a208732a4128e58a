#include <cmath>
#include <vector>

#include "demo/Canvas.h"
#include "demo/DemoScenes.h"
#include "demo/Scenery.h"
#include "screen/PictureRegions.h"

namespace dovetail::tools {

namespace {

// A floor of boards running away from the viewer.
void DrawWoodFloor(Sketch& s, double top, Pixel wood) {
  VerticalGradient(s, {0, int(top), kScreenWidth, kScreenHeight - int(top)}, Shade(wood, 0.8),
                   Tint(wood, 0.05));
  for (int i = -12; i <= 12; ++i) {
    DrawLine(s, {320 + i * 14.0, top}, {320 + i * 70.0, double(kScreenHeight)}, 1.2,
             Glaze(Shade(wood, 0.6), 0.6));
  }
  for (double y = top + 14; y < kScreenHeight; y += (y - top) * 0.35 + 10)
    FillRect(s, 0, y, kScreenWidth, 1, Glaze(Shade(wood, 0.7), 0.4));
}

// Pavement running to the bottom edge, with its kerb.
void DrawPavement(Sketch& s, double top, Light light) {
  const Pixel stone = Lit(Rgb(206, 196, 182), light);
  VerticalGradient(s, {0, int(top), kScreenWidth, kScreenHeight - int(top)}, Shade(stone, 0.92),
                   Tint(stone, 0.05));
  for (double y = top + 8; y < kScreenHeight; y += (y - top) * 0.3 + 8)
    FillRect(s, 0, y, kScreenWidth, 1.2, Glaze(Shade(stone, 0.75), 0.6));
  for (int i = -14; i <= 14; ++i) {
    DrawLine(s, {320 + i * 30.0, top}, {320 + i * 90.0, double(kScreenHeight)}, 1.0,
             Glaze(Shade(stone, 0.75), 0.5));
  }
  FillRect(s, 0, kScreenHeight - 36, kScreenWidth, 6, Lit(Rgb(170, 166, 160), light));
  FillRect(s, 0, kScreenHeight - 30, kScreenWidth, 30, Lit(Rgb(110, 112, 120), light));
}

Surface CafeStreet(Light light, const Captions& captions) {
  Sketch s(kScreenWidth, kScreenHeight);
  DrawSky(s, {0, 0, 640, 340}, light, 3);
  if (light == Light::Day) {
    DrawCloud(s, 90, 70, 1.0, light);
    DrawCloud(s, 460, 44, 0.7, light);
  }
  DrawTown(s, -10, 660, 340, 170, light, 7);
  DrawPavement(s, 340, light);
  DrawTree(s, 70, 370, 230, light, 5);
  DrawCafeFront(s, 150, 372, light);
  DrawPottedPlant(s, 162, 372, 0.9);
  DrawPottedPlant(s, 478, 372, 0.9);
  DrawStreetLamp(s, 580, 400, 200, light);
  // The chalkboard stand by the door.
  const Pixel wood = Lit(Rgb(140, 96, 60), light);
  FillPolygon(s, {{492, 326}, {564, 326}, {572, 402}, {484, 402}}, wood);
  FillRect(s, 491, 332, 74, 50, Lit(Rgb(46, 70, 58), light));
  Surface out = s.Resolve();
  captions.Draw(out, 320, 157, "喫茶つばめ", "TSUBAME", 16, 3, Rgb(252, 238, 200), Rgb(30, 50, 40));
  captions.Draw(out, 528, 348, "本日も", "OPEN", 8, 1, Rgb(240, 240, 230), Rgb(240, 240, 230));
  captions.Draw(out, 528, 366, "あいています", "TODAY", 8, 1, Rgb(250, 220, 120),
                Rgb(250, 220, 120));
  return out;
}

// The dining room of the café, by day or closed for the night.
Surface CafeRoom(bool night) {
  const Light light = night ? Light::Night : Light::Day;
  Sketch s(kScreenWidth, kScreenHeight);
  const Pixel wall = night ? Rgb(150, 120, 100) : Rgb(246, 232, 206);
  VerticalGradient(s, {0, 0, 640, 300}, Shade(wall, 0.92), wall);
  for (int x = 16; x < 640; x += 40)
    FillRect(s, x, 0, 12, 220, Glaze(Tint(wall, 0.3), 0.25));
  // Wainscot.
  const Pixel panel = night ? Rgb(96, 62, 44) : Rgb(150, 100, 66);
  FillRect(s, 0, 220, 640, 90, panel);
  for (int x = 10; x < 640; x += 80)
    FrameRect(s, {x, 232, 64, 64}, 2, Glaze(Shade(panel, 0.7), 0.8));
  FillRect(s, 0, 216, 640, 6, Shade(panel, 0.8));
  DrawWallWindow(s, {40, 54, 200, 140}, light, 17);
  // Clock and a framed picture.
  FillEllipse(s, 320, 70, 24, 24, Rgb(120, 84, 56));
  FillEllipse(s, 320, 70, 20, 20, Rgb(252, 248, 236));
  DrawLine(s, {320, 70}, {320, 57}, 2.4, Rgb(60, 44, 40));
  DrawLine(s, {320, 70}, {330, 75}, 2.4, Rgb(60, 44, 40));
  FillRect(s, 282, 118, 76, 56, Rgb(150, 110, 70));
  FillRect(s, 288, 124, 64, 44,
           Linear({288, 124}, Rgb(150, 200, 230), {288, 168}, Rgb(120, 170, 100)));
  FillEllipse(s, 336, 136, 6, 6, Rgb(255, 240, 200));
  // Shelves and the back counter with the coffee machine.
  DrawShelf(s, 392, 100, 220, 23);
  DrawShelf(s, 392, 164, 220, 29);
  FillRect(s, 496, 226, 144, 84, Linear({496, 0}, Rgb(170, 116, 76), {640, 0}, Rgb(130, 86, 56)));
  FillRect(s, 490, 220, 150, 8, Rgb(200, 150, 100));
  FillRoundRect(s, 520, 164, 70, 56, 6,
                Linear({520, 0}, Rgb(210, 214, 224), {590, 0}, Rgb(150, 154, 168)));
  FillRoundRect(s, 530, 176, 50, 18, 3, Rgb(70, 72, 84));
  FillRect(s, 545, 194, 4, 12, Rgb(70, 72, 84));
  FillRoundRect(s, 538, 206, 14, 12, 3, Rgb(250, 250, 246));
  FillRect(s, 0, 300, 640, 10, Shade(panel, 0.7));
  DrawWoodFloor(s, 310, night ? Rgb(110, 74, 50) : Rgb(176, 124, 82));
  for (double x : {170.0, 470.0})
    DrawPendantLamp(s, x, 30, night);
  DrawPottedPlant(s, 612, 330, 1.1);
  if (night) {
    // Closed for the night: the room darkened, the chairs up on the tables
    // under the lamps' pools of light.
    FillRect(s, 0, 0, 640, 480, Glaze(Rgb(30, 30, 60), 0.3));
    for (double x : {150.0, 470.0}) {
      DrawTable(s, x, 350, 1.2);
      DrawChair(s, x - 24, 347, 1.3, true);
      DrawChair(s, x + 24, 347, 1.3, true);
    }
    FillRect(s, 0, 0, 640, 480, Glaze(Rgb(40, 36, 70), 0.25));
    for (double x : {170.0, 470.0}) {
      FillEllipse(s, x, 150, 230, 260, Glow({x, 150}, 260, kLampLight, 0.5));
      FillEllipse(s, x, 55, 10, 5.5, Rgb(255, 248, 210));
    }
  } else {
    for (double x : {150.0, 470.0}) {
      DrawChair(s, x - 60, 382, 1.1, false);
      DrawChair(s, x + 60, 382, 1.1, false);
      DrawTable(s, x, 350, 1.2);
      FillEllipse(s, x - 12, 348, 8, 3, Rgb(250, 250, 250));
      FillRoundRect(s, x + 4, 338, 12, 10, 2, Rgb(252, 252, 250));
    }
  }
  return s.Resolve();
}

// One shop front of the shopping street, `w` wide at `x`.
void DrawShop(Sketch& s, double x, double w, double ground, Pixel wall, Pixel awning, int goods,
              Light light) {
  const double top = ground - 230;
  FillRect(s, x, top, w, 230,
           Linear({x, 0}, Tint(Lit(wall, light), 0.06), {x + w, 0}, Shade(Lit(wall, light), 0.85)));
  FillRect(s, x - 2, top - 8, w + 4, 10, Shade(Lit(wall, light), 0.6));
  FillRoundRect(s, x + 16, top + 14, w - 32, 30, 4, Lit(Rgb(250, 244, 230), light));
  for (double wx = x + 16; wx < x + w - 30; wx += 34)
    FillRect(s, wx, top + 56, 22, 30, Lit(Rgb(170, 200, 226), light));
  // Awning.
  const double ay = ground - 130;
  for (int i = 0; i < int(w / 20); ++i) {
    const Pixel c = Lit(i % 2 ? awning : Rgb(250, 246, 236), light);
    FillPolygon(s,
                {{x + 20.0 * i, ay},
                 {x + 20.0 * i + 20, ay},
                 {x + 20.0 * i + 22, ay + 26},
                 {x + 20.0 * i - 2, ay + 26}},
                Linear({0, ay}, c, {0, ay + 26}, Shade(c, 0.85)));
  }
  // Display window with the goods.
  const double wy = ay + 34;
  FillRect(s, x + 10, wy, w - 20, ground - wy - 6, Lit(Rgb(110, 80, 60), light));
  FillRect(s, x + 14, wy + 4, w - 28, ground - wy - 28, Lit(Rgb(250, 240, 220), light));
  Sprinkle r(static_cast<uint32_t>(x) + 3);
  for (double gx = x + 26; gx < x + w - 24; gx += 22) {
    const double gy = ground - 30;
    switch (goods) {
      case 0:  // bread
        FillEllipse(s, gx, gy - 8, 10, 7, Lit(Rgb(214, 150, 70), light));
        DrawArc(s, gx, gy - 10, 5, 3, 200, 340, 1.2, Lit(Rgb(246, 210, 150), light));
        break;
      case 1: {  // flowers in pots
        const Pixel petals[3] = {Rgb(240, 90, 110), Rgb(250, 200, 60), Rgb(200, 120, 220)};
        FillRect(s, gx - 6, gy - 12, 12, 12, Lit(Rgb(190, 110, 70), light));
        FillEllipse(s, gx, gy - 20, 9, 8, Lit(Rgb(90, 160, 80), light));
        for (int i = 0; i < 3; ++i)
          FillEllipse(s, gx - 5 + 5 * i, gy - 24 + (i % 2) * 4, 3.5, 3.5,
                      Lit(petals[r.Below(3)], light));
        break;
      }
      default: {  // books
        const Pixel covers[4] = {Rgb(180, 70, 60), Rgb(60, 100, 160), Rgb(220, 180, 80),
                                 Rgb(80, 140, 100)};
        for (int i = 0; i < 3; ++i)
          FillRect(s, gx - 9 + 6 * i, gy - 26 + r.Below(6), 5, 26, Lit(covers[r.Below(4)], light));
        break;
      }
    }
  }
  FillRect(s, x + 10, ground - 8, w - 20, 8, Lit(Rgb(120, 90, 70), light));
}

}  // namespace

Surface CafeFrontByDay(const Captions& captions) {
  return CafeStreet(Light::Day, captions);
}

Surface CafeFrontInTheEvening(const Captions& captions) {
  return CafeStreet(Light::Evening, captions);
}

Surface CafeInsideByDay() {
  return CafeRoom(false);
}

Surface CafeInsideAtNight() {
  return CafeRoom(true);
}

Surface ShoppingStreetInTheMorning(const Captions& captions) {
  const Light light = Light::Morning;
  Sketch s(kScreenWidth, kScreenHeight);
  DrawSky(s, {0, 0, 640, 200}, light, 9);
  DrawCloud(s, 140, 60, 0.8, light);
  DrawCloud(s, 520, 90, 0.6, light);
  DrawTown(s, -20, 660, 160, 90, light, 31);
  DrawPavement(s, 350, light);
  DrawShop(s, 0, 200, 350, Rgb(236, 214, 180), Rgb(210, 120, 60), 0, light);
  DrawShop(s, 212, 210, 350, Rgb(220, 232, 214), Rgb(220, 90, 120), 1, light);
  DrawShop(s, 434, 206, 350, Rgb(214, 206, 226), Rgb(70, 100, 170), 2, light);
  // Morning light slanting across the street.
  for (int i = 0; i < 4; ++i) {
    FillPolygon(
        s,
        {{100.0 + 150 * i, 0}, {150.0 + 150 * i, 0}, {40.0 + 150 * i, 480}, {-30.0 + 150 * i, 480}},
        Glaze(Rgb(255, 246, 220), 0.08));
  }
  DrawStreetLamp(s, 206, 400, 220, light);
  DrawStreetLamp(s, 428, 400, 220, light);
  Surface out = s.Resolve();
  const Pixel ink = Rgb(110, 70, 50);
  captions.Draw(out, 100, 149, "ベーカリー", "BAKERY", 14, 2, ink, ink);
  captions.Draw(out, 317, 149, "花屋", "FLOWERS", 14, 2, Rgb(70, 110, 70), Rgb(70, 110, 70));
  captions.Draw(out, 537, 149, "古本", "BOOKS", 14, 2, Rgb(60, 70, 120), Rgb(60, 70, 120));
  return out;
}

Surface HerosRoomAtNight() {
  Sketch s(kScreenWidth, kScreenHeight);
  const Pixel wall = Rgb(96, 100, 140);
  VerticalGradient(s, {0, 0, 640, 330}, Shade(wall, 0.7), wall);
  DrawWallWindow(s, {70, 60, 190, 170}, Light::Night, 41);
  // Curtains.
  for (double x : {48.0, 262.0}) {
    FillPolygon(s, Smooth({{x - 14, 40}, {x + 14, 40}, {x + 22, 250}, {x - 22, 250}}, 3),
                Linear({x - 22, 0}, Rgb(150, 130, 170), {x + 22, 0}, Rgb(100, 84, 130)));
  }
  FillRect(s, 30, 36, 260, 6, Rgb(90, 70, 60));
  // Moonlight on the floor.
  FillPolygon(s, {{70, 240}, {260, 240}, {330, 480}, {110, 480}}, Glaze(Rgb(180, 200, 255), 0.12));
  // Floor, bed with its blanket, a desk with a lamp, a shelf of books.
  VerticalGradient(s, {0, 330, 640, 150}, Rgb(90, 70, 70), Rgb(120, 90, 80));
  FillRect(s, 0, 326, 640, 6, Rgb(80, 70, 90));
  FillRect(s, 380, 250, 250, 110, Rgb(110, 84, 70));
  FillRoundRect(s, 384, 200, 40, 160, 6, Rgb(120, 90, 74));
  FillRoundRect(s, 400, 250, 236, 60, 12,
                Linear({400, 250}, Rgb(236, 236, 246), {400, 310}, Rgb(180, 184, 210)));
  FillRoundRect(s, 430, 244, 70, 30, 12, Rgb(246, 246, 252));
  FillRoundRect(s, 470, 262, 170, 110, 14,
                Linear({470, 262}, Rgb(120, 150, 210), {640, 372}, Rgb(70, 90, 150)));
  for (int i = 0; i < 5; ++i)
    DrawLine(s, {490.0 + 30 * i, 270}, {480.0 + 30 * i, 370}, 1.5, Glaze(Rgb(200, 214, 250), 0.35));
  FillRect(s, 270, 250, 120, 10, Rgb(150, 110, 80));
  FillRect(s, 280, 260, 8, 90, Rgb(120, 90, 64));
  FillRect(s, 372, 260, 8, 90, Rgb(120, 90, 64));
  FillEllipse(s, 300, 190, 120, 110, Glow({300, 190}, 120, kLampLight, 0.55));
  FillRect(s, 298, 200, 4, 50, Rgb(200, 190, 170));
  FillEllipse(s, 300, 248, 12, 3, Rgb(200, 190, 170));
  FillPolygon(s, {{284, 196}, {316, 196}, {308, 176}, {292, 176}}, Rgb(255, 230, 170));
  FillRoundRect(s, 320, 236, 30, 14, 2, Rgb(230, 200, 160));
  FillEllipse(s, 240, 420, 170, 40, Rgb(170, 110, 110));
  FillEllipse(s, 240, 420, 150, 32, Rgb(200, 140, 130));
  FillEllipse(s, 300, 210, 260, 220, Glow({300, 210}, 260, kLampLight, 0.35));
  FillRect(s, 470, 90, 140, 8, Rgb(120, 90, 64));
  const Pixel covers[5] = {Rgb(170, 70, 60), Rgb(60, 100, 150), Rgb(210, 170, 80), Rgb(90, 130, 90),
                           Rgb(140, 90, 140)};
  for (int i = 0; i < 10; ++i)
    FillRect(s, 476 + 13 * i, 58 + (i % 3) * 4, 11, 32 - (i % 3) * 4, Shade(covers[i % 5], 0.7));
  return s.Resolve();
}

namespace {

Surface Riverside(Light light) {
  Sketch s(kScreenWidth, kScreenHeight);
  DrawSky(s, {0, 0, 640, 250}, light, 13);
  if (light == Light::Day) {
    DrawCloud(s, 200, 60, 0.9, light);
    DrawCloud(s, 520, 100, 0.6, light);
  }
  DrawTown(s, -10, 660, 236, 70, light, 19);
  // The far bank, the river and a bridge downstream.
  FillEllipse(s, 150, 246, 280, 22, Lit(Rgb(120, 170, 100), light));
  FillEllipse(s, 520, 248, 240, 18, Lit(Rgb(106, 160, 96), light));
  for (int i = 0; i < 9; ++i)
    DrawTree(s, 20 + 75 * i, 250, 60 + (i % 3) * 12, light, 50 + i);
  DrawWater(s, {0, 250, 640, 80}, light, 23);
  if (light == Light::Sunset) {
    for (int i = 0; i < 8; ++i)
      FillRoundRect(s, 412 - 4 * i, 256 + 9 * i, 80 - 6 * i, 3, 1.5,
                    Glaze(Rgb(255, 220, 150), 0.7));
  }
  const Pixel stone = Lit(Rgb(190, 180, 170), light);
  FillRect(s, 430, 214, 210, 8, stone);
  for (double x : {450.0, 530.0, 610.0})
    FillRect(s, x, 222, 10, 30, Shade(stone, 0.8));
  DrawArc(s, 490, 254, 40, 30, 180, 360, 5, Shade(stone, 0.9));
  DrawArc(s, 570, 254, 40, 30, 180, 360, 5, Shade(stone, 0.9));
  // The near bank with its path.
  VerticalGradient(s, {0, 330, 640, 150}, Lit(Rgb(130, 190, 100), light),
                   Lit(Rgb(86, 146, 70), light));
  FillPolygon(s, {{0, 400}, {640, 360}, {640, 420}, {0, 480}}, Lit(Rgb(226, 206, 164), light));
  Sprinkle grass(29);
  for (int i = 0; i < 120; ++i) {
    const double x = grass.Between(0, 640);
    const double y = grass.Between(336, 480);
    const double pathTop = 400 - x / 16;
    const double pathBottom = 480 - x * 0.09375;
    if (y > pathTop - 2 && y < pathBottom + 10) continue;
    DrawLine(s, {x, y}, {x + grass.Between(-2, 2), y - grass.Between(4, 9)}, 1.2,
             Glaze(Lit(Rgb(70, 130, 60), light), 0.7));
  }
  DrawTree(s, 80, 380, 260, light, 61);
  // A bench facing the river.
  const Pixel wood = Lit(Rgb(150, 100, 60), light);
  FillRect(s, 420, 330, 140, 9, wood);
  FillRect(s, 420, 350, 140, 10, Shade(wood, 0.9));
  for (double x : {428.0, 546.0})
    FillRect(s, x, 360, 6, 26, Lit(Rgb(80, 70, 64), light));
  return s.Resolve();
}

}  // namespace

Surface RiversideByDay() {
  return Riverside(Light::Day);
}

Surface RiversideAtSunset() {
  return Riverside(Light::Sunset);
}

Surface SummerFestival(const Captions& captions) {
  Sketch s(kScreenWidth, kScreenHeight);
  DrawSky(s, {0, 0, 640, 330}, Light::Night, 71);
  // Fireworks over the hill.
  const Pixel sparks[3] = {Rgb(255, 170, 200), Rgb(170, 220, 255), Rgb(255, 230, 150)};
  const Point bursts[3] = {{130, 90}, {470, 60}, {300, 130}};
  for (int b = 0; b < 3; ++b) {
    FillEllipse(s, bursts[b].x, bursts[b].y, 60, 60, Glow(bursts[b], 60, sparks[b], 0.3));
    for (int i = 0; i < 24; ++i) {
      const double a = i * 3.14159265358979 / 12;
      const double r = 28 + (i % 2) * 10;
      DrawLine(s, {bursts[b].x + std::cos(a) * r * 0.4, bursts[b].y + std::sin(a) * r * 0.4},
               {bursts[b].x + std::cos(a) * r, bursts[b].y + std::sin(a) * r}, 1.6, sparks[b]);
    }
  }
  // The hill, the path up to a shrine gate, the stalls and the lanterns.
  FillPolygon(s,
              Smooth({{-40, 330}, {200, 250}, {420, 240}, {700, 320}, {700, 500}, {-40, 500}}, 6),
              Rgb(34, 40, 70));
  FillRect(s, 290, 216, 60, 8, Rgb(200, 60, 50));
  FillRect(s, 284, 208, 72, 8, Rgb(180, 50, 44));
  FillRect(s, 296, 224, 7, 36, Rgb(200, 60, 50));
  FillRect(s, 337, 224, 7, 36, Rgb(200, 60, 50));
  FillPolygon(s, {{300, 262}, {340, 262}, {440, 480}, {200, 480}}, Rgb(90, 80, 100));
  for (double x : {0.0, 470.0}) {
    FillRect(s, x + 10, 300, 160, 120, Rgb(120, 70, 50));
    FillRect(s, x, 290, 180, 16, Rgb(70, 44, 34));
    for (int i = 0; i < 6; ++i)
      FillRect(s, x + 10 + i * 27, 306, 26, 40, i % 2 ? Rgb(250, 246, 240) : Rgb(214, 60, 60));
    FillRect(s, x + 14, 346, 152, 64,
             Linear({0, 346}, Rgb(255, 226, 170), {0, 410}, Rgb(230, 170, 110)));
    // Goods on the counter: masks on the left stall, goldfish bags on the right.
    for (int i = 0; i < 5; ++i) {
      const double gx = x + 34 + 28 * i;
      if (x < 100) {
        FillEllipse(s, gx, 372, 10, 12, i % 2 ? Rgb(250, 250, 246) : Rgb(240, 190, 80));
        FillEllipse(s, gx - 4, 369, 2, 2, Rgb(40, 30, 30));
        FillEllipse(s, gx + 4, 369, 2, 2, Rgb(40, 30, 30));
        FillEllipse(s, gx, 378, 3, 2, Rgb(220, 80, 80));
      } else {
        FillEllipse(s, gx, 376, 10, 12, Glaze(Rgb(200, 230, 250), 0.8));
        FillEllipse(s, gx, 380, 4, 2.5, Rgb(240, 90, 50));
        FillRect(s, gx - 1, 358, 2, 8, Rgb(200, 60, 60));
      }
    }
    FillEllipse(s, x + 90, 380, 130, 90, Glow({x + 90, 380}, 130, kLampLight, 0.5));
    FillRect(s, x + 10, 410, 160, 12, Rgb(90, 60, 44));
    FillRect(s, x + 10, 422, 6, 58, Rgb(70, 46, 36));
    FillRect(s, x + 164, 422, 6, 58, Rgb(70, 46, 36));
  }
  for (int row = 0; row < 2; ++row) {
    std::vector<Point> line;
    for (int i = 0; i <= 20; ++i) {
      const double x = -10 + 33 * i;
      line.push_back({x, 150 + row * 70 + 30 * std::sin(i / 20.0 * 3.14159265358979)});
    }
    DrawPolyline(s, line, 1.2, Rgb(40, 30, 30));
    for (int i = 1; i < 20; i += 2) {
      const Pixel c = (i / 2 + row) % 3 == 0 ? Rgb(250, 240, 200) : Rgb(240, 90, 60);
      DrawLantern(s, line[size_t(i)].x, line[size_t(i)].y + 12, 11, c);
    }
  }
  Surface out = s.Resolve();
  captions.Draw(out, 90, 298, "おめん", "MASKS", 11, 2, kWhite, Rgb(40, 20, 20));
  captions.Draw(out, 560, 298, "金魚すくい", "GOLDFISH", 11, 2, kWhite, Rgb(40, 20, 20));
  return out;
}

Surface CafeKitchen() {
  Sketch s(kScreenWidth, kScreenHeight);
  // Tiled wall, a window, the hood over the stove.
  FillRect(s, 0, 0, 640, 320, Rgb(236, 240, 236));
  for (int y = 0; y < 320; y += 24)
    FillRect(s, 0, y, 640, 1.5, Rgb(206, 214, 210));
  for (int y = 0; y < 320; y += 24) {
    for (int x = (y / 24) % 2 ? 12 : 0; x < 640; x += 24)
      FillRect(s, x, y, 1.5, 24, Rgb(206, 214, 210));
  }
  DrawWallWindow(s, {60, 50, 150, 110}, Light::Day, 81);
  FillPolygon(s, {{300, 0}, {500, 0}, {540, 110}, {260, 110}},
              Linear({260, 0}, Rgb(220, 224, 232), {540, 0}, Rgb(160, 166, 180)));
  FillRect(s, 256, 108, 288, 10, Rgb(140, 146, 160));
  // Utensils on a rail.
  FillRect(s, 560, 60, 70, 4, Rgb(150, 154, 166));
  DrawLine(s, {576, 64}, {576, 120}, 3, Rgb(170, 174, 186));
  FillEllipse(s, 576, 124, 8, 6, Rgb(170, 174, 186));
  DrawLine(s, {604, 64}, {604, 104}, 3, Rgb(120, 80, 56));
  FillEllipse(s, 604, 120, 16, 16, Rgb(70, 70, 80));
  DrawShelf(s, 40, 230, 190, 83);
  // Counter of steel with the stove, pots and steam.
  FillRect(s, 0, 300, 640, 24, Linear({0, 300}, Rgb(230, 234, 240), {0, 324}, Rgb(170, 176, 190)));
  FillRect(s, 0, 324, 640, 156, Linear({0, 324}, Rgb(180, 186, 198), {0, 480}, Rgb(120, 126, 140)));
  for (int x = 0; x < 640; x += 160)
    FrameRect(s, {x + 8, 340, 144, 120}, 2, Glaze(Rgb(90, 96, 110), 0.6));
  FillRect(s, 280, 290, 240, 12, Rgb(60, 62, 70));
  for (double x : {330.0, 450.0}) {
    FillEllipse(s, x, 292, 30, 6, Rgb(40, 42, 50));
    FillRoundRect(s, x - 34, 236, 68, 56, 8,
                  Linear({x - 34, 0}, Rgb(230, 232, 238), {x + 34, 0}, Rgb(150, 156, 170)));
    FillEllipse(s, x, 236, 34, 7, Rgb(190, 196, 206));
    FillEllipse(s, x, 237, 30, 5, x < 400 ? Rgb(200, 120, 60) : Rgb(240, 230, 200));
    for (int i = 0; i < 3; ++i) {
      DrawArc(s, x - 12 + 12 * i, 220, 4, 8, 90, 270, 3, Glaze(kWhite, 0.6));
      DrawArc(s, x - 12 + 12 * i, 204, 4, 8, -90, 90, 3, Glaze(kWhite, 0.5));
    }
  }
  // A cutting board with bread and a bowl of fruit.
  FillRoundRect(s, 40, 288, 150, 16, 4, Rgb(196, 150, 100));
  FillEllipse(s, 90, 284, 34, 12, Rgb(214, 150, 70));
  FillEllipse(s, 150, 286, 16, 8, Rgb(230, 60, 60));
  FillEllipse(s, 586, 290, 36, 12, Rgb(250, 250, 250));
  FillEllipse(s, 576, 280, 9, 9, Rgb(250, 160, 40));
  FillEllipse(s, 594, 282, 9, 9, Rgb(230, 50, 60));
  FillRect(s, 0, 0, 640, 480, Glow({400, 120}, 500, Rgb(255, 240, 210), 0.2));
  return s.Resolve();
}

Surface RainyStreet() {
  const Light light = Light::Evening;
  Sketch s(kScreenWidth, kScreenHeight);
  VerticalGradient(s, {0, 0, 640, 300}, Rgb(90, 98, 118), Rgb(150, 156, 170));
  DrawTown(s, -20, 660, 300, 240, light, 91);
  FillRect(s, 0, 0, 640, 300, Glaze(Rgb(120, 130, 150), 0.35));
  // Wet road with the lights mirrored in it.
  VerticalGradient(s, {0, 300, 640, 180}, Rgb(70, 74, 90), Rgb(40, 44, 58));
  for (double x : {140.0, 500.0}) {
    DrawStreetLamp(s, x, 340, 200, light);
    FillRect(s, x - 10, 340, 20, 140,
             Linear({0, 340}, Rgb(255, 220, 150), {0, 480}, Rgb(60, 64, 80)));
    FillRect(s, x - 10, 340, 20, 140, Glaze(Rgb(60, 64, 80), 0.5));
  }
  Sprinkle r(97);
  for (int i = 0; i < 12; ++i) {
    const double x = r.Between(0, 640);
    const double y = r.Between(360, 470);
    FillEllipse(s, x, y, r.Between(20, 50), r.Between(3, 6), Glaze(Rgb(150, 160, 190), 0.35));
    DrawArc(s, x, y, 10, 2, 0, 360, 0.8, Glaze(Rgb(210, 220, 240), 0.4));
  }
  // A red umbrella left by the rail.
  FillRect(s, 300, 330, 340, 4, Rgb(90, 94, 110));
  for (double x = 310; x < 640; x += 40)
    FillRect(s, x, 334, 3, 30, Rgb(90, 94, 110));
  DrawLine(s, {318, 318}, {334, 396}, 2.5, Rgb(60, 50, 50));
  DrawArc(s, 338, 398, 5, 5, 0, 180, 2.5, Rgb(60, 50, 50));
  std::vector<Point> canopy = ArcPoints(314, 322, 46, 30, 180, 360, 16);
  canopy.push_back({360, 330});
  for (int i = 5; i >= 0; --i)
    canopy.push_back({268 + 18.4 * i, i % 2 ? 334.0 : 328.0});
  FillPolygon(s, canopy, Linear({268, 0}, Rgb(230, 80, 90), {360, 0}, Rgb(160, 40, 50)));
  for (int i = 1; i < 5; ++i)
    DrawLine(s, {314, 292}, {268 + 18.4 * i, 330}, 1, Glaze(Rgb(120, 20, 30), 0.6));
  DrawRain(s, 99);
  return s.Resolve();
}

}  // namespace dovetail::tools
