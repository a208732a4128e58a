#include "demo/DemoScenes.h"

#include <cstdint>
#include <string>

#include "demo/Canvas.h"
#include "demo/DemoFigures.h"
#include "demo/DemoUi.h"
#include "demo/PixelFont.h"
#include "script/PictureRegions.h"

namespace dovetail::tools {

namespace {

const Rect kScreen{0, 0, kScreenWidth, kScreenHeight};

// A small fixed pseudo-random sequence, so that every build draws the same
// stars and windows.
class Sprinkle {
 public:
  explicit Sprinkle(uint32_t seed) : state_(seed) {}
  int Below(int n) {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<int>((state_ >> 8) % static_cast<uint32_t>(n));
  }

 private:
  uint32_t state_;
};

void DrawDove(Surface& s, double cx, double cy, double k, Pixel body, Pixel edge) {
  auto at = [&](double x, double y) { return Point{cx + x * k, cy + y * k}; };
  // Tail, body, wing, head and beak, facing left.
  FillPolygon(s, {at(20, -2), at(46, -14), at(48, 4), at(22, 8)}, edge);
  FillPolygon(s, {at(21, -1), at(44, -11), at(45, 2), at(22, 6)}, body);
  FillEllipse(s, cx, cy, 26 * k, 13 * k, edge);
  FillEllipse(s, cx, cy, 24.5 * k, 11.5 * k, body);
  FillEllipse(s, cx - 22 * k, cy - 10 * k, 9 * k, 9 * k, edge);
  FillEllipse(s, cx - 22 * k, cy - 10 * k, 7.5 * k, 7.5 * k, body);
  FillPolygon(s, {at(-30, -11), at(-38, -8), at(-30, -6)}, Rgb(240, 170, 70));
  FillEllipse(s, cx - 24 * k, cy - 12 * k, 1.6 * k, 1.6 * k, kInk);
  // The raised wing: a curved edge in front, three feather tips behind.
  const std::vector<Point> wing = {at(-8, -4),  at(-6, -18), at(0, -32),  at(10, -42),
                                   at(16, -40), at(14, -32), at(22, -36), at(24, -28),
                                   at(30, -30), at(28, -18), at(16, -2)};
  FillPolygon(s, wing, edge);
  std::vector<Point> inner;
  for (const Point& q : wing)
    inner.push_back({cx + (q.x - cx) * 0.9 + 1.2 * k, cy + (q.y - cy) * 0.9 - 0.4 * k});
  FillPolygon(s, inner, body);
}

void DrawTree(Surface& s, double x, double ground, double size, Pixel leaves) {
  FillRoundRect(s,
                {int(x - size * 0.08), int(ground - size * 0.9), int(size * 0.16), int(size * 0.9)},
                3, Rgb(110, 76, 50));
  FillEllipse(s, x, ground - size, size * 0.42, size * 0.36, Shade(leaves, 0.85));
  FillEllipse(s, x - size * 0.22, ground - size * 0.85, size * 0.3, size * 0.26, leaves);
  FillEllipse(s, x + size * 0.2, ground - size * 1.1, size * 0.3, size * 0.26,
              Mix(leaves, Rgb(255, 255, 220), 0.15));
}

void DrawCloud(Surface& s, double x, double y, double k, Pixel colour) {
  FillEllipse(s, x, y, 40 * k, 14 * k, colour);
  FillEllipse(s, x - 18 * k, y - 6 * k, 18 * k, 14 * k, colour);
  FillEllipse(s, x + 12 * k, y - 10 * k, 22 * k, 17 * k, colour);
}

// A row of town buildings along `ground`, with windows lit at random.
void DrawSkyline(Surface& s, int ground, Pixel wall, Pixel window, bool lit, uint32_t seed) {
  Sprinkle r(seed);
  for (int x = -10; x < kScreenWidth; x += 50 + r.Below(40)) {
    const int w = 44 + r.Below(40);
    const int h = 60 + r.Below(110);
    s.FillRect(x, ground - h, w, h, wall);
    for (int wy = ground - h + 10; wy < ground - 14; wy += 18) {
      for (int wx = x + 8; wx < x + w - 10; wx += 14) {
        if (!lit || r.Below(3) > 0) s.FillRect(wx, wy, 6, 8, window);
      }
    }
  }
}

// The café seen from the street: facade, sign, awning, window and door.
void DrawCafeFront(Surface& s, bool evening) {
  const Pixel brick = evening ? Rgb(140, 80, 70) : Rgb(186, 116, 84);
  const Pixel glow = evening ? Rgb(255, 206, 120) : Rgb(186, 214, 236);
  s.FillRect(150, 120, 340, 250, brick);
  for (int y = 132; y < 370; y += 14) {
    s.FillRect(150, y, 340, 1, Shade(brick, 0.88));
  }
  s.FillRect(140, 110, 360, 14, Rgb(90, 60, 50));
  FillRoundRect(s, {214, 140, 212, 40}, 6, Rgb(70, 46, 36));
  DrawPixelTextCentred(s, 320, 160, "CAFE DOVETAIL", 2, Rgb(250, 226, 160), Rgb(30, 20, 16));
  // Awning with a scalloped edge.
  for (int i = 0; i < 12; ++i) {
    const Pixel stripe = i % 2 == 0 ? Rgb(200, 60, 60) : Rgb(250, 240, 226);
    FillPolygon(s,
                {{170.0 + 25 * i, 196},
                 {195.0 + 25 * i, 196},
                 {199.0 + 25 * i, 226},
                 {166.0 + 25 * i, 226}},
                stripe);
    FillEllipse(s, 182.5 + 25 * i, 226, 16, 8, stripe);
  }
  // Window and door.
  s.FillRect(176, 246, 160, 108, Rgb(90, 60, 50));
  VerticalGradient(s, {182, 252, 148, 96}, Mix(glow, Rgb(255, 255, 255), 0.3), glow);
  s.FillRect(254, 252, 4, 96, Rgb(90, 60, 50));
  DrawLine(s, {196, 262}, {222, 288}, 4, Mix(glow, Rgb(255, 255, 255), 0.6));
  s.FillRect(366, 240, 78, 130, Rgb(90, 60, 50));
  s.FillRect(372, 246, 66, 124, Rgb(150, 96, 60));
  FillRoundRect(s, {384, 258, 42, 40}, 6, glow);
  FillEllipse(s, 428, 314, 4, 4, Rgb(240, 200, 90));
  // Plants by the door.
  for (double x : {352.0, 458.0}) {
    s.FillRect(int(x - 10), 346, 20, 24, Rgb(170, 90, 60));
    FillEllipse(s, x, 338, 16, 14, Rgb(70, 140, 70));
  }
  if (evening) {
    FillEllipse(s, 356, 226, 10, 10, Rgb(255, 236, 170));
    FillEllipse(s, 356, 226, 6, 6, Rgb(255, 250, 220));
  }
}

}  // namespace

Surface CafeExterior(bool evening) {
  Surface s(kScreenWidth, kScreenHeight);
  if (evening) {
    VerticalGradient(s, {0, 0, 640, 330}, Rgb(70, 60, 130), Rgb(250, 166, 110));
    FillEllipse(s, 560, 250, 40, 40, Rgb(255, 200, 120));
  } else {
    VerticalGradient(s, {0, 0, 640, 330}, Rgb(110, 170, 232), Rgb(206, 230, 250));
    FillEllipse(s, 548, 70, 34, 34, Rgb(255, 244, 190));
    DrawCloud(s, 110, 70, 1.0, Rgb(250, 252, 255));
    DrawCloud(s, 420, 50, 0.7, Rgb(250, 252, 255));
  }
  DrawSkyline(s, 330, evening ? Rgb(90, 70, 110) : Rgb(150, 166, 190),
              evening ? Rgb(255, 220, 140) : Rgb(190, 210, 230), evening, 7);
  s.FillRect(0, 330, 640, 40, evening ? Rgb(150, 130, 130) : Rgb(200, 190, 176));
  VerticalGradient(s, {0, 370, 640, 110}, evening ? Rgb(90, 80, 96) : Rgb(130, 130, 136),
                   evening ? Rgb(60, 54, 70) : Rgb(100, 100, 108));
  for (int x = 20; x < 640; x += 120)
    s.FillRect(x, 424, 60, 6, evening ? Rgb(200, 190, 150) : Rgb(236, 236, 226));
  DrawTree(s, 70, 370, 170, evening ? Rgb(70, 100, 70) : Rgb(90, 160, 80));
  DrawCafeFront(s, evening);
  if (evening) {
    s.FillRect(574, 200, 6, 170, Rgb(60, 56, 70));
    FillEllipse(s, 577, 196, 14, 10, Rgb(255, 240, 180));
  }
  return s;
}

Surface CafeInterior() {
  Surface s(kScreenWidth, kScreenHeight);
  VerticalGradient(s, {0, 0, 640, 300}, Rgb(240, 226, 200), Rgb(220, 198, 166));
  for (int x = 0; x < 640; x += 32)
    s.FillRect(x, 0, 2, 300, Rgb(230, 214, 186));
  // Window with the street outside.
  s.FillRect(48, 56, 204, 174, Rgb(120, 84, 56));
  VerticalGradient(s, {56, 64, 188, 158}, Rgb(150, 200, 240), Rgb(220, 236, 250));
  DrawTree(s, 110, 222, 110, Rgb(100, 170, 90));
  s.FillRect(148, 64, 6, 158, Rgb(120, 84, 56));
  s.FillRect(56, 140, 188, 6, Rgb(120, 84, 56));
  s.FillRect(40, 226, 220, 10, Rgb(150, 104, 70));
  // Clock.
  FillEllipse(s, 320, 70, 26, 26, Rgb(120, 84, 56));
  FillEllipse(s, 320, 70, 21, 21, Rgb(252, 248, 236));
  DrawLine(s, {320, 70}, {320, 55}, 3, kInk);
  DrawLine(s, {320, 70}, {331, 76}, 3, kInk);
  // Shelves with cups and jars.
  for (int shelf = 0; shelf < 2; ++shelf) {
    const int y = 110 + 70 * shelf;
    s.FillRect(380, y, 230, 8, Rgb(130, 90, 60));
    for (int i = 0; i < 6; ++i) {
      const int x = 392 + 36 * i;
      if ((i + shelf) % 2 == 0) {
        FillRoundRect(s, {x, y - 26, 22, 26}, 5, Rgb(200, 230, 220));
        s.FillRect(x + 2, y - 14, 18, 12, Rgb(140, 90, 60));
      } else {
        FillRoundRect(s, {x, y - 18, 22, 18}, 5, Rgb(250, 250, 246));
        DrawArc(s, x + 23, y - 10, 5, 5, -90, 90, 3, Rgb(250, 250, 246));
      }
    }
  }
  // Pendant lamps.
  for (double x : {200.0, 470.0}) {
    s.FillRect(int(x) - 1, 0, 2, 30, Rgb(80, 60, 50));
    FillPolygon(s, {{x - 8, 30}, {x + 8, 30}, {x + 26, 56}, {x - 26, 56}}, Rgb(60, 110, 90));
    FillEllipse(s, x, 58, 10, 6, Rgb(255, 236, 170));
  }
  // Back counter with the coffee machine, wainscot and floor.
  s.FillRect(0, 250, 640, 60, Rgb(150, 100, 66));
  s.FillRect(0, 246, 640, 8, Rgb(110, 70, 46));
  FillRoundRect(s, {500, 176, 84, 74}, 8, Rgb(190, 196, 206));
  FillRoundRect(s, {512, 188, 60, 24}, 4, Rgb(70, 70, 80));
  FillEllipse(s, 542, 240, 12, 5, Rgb(250, 250, 246));
  VerticalGradient(s, {0, 310, 640, 170}, Rgb(176, 124, 84), Rgb(140, 94, 62));
  for (int y = 330; y < 480; y += 30)
    s.FillRect(0, y, 640, 2, Rgb(124, 84, 56));
  return s;
}

Surface TitleScreen(const Captions& captions) {
  Surface s(kScreenWidth, kScreenHeight);
  VerticalGradient(s, kScreen, Rgb(252, 240, 220), Rgb(224, 192, 156));
  Sprinkle r(11);
  for (int i = 0; i < 14; ++i) {
    const double x = r.Below(640);
    const double y = r.Below(480);
    const double radius = 10 + r.Below(40);
    FillEllipse(s, x, y, radius, radius, Mix(s.At(int(x), int(y)), Rgb(255, 255, 250), 0.35));
  }
  DrawPixelText(s, 46, 50, "DOVETAIL", 7, Rgb(150, 100, 70));
  DrawPixelText(s, 40, 44, "DOVETAIL", 7, Rgb(92, 54, 36));
  DrawPixelText(s, 44, 110, "A LITTLE CAFE STORY", 3, Rgb(150, 96, 64));
  DrawDove(s, 470, 120, 1.6, Rgb(252, 252, 250), Rgb(150, 140, 140));
  // A cup of coffee with latte art and steam.
  FillEllipse(s, 190, 380, 130, 34, Rgb(190, 170, 160));
  FillEllipse(s, 190, 376, 122, 28, Rgb(252, 250, 246));
  FillRoundRect(s, {96, 240, 188, 136}, 50, Rgb(252, 250, 246));
  s.FillRect(96, 240, 188, 60, Rgb(252, 250, 246));
  DrawArc(s, 290, 296, 34, 34, -80, 80, 14, Rgb(252, 250, 246));
  FillEllipse(s, 190, 244, 92, 22, Rgb(140, 90, 56));
  FillEllipse(s, 180, 244, 22, 10, Rgb(246, 230, 206));
  FillEllipse(s, 200, 244, 22, 10, Rgb(246, 230, 206));
  FillPolygon(s, {{160, 246}, {220, 246}, {190, 262}}, Rgb(246, 230, 206));
  for (int i = 0; i < 3; ++i) {
    const double x = 150 + 40 * i;
    DrawArc(s, x, 200, 10, 16, 90, 270, 5, Rgb(255, 255, 252));
    DrawArc(s, x, 168, 10, 16, -90, 90, 5, Rgb(255, 255, 252));
  }
  // The menu.
  FillRoundRect(s, {393, 225, 164, 159}, 12, Rgb(236, 214, 186));
  for (int i = 1; i <= kTitleItems; ++i) {
    const Rect item = TitleItem(i);
    DrawTitleItem(s, item.x, item.y, i, false, captions);
  }
  DrawPixelText(s, 476, 458, "DEMO EDITION", 1, Rgb(150, 110, 80));
  return s;
}

Surface CafeBoard(const Captions& captions) {
  Surface s(kScreenWidth, kScreenHeight);
  // Dining room with its wallpaper, and the counter the guests sit behind.
  VerticalGradient(s, {0, 0, 640, 276}, Rgb(246, 234, 210), Rgb(230, 210, 180));
  for (int x = 12; x < 470; x += 36)
    s.FillRect(x, 0, 3, 230, Rgb(238, 222, 196));
  s.FillRect(0, 226, 470, 50, Rgb(170, 120, 80));
  s.FillRect(0, 276, 470, 24, Rgb(110, 70, 46));
  s.FillRect(0, 272, 470, 6, Rgb(200, 150, 100));
  // Right column: stage plaque, tray with the plate, cancel button.
  VerticalGradient(s, {470, 0, 170, 310}, Rgb(120, 80, 54), Rgb(96, 62, 42));
  s.FillRect(476, 6, 158, 30, Rgb(70, 46, 34));
  FillRoundRect(s, {kPlate.x, kPlate.y, kPlate.w, kPlate.h}, 12, Rgb(190, 140, 90));
  FillRoundRect(s, {kPlate.x + 4, kPlate.y + 4, kPlate.w - 8, kPlate.h - 8}, 10,
                Rgb(214, 170, 116));
  FillEllipse(s, kPlate.x + 60, kPlate.y + 100, 52, 92, Rgb(206, 210, 220));
  FillEllipse(s, kPlate.x + 60, kPlate.y + 100, 46, 86, Rgb(248, 248, 252));
  DrawCancelButton(s, kCancelButton.x, kCancelButton.y, false, captions);
  // Kitchen counter with the staff and the dish tray.
  VerticalGradient(s, {0, 300, 640, 180}, Rgb(92, 60, 42), Rgb(64, 42, 30));
  const Pixel tiles[4] = {Rgb(150, 110, 80), Rgb(220, 150, 160), Rgb(230, 180, 100),
                          Rgb(150, 170, 210)};
  const int staff[4] = {1, 3, 2, 4};  // who serves categories 1..4
  for (int i = 0; i < 4; ++i)
    DrawStaffPortrait(s, kStaffFaces[static_cast<size_t>(i)], staff[i], tiles[i]);
  FillRoundRect(s, {100, 318, 440, 86}, 10, Rgb(170, 120, 76));
  FillRoundRect(s, {104, 322, 432, 78}, 8, Rgb(206, 160, 110));
  captions.DrawLeft(s, 104, 418, "顔にマウスを合わせるとメニューが出ます",
                    "POINT AT A FACE FOR ITS MENU,", 12, 2, Rgb(240, 220, 180));
  captions.DrawLeft(s, 104, 442, "料理をのせて、お客さまをクリック", "CLICK A GUEST TO SERVE", 12,
                    2, Rgb(240, 220, 180));
  return s;
}

Surface EndingSunset() {
  Surface s(kScreenWidth, kScreenHeight);
  VerticalGradient(s, {0, 0, 640, 360}, Rgb(90, 70, 140), Rgb(255, 170, 100));
  FillEllipse(s, 420, 250, 60, 60, Rgb(255, 214, 140));
  for (int i = 0; i < 4; ++i)
    DrawArc(s, 150 + 40 * i, 110 + 12 * (i % 2), 8, 5, 200, 340, 2, Rgb(70, 50, 80));
  DrawSkyline(s, 360, Rgb(80, 50, 80), Rgb(255, 200, 120), true, 21);
  VerticalGradient(s, {0, 360, 640, 120}, Rgb(70, 44, 70), Rgb(40, 26, 44));
  // The café's lit window in the foreground.
  s.FillRect(230, 300, 180, 80, Rgb(60, 38, 50));
  s.FillRect(250, 318, 60, 40, Rgb(255, 210, 130));
  s.FillRect(330, 318, 60, 40, Rgb(255, 210, 130));
  DrawPixelTextCentred(s, 320, 420, "THANK YOU FOR VISITING", 2, Rgb(255, 226, 180),
                       Rgb(30, 20, 30));
  return s;
}

Surface EndingNight() {
  Surface s(kScreenWidth, kScreenHeight);
  VerticalGradient(s, {0, 0, 640, 380}, Rgb(16, 20, 60), Rgb(60, 60, 120));
  Sprinkle r(5);
  for (int i = 0; i < 90; ++i) {
    const int x = r.Below(640);
    const int y = r.Below(330);
    if (i % 9 == 0) {
      FillStar(s, x, y, 5, 2, 5, Rgb(255, 250, 210));
    } else {
      s.FillRect(x, y, 2, 2, Rgb(230, 230, 255));
    }
  }
  FillEllipse(s, 520, 90, 36, 36, Rgb(255, 246, 200));
  FillEllipse(s, 536, 80, 32, 32, Mix(Rgb(16, 20, 60), Rgb(60, 60, 120), 0.2));
  DrawSkyline(s, 380, Rgb(30, 30, 56), Rgb(255, 220, 140), true, 33);
  VerticalGradient(s, {0, 380, 640, 100}, Rgb(30, 30, 50), Rgb(14, 14, 28));
  DrawDove(s, 180, 160, 1.2, Rgb(240, 240, 250), Rgb(120, 120, 150));
  return s;
}

Surface RankingScreen(const Captions& captions) {
  Surface s(kScreenWidth, kScreenHeight, Rgb(110, 72, 46));
  FillRoundRect(s, {24, 16, 592, 448}, 14, Rgb(170, 124, 80));
  FillRoundRect(s, {34, 26, 572, 428}, 10, Rgb(40, 70, 58));
  DrawPixelTextCentred(s, 320, 66, "RANKING", 5, Rgb(250, 236, 190), Rgb(20, 36, 30));
  FillStar(s, 190, 66, 16, 7, 5, Rgb(250, 206, 90));
  FillStar(s, 450, 66, 16, 7, 5, Rgb(250, 206, 90));
  const Pixel chalk = Rgb(200, 220, 206);
  DrawPixelText(s, 155, 106, "NAME", 1, chalk);
  DrawPixelText(s, 390 - PixelTextWidth("SCORE", 1), 106, "SCORE", 1, chalk);
  DrawPixelText(s, 480, 106, "GRADE", 1, chalk);
  const char* places[5] = {"1ST", "2ND", "3RD", "4TH", "5TH"};
  for (int i = 1; i <= 5; ++i) {
    const int y = RankingRowY(i);
    DrawPixelText(s, 84, y + 1, places[i - 1], 2, i == 1 ? Rgb(250, 206, 90) : chalk);
    s.FillRect(80, y + 22, 480, 1, Rgb(90, 120, 104));
  }
  DrawExitButton(s, kRankingExit.x, kRankingExit.y, false, captions);
  return s;
}

Surface RiversidePark() {
  Surface s(kScreenWidth, kScreenHeight);
  VerticalGradient(s, {0, 0, 640, 260}, Rgb(150, 200, 246), Rgb(226, 240, 250));
  DrawCloud(s, 200, 60, 0.9, Rgb(252, 252, 255));
  DrawCloud(s, 520, 100, 0.6, Rgb(252, 252, 255));
  FillEllipse(s, 150, 270, 260, 70, Rgb(130, 180, 110));
  FillEllipse(s, 520, 280, 240, 60, Rgb(110, 166, 100));
  VerticalGradient(s, {0, 270, 640, 60}, Rgb(120, 170, 220), Rgb(90, 140, 200));
  for (int i = 0; i < 8; ++i)
    s.FillRect(40 + 80 * i, 286 + 12 * (i % 3), 40, 2, Rgb(200, 226, 250));
  VerticalGradient(s, {0, 330, 640, 150}, Rgb(130, 190, 100), Rgb(90, 150, 70));
  FillPolygon(s, {{250, 480}, {390, 480}, {340, 330}, {300, 330}}, Rgb(220, 200, 160));
  DrawTree(s, 80, 350, 190, Rgb(80, 150, 80));
  DrawTree(s, 560, 340, 160, Rgb(100, 164, 84));
  // A bench.
  s.FillRect(420, 380, 120, 10, Rgb(150, 100, 60));
  s.FillRect(420, 356, 120, 8, Rgb(150, 100, 60));
  s.FillRect(426, 390, 6, 24, Rgb(90, 70, 60));
  s.FillRect(528, 390, 6, 24, Rgb(90, 70, 60));
  return s;
}

Surface Splash() {
  Surface s(400, 200, Rgb(252, 250, 246));
  FrameRect(s, {6, 6, 388, 188}, 3, Rgb(200, 170, 130));
  DrawDove(s, 90, 100, 1.3, Rgb(252, 252, 250), Rgb(150, 140, 140));
  DrawPixelText(s, 150, 70, "DOVETAIL", 5, Rgb(92, 54, 36));
  DrawPixelText(s, 152, 120, "A LITTLE CAFE STORY", 2, Rgb(150, 96, 64));
  return s;
}

}  // namespace dovetail::tools
