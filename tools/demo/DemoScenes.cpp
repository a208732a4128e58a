#include "demo/DemoScenes.h"

#include <cmath>
#include <string>
#include <vector>

#include "demo/Canvas.h"
#include "demo/DemoFigures.h"
#include "demo/DemoUi.h"
#include "demo/PixelFont.h"
#include "demo/Scenery.h"
#include "screen/PictureRegions.h"

namespace dovetail::tools {

namespace {

void DrawDove(Sketch& s, double cx, double cy, double k, Pixel body, Pixel shade) {
  auto at = [&](double x, double y) { return Point{cx + x * k, cy + y * k}; };
  const Brush feathers = Linear(at(0, -40), Tint(body, 0.3), at(0, 14), shade);
  // Tail, body, head and beak, facing left; the raised wing over the back.
  FillPolygon(s, {at(20, -2), at(48, -14), at(50, 4), at(22, 8)}, shade);
  FillPolygon(s, Smooth({at(-30, -8), at(-14, 10), at(16, 12), at(30, -2), at(6, -10)}), feathers);
  FillEllipse(s, cx - 24 * k, cy - 10 * k, 9 * k, 9 * k, feathers);
  FillPolygon(s, {at(-32, -11), at(-41, -8), at(-32, -5)}, Rgb(240, 170, 80));
  FillEllipse(s, cx - 26 * k, cy - 12 * k, 1.7 * k, 1.7 * k, Rgb(60, 40, 44));
  const std::vector<Point> wing = {at(-8, -4),  at(-4, -20), at(4, -34),  at(14, -44),
                                   at(18, -38), at(20, -33), at(26, -38), at(28, -28),
                                   at(34, -30), at(30, -16), at(16, -2)};
  FillPolygon(s, Smooth(wing, 3), Linear(at(0, -44), kWhite, at(0, 0), Tint(shade, 0.3)));
  DrawArc(s, cx + 12 * k, cy - 14 * k, 12 * k, 16 * k, 200, 300, 1.2 * k, Glaze(shade, 0.6));
}

}  // namespace

Surface TitleScreen(const Captions& captions) {
  Sketch s(kScreenWidth, kScreenHeight);
  FillRect(s, 0, 0, 640, 480, Radial({180, 120}, 700, 560, Rgb(255, 246, 228), Rgb(226, 186, 146)));
  Sprinkle r(11);
  for (int i = 0; i < 18; ++i) {
    const double x = r.Below(640);
    const double y = r.Below(480);
    const double radius = 8 + r.Below(36);
    FillEllipse(s, x, y, radius, radius, Glaze(Rgb(255, 255, 250), r.Between(0.15, 0.4)));
  }
  // Leaves drifting down from the top right.
  for (int i = 0; i < 9; ++i) {
    const double x = 380 + r.Between(0, 240);
    const double y = r.Between(10, 200);
    const double a = r.Between(0, 3.1);
    const Point tip{x + 12 * std::cos(a), y + 12 * std::sin(a)};
    FillPolygon(s,
                Smooth({{x, y},
                        {(x + tip.x) / 2 + 4, (y + tip.y) / 2 - 4},
                        tip,
                        {(x + tip.x) / 2 - 4, (y + tip.y) / 2 + 4}},
                       3),
                i % 2 ? Rgb(214, 140, 80) : Rgb(190, 110, 60));
  }
  DrawDove(s, 500, 130, 1.5, Rgb(255, 255, 252), Rgb(170, 160, 170));
  // A big cup of café latte with its steam.
  const Pixel china = Rgb(253, 251, 247);
  FillEllipse(s, 190, 404, 150, 40, Rgb(196, 172, 156));
  FillEllipse(s, 190, 398, 144, 34, Linear({60, 0}, china, {330, 0}, Rgb(226, 220, 214)));
  FillEllipse(s, 190, 398, 100, 22, Rgb(236, 230, 224));
  DrawArc(s, 300, 318, 40, 40, -80, 80, 16, Rgb(232, 226, 220));
  FillPolygon(s, Smooth({{70, 262}, {310, 262}, {296, 350}, {250, 392}, {130, 392}, {84, 350}}, 5),
              Linear({70, 0}, china, {310, 0}, Rgb(214, 206, 200)));
  FillEllipse(s, 190, 262, 120, 26, Rgb(230, 222, 214));
  FillEllipse(s, 190, 264, 110, 21, Rgb(176, 120, 74));
  FillEllipse(s, 180, 263, 24, 11, Rgb(250, 238, 218));
  FillEllipse(s, 202, 263, 24, 11, Rgb(250, 238, 218));
  FillPolygon(s, {{157, 266}, {225, 266}, {191, 283}}, Rgb(250, 238, 218));
  for (int i = 0; i < 3; ++i) {
    const double x = 150 + 40 * i;
    DrawArc(s, x, 214, 10, 18, 90, 270, 6, Glaze(kWhite, 0.75));
    DrawArc(s, x, 178, 10, 18, -90, 90, 6, Glaze(kWhite, 0.6));
  }
  // The panel behind the menu.
  FillRoundRect(s, 391, 223, 168, 163, 14, Rgb(190, 150, 110));
  FillRoundRect(s, 393, 225, 164, 159, 12, kTitlePanel);
  Surface out = s.Resolve();
  captions.DrawLatin(out, 176, 66, "Dovetail", 44, 7, Rgb(96, 58, 40), Rgb(230, 190, 150));
  captions.Draw(out, 176, 122, "〜 小さな喫茶店の七日間 〜", "A LITTLE CAFE STORY", 14, 2,
                Rgb(150, 96, 64), Rgb(150, 96, 64));
  for (int i = 1; i <= kTitleItems; ++i) {
    const Rect item = TitleItem(i);
    Paste(out, item.x, item.y, TitleItemPicture(i, false, captions));
  }
  captions.DrawLatin(out, 560, 462, "demo edition", 9, 1, Rgb(150, 110, 80), Rgb(150, 110, 80));
  return out;
}

Surface CafeBoard(const Captions& captions) {
  Sketch s(kScreenWidth, kScreenHeight);
  // The dining room behind the counter, where the guests sit.
  VerticalGradient(s, {0, 0, 470, 226}, Rgb(246, 234, 212), Rgb(232, 212, 182));
  for (int x = 12; x < 470; x += 36)
    FillRect(s, x, 0, 10, 226, Glaze(Rgb(255, 250, 240), 0.3));
  DrawWallWindow(s, {40, 120, 100, 70}, Light::Day, 5);
  DrawWallWindow(s, {330, 120, 100, 70}, Light::Day, 6);
  // The day's menu chalked on a small board above the shelf.
  FillRoundRect(s, 184, 96, 102, 86, 4, Rgb(130, 90, 60));
  FillRect(s, 190, 102, 90, 74, Rgb(46, 74, 60));
  Sprinkle chalk(8);
  for (int line = 0; line < 4; ++line) {
    const double y = 122 + 14 * line;
    FillRoundRect(s, 200, y, chalk.Between(34, 50), 2, 1, Glaze(Rgb(240, 240, 230), 0.7));
    FillRoundRect(s, 256, y, 14, 2, 1, Glaze(Rgb(250, 220, 140), 0.7));
  }
  DrawArc(s, 235, 110, 7, 3, 0, 180, 1.5, Glaze(Rgb(240, 240, 230), 0.8));
  DrawLine(s, {226, 108}, {244, 108}, 1.5, Glaze(Rgb(240, 240, 230), 0.8));
  DrawShelf(s, 170, 200, 130, 7);
  for (double x : {90.0, 240.0, 390.0})
    DrawPendantLamp(s, x, 4, false);
  // The counter top the guests sit behind.
  FillRect(s, 0, 226, 470, 10, Linear({0, 226}, Rgb(214, 168, 118), {0, 236}, Rgb(170, 118, 76)));
  FillRect(s, 0, 236, 470, 64, Linear({0, 236}, Rgb(150, 100, 64), {0, 300}, Rgb(110, 70, 46)));
  for (int x = 0; x < 470; x += 48)
    FrameRect(s, {x + 6, 244, 36, 48}, 1.5, Glaze(Rgb(90, 56, 36), 0.7));
  // Right column: stage plaque place, the tray with the plate, cancel button.
  FillRect(s, 470, 0, 170, 310, Linear({470, 0}, Rgb(126, 86, 58), {640, 310}, Rgb(90, 58, 40)));
  FillRect(s, 470, 0, 3, 310, Rgb(70, 44, 30));
  FillRect(s, 476, 6, 158, 30, Rgb(74, 50, 36));
  FillRoundRect(s, kPlate.x - 4, kPlate.y - 4, kPlate.w + 8, kPlate.h + 8, 14, Rgb(70, 46, 32));
  FillRoundRect(s, kPlate.x, kPlate.y, kPlate.w, kPlate.h, 12,
                Linear({double(kPlate.x), 0}, Rgb(226, 184, 128), {double(kPlate.x + kPlate.w), 0},
                       Rgb(190, 140, 90)));
  FillEllipse(s, kPlate.x + 60, kPlate.y + 101, 54, 94, Rgb(196, 200, 214));
  FillEllipse(s, kPlate.x + 60, kPlate.y + 100, 52, 92, Rgb(252, 252, 254));
  FillEllipse(s, kPlate.x + 60, kPlate.y + 100, 40, 78, Rgb(240, 242, 248));
  // The kitchen pass below: staff at both ends, the menu tray between them.
  FillRect(s, 0, 300, 640, 180, Linear({0, 300}, Rgb(96, 64, 46), {0, 480}, Rgb(60, 40, 30)));
  FillRect(s, 0, 300, 640, 4, Rgb(60, 40, 28));
  FillRoundRect(s, 100, 318, 440, 86, 12, Rgb(120, 80, 52));
  FillRoundRect(s, 104, 322, 432, 78, 10,
                Linear({0, 322}, Rgb(236, 214, 176), {0, 400}, Rgb(210, 176, 130)));
  for (int i = 0; i < 5; ++i)
    FillEllipse(s, 150 + 80 * i, 384, 32, 8, Glaze(Rgb(150, 110, 70), 0.35));
  Surface out = s.Resolve();
  Paste(out, kCancelButton.x, kCancelButton.y, CancelButtonPicture(false, captions));
  const Pixel tiles[4] = {Rgb(190, 150, 110), Rgb(236, 170, 180), Rgb(240, 200, 120),
                          Rgb(170, 186, 220)};
  const int staff[4] = {1, 3, 2, 4};  // who serves categories 1..4
  for (int i = 0; i < 4; ++i) {
    const Rect r = kStaffFaces[static_cast<size_t>(i)];
    Paste(out, r.x, r.y, StaffPortrait(staff[i], r.w, r.h, tiles[i]));
  }
  captions.DrawLeft(out, 110, 414, "顔にマウスを合わせるとメニューが出ます",
                    "POINT AT A FACE FOR ITS MENU,", 12, 2, Rgb(246, 226, 186));
  captions.DrawLeft(out, 110, 440, "料理をのせて、お客さまをクリック", "CLICK A GUEST TO SERVE", 12,
                    2, Rgb(246, 226, 186));
  return out;
}

Surface EndingSunset(const Captions& captions) {
  Sketch s(kScreenWidth, kScreenHeight);
  DrawSky(s, {0, 0, 640, 300}, Light::Sunset, 101);
  DrawTown(s, -10, 660, 290, 64, Light::Sunset, 21);
  DrawWater(s, {0, 290, 640, 70}, Light::Sunset, 103);
  for (int i = 0; i < 8; ++i)
    FillRoundRect(s, 412 - 4 * i, 294 + 8 * i, 80 - 6 * i, 3, 1.5, Glaze(Rgb(255, 220, 150), 0.7));
  VerticalGradient(s, {0, 360, 640, 120}, Lit(Rgb(110, 150, 90), Light::Sunset),
                   Shade(Lit(Rgb(90, 130, 80), Light::Sunset), 0.7));
  FillRect(s, 0, 358, 640, 4, Lit(Rgb(150, 170, 110), Light::Sunset));
  // Birds flying home.
  for (int i = 0; i < 5; ++i) {
    const double x = 120 + 46 * i;
    const double y = 90 + 14 * (i % 2) + 4 * i;
    DrawArc(s, x - 6, y, 6, 4, 200, 340, 2, Rgb(80, 50, 70));
    DrawArc(s, x + 6, y, 6, 4, 200, 340, 2, Rgb(80, 50, 70));
  }
  DrawTree(s, 70, 380, 240, Light::Sunset, 105);
  // The empty bench where the story began and ends.
  FillRect(s, 380, 384, 160, 10, Rgb(110, 70, 60));
  FillRect(s, 380, 402, 160, 12, Rgb(96, 60, 52));
  for (double x : {390.0, 524.0})
    FillRect(s, x, 414, 7, 30, Rgb(60, 40, 44));
  Surface out = s.Resolve();
  captions.Draw(out, 320, 448, "ご来店ありがとうございました", "THANK YOU FOR VISITING", 14, 2,
                Rgb(255, 230, 190), Rgb(50, 30, 36));
  return out;
}

Surface EndingNight() {
  Sketch s(kScreenWidth, kScreenHeight);
  DrawSky(s, {0, 0, 640, 330}, Light::Night, 5);
  DrawTown(s, -10, 660, 330, 120, Light::Night, 33);
  // The festival's lanterns on the far hill.
  FillPolygon(s,
              Smooth({{-40, 300}, {250, 250}, {500, 262}, {700, 300}, {700, 340}, {-40, 340}}, 6),
              Rgb(30, 34, 62));
  for (int i = 0; i < 16; ++i)
    DrawLantern(s, 40 + 38 * i, 268 + 10 * std::sin(i * 0.7), 4,
                i % 3 ? Rgb(240, 100, 70) : Rgb(250, 236, 190));
  VerticalGradient(s, {0, 330, 640, 150}, Rgb(36, 36, 62), Rgb(20, 20, 36));
  // A moonlit haze where the staff roll's panel darkens the sky (240, 100,
  // 170 × 80): the panel shows as a dusky pane, not a black hole.
  FillEllipse(s, 325, 140, 170, 86, Glow({325, 140}, 170, Rgb(170, 176, 226), 0.55));
  DrawDove(s, 120, 150, 1.1, Rgb(236, 238, 252), Rgb(120, 124, 160));
  // The four friends together, lit by a lantern.
  FillEllipse(s, 320, 480, 340, 160, Glow({320, 480}, 340, kLampLight, 0.4));
  const int order[4] = {3, 1, 2, 4};
  const double xs[4] = {70, 210, 350, 490};
  const double heights[4] = {150, 176, 166, 146};
  for (int i = 0; i < 4; ++i) {
    const Surface bust = CharacterBust(order[i], 2, heights[i]);
    s.Stamp(bust, int(xs[i] + 40 - bust.Width() / 2.0), kScreenHeight - bust.Height(), true);
  }
  return s.Resolve();
}

Surface RankingScreen(const Captions& captions) {
  Sketch s(kScreenWidth, kScreenHeight, Rgb(110, 72, 46));
  FillRect(s, 0, 0, 640, 480, Radial({320, 220}, 460, 380, Rgb(150, 100, 64), Rgb(80, 50, 34)));
  // Wood grain.
  Sprinkle r(61);
  for (int i = 0; i < 40; ++i) {
    const double y = r.Between(0, 480);
    FillRect(s, 0, y, 640, r.Between(0.6, 1.6), Glaze(Rgb(60, 36, 24), 0.25));
  }
  // A blackboard for the table, framed in wood.
  FillRoundRect(s, 86, 52, 468, 324, 10, Rgb(70, 44, 30));
  FillRoundRect(s, 92, 58, 456, 312, 8, Rgb(186, 140, 90));
  FillRect(s, 100, 66, 440, 296, Radial({320, 200}, 300, 220, Rgb(52, 84, 66), Rgb(34, 60, 46)));
  FillRect(s, 110, 114, 420, 1.5, Glaze(Rgb(240, 240, 230), 0.5));
  const Pixel medals[3] = {Rgb(240, 200, 80), Rgb(210, 214, 224), Rgb(210, 140, 80)};
  for (int i = 1; i <= 5; ++i) {
    const double y = RankingRowY(i) + 9;
    if (i <= 3) {
      FillEllipse(s, 126, y, 11, 11, Shade(medals[i - 1], 0.75));
      FillEllipse(s, 126, y - 1, 9, 9, medals[i - 1]);
    }
    FillRect(s, 110, RankingRowY(i) + 30, 420, 1, Glaze(Rgb(240, 240, 230), 0.15));
  }
  FillRect(s, 110, 362, 420, 6, Rgb(150, 110, 70));
  FillRoundRect(s, 140, 360, 30, 6, 2, Rgb(250, 250, 246));
  Surface out = s.Resolve();
  captions.Draw(out, 320, 88, "ランキング", "RANKING", 18, 3, Rgb(252, 246, 220), Rgb(20, 36, 28));
  const char* const headers[3] = {"なまえ", "スコア", "評価"};
  const char* const english[3] = {"NAME", "SCORE", "GRADE"};
  const int columns[3] = {185, 360, 488};
  for (int c = 0; c < 3; ++c) {
    captions.Draw(out, columns[c], 108, headers[c], english[c], 9, 1, Rgb(220, 230, 210),
                  Rgb(220, 230, 210));
  }
  for (int i = 1; i <= 5; ++i) {
    const std::string rank = std::to_string(i);
    captions.DrawLatin(out, 126, RankingRowY(i) + 9, rank, 11, 2,
                       i <= 3 ? Rgb(70, 44, 20) : Rgb(230, 236, 220),
                       i <= 3 ? Rgb(70, 44, 20) : Rgb(230, 236, 220));
  }
  Paste(out, kRankingExit.x, kRankingExit.y, ExitButtonPicture(false, captions));
  return out;
}

Surface Splash(const Captions& captions) {
  Sketch s(400, 200);
  FillRect(s, 0, 0, 400, 200, Radial({140, 60}, 360, 260, Rgb(255, 252, 244), Rgb(240, 226, 204)));
  FrameRect(s, {6, 6, 388, 188}, 2, Rgb(200, 166, 120));
  FrameRect(s, {10, 10, 380, 180}, 1, Glaze(Rgb(200, 166, 120), 0.6));
  DrawDove(s, 84, 84, 1.15, Rgb(255, 255, 252), Rgb(170, 160, 170));
  Surface out = s.Resolve();
  captions.DrawLatin(out, 250, 70, "Dovetail", 30, 5, Rgb(96, 58, 40), Rgb(226, 200, 170));
  captions.Draw(out, 250, 112, "小さな喫茶店の七日間", "A LITTLE CAFE STORY", 11, 2,
                Rgb(150, 96, 64), Rgb(150, 96, 64));
  return out;
}

}  // namespace dovetail::tools
