#include "demo/DemoUi.h"

#include <string>

#include "demo/Canvas.h"
#include "demo/PixelFont.h"

namespace dovetail::tools {

void Captions::Draw(Surface& s, int cx, int cy, std::string_view japanese, std::string_view english,
                    float points, int pixelScale, Pixel colour, Pixel shadow) const {
  if (text_ == nullptr) {
    DrawPixelTextCentred(s, cx, cy, english, pixelScale, colour, shadow);
    return;
  }
  const FontSpec font{"ＭＳ Ｐゴシック", points, true, false};
  const int x = cx - text_->TextWidth(japanese, font) / 2;
  const int y = cy - text_->LineHeight(font) / 2;
  if (shadow != colour) text_->DrawText(s, x + 1, y + 1, japanese, font, shadow);
  text_->DrawText(s, x, y, japanese, font, colour);
}

void Captions::DrawLeft(Surface& s, int x, int y, std::string_view japanese,
                        std::string_view english, float points, int pixelScale,
                        Pixel colour) const {
  if (text_ == nullptr) {
    DrawPixelText(s, x, y, english, pixelScale, colour);
    return;
  }
  text_->DrawText(s, x, y, japanese, FontSpec{"ＭＳ Ｐゴシック", points, true, false}, colour);
}

namespace {

struct Caption {
  const char* japanese;
  const char* english;
};

constexpr Caption kTitleCaptions[kTitleItems] = {
    {"はじめから", "NEW GAME"}, {"つづきから", "CONTINUE"}, {"おまけ", "EXTRA"},
    {"ランキング", "RANKING"},  {"おわり", "QUIT"},
};

constexpr Pixel kCream = Rgb(250, 240, 222);
constexpr Pixel kCoffee = Rgb(112, 70, 46);
constexpr Pixel kDarkCoffee = Rgb(70, 42, 30);
constexpr Pixel kPlateWhite = Rgb(244, 244, 248);
constexpr Pixel kPanel = Rgb(58, 44, 40);
constexpr Pixel kPanelBox = Rgb(36, 28, 26);
constexpr Pixel kDailyGradeBox = Rgb(40, 62, 96);
constexpr Pixel kFinalGradeBox = Rgb(92, 60, 24);

void DrawPlate(Surface& s, double cx, double cy, double rx) {
  FillEllipse(s, cx, cy, rx, rx * 0.45, Rgb(200, 204, 214));
  FillEllipse(s, cx, cy - 1, rx - 3, rx * 0.45 - 3, kPlateWhite);
}

void DrawCup(Surface& s, double x, double y, Pixel drink, Pixel cup) {
  DrawPlate(s, x + 30, y + 46, 26);
  FillRoundRect(s, {int(x + 12), int(y + 20), 34, 30}, 8, cup);
  DrawArc(s, x + 47, y + 33, 7, 7, -90, 90, 4, cup);
  FillEllipse(s, x + 29, y + 22, 16, 5, drink);
  // Steam.
  for (int i = 0; i < 2; ++i) {
    DrawArc(s, x + 24 + 10 * i, y + 10, 3, 5, 90, 270, 2, Rgb(220, 220, 230));
    DrawArc(s, x + 24 + 10 * i, y + 2, 3, 4, -90, 90, 2, Rgb(220, 220, 230));
  }
}

void DrawGlass(Surface& s, double x, double y, Pixel drink, Pixel topping) {
  FillPolygon(s, {{x + 16, y + 6}, {x + 44, y + 6}, {x + 40, y + 56}, {x + 20, y + 56}},
              Rgb(214, 232, 240));
  FillPolygon(s, {{x + 18, y + 16}, {x + 42, y + 16}, {x + 39, y + 53}, {x + 21, y + 53}}, drink);
  FillEllipse(s, x + 30, y + 12, 9, 6, topping);
  DrawLine(s, {x + 34, y + 2}, {x + 30, y + 20}, 2, Rgb(230, 80, 90));
}

void DrawCakeSlice(Surface& s, double x, double y, Pixel sponge, Pixel cream, Pixel top) {
  DrawPlate(s, x + 30, y + 46, 27);
  FillPolygon(s, {{x + 8, y + 44}, {x + 50, y + 44}, {x + 50, y + 22}, {x + 14, y + 28}}, sponge);
  FillPolygon(s, {{x + 8, y + 30}, {x + 50, y + 22}, {x + 50, y + 26}, {x + 10, y + 34}}, cream);
  FillPolygon(s, {{x + 14, y + 28}, {x + 50, y + 22}, {x + 38, y + 16}}, cream);
  FillEllipse(s, x + 40, y + 16, 6, 6, top);
}

void DrawOnPlate(Surface& s, double x, double y, int kind) {
  DrawPlate(s, x + 30, y + 42, 28);
  switch (kind) {
    case 0:  // sandwich
      FillPolygon(s, {{x + 10, y + 42}, {x + 30, y + 16}, {x + 32, y + 42}}, Rgb(240, 220, 170));
      FillPolygon(s, {{x + 30, y + 42}, {x + 48, y + 18}, {x + 52, y + 42}}, Rgb(240, 220, 170));
      DrawLine(s, {x + 12, y + 40}, {x + 30, y + 18}, 3, Rgb(110, 180, 90));
      DrawLine(s, {x + 32, y + 40}, {x + 48, y + 20}, 3, Rgb(230, 100, 90));
      break;
    case 1:  // toast
      FillRoundRect(s, {int(x + 14), int(y + 14), 32, 30}, 7, Rgb(214, 150, 80));
      FillRoundRect(s, {int(x + 17), int(y + 17), 26, 24}, 5, Rgb(246, 214, 150));
      FillRoundRect(s, {int(x + 25), int(y + 24), 10, 8}, 2, Rgb(252, 240, 170));
      break;
    case 2:  // hot dog
      FillRoundRect(s, {int(x + 8), int(y + 26), 44, 16}, 8, Rgb(232, 180, 110));
      FillRoundRect(s, {int(x + 6), int(y + 28), 48, 9}, 4, Rgb(190, 80, 60));
      DrawArc(s, x + 30, y + 30, 18, 3, 180, 360, 2, Rgb(250, 210, 60));
      break;
    case 3:  // pasta
      FillEllipse(s, x + 30, y + 36, 20, 10, Rgb(246, 216, 120));
      for (int i = 0; i < 4; ++i)
        DrawArc(s, x + 22 + 5 * i, y + 34, 6, 4, 0, 300, 1.5, Rgb(226, 190, 90));
      FillEllipse(s, x + 30, y + 32, 8, 5, Rgb(200, 60, 50));
      break;
    default:  // omelette rice
      FillEllipse(s, x + 30, y + 34, 21, 11, Rgb(250, 212, 80));
      DrawArc(s, x + 30, y + 34, 12, 4, 180, 540, 2.5, Rgb(210, 40, 40));
      break;
  }
}

void DrawDessert(Surface& s, double x, double y, int kind) {
  switch (kind) {
    case 0:  // parfait
      FillPolygon(s, {{x + 16, y + 14}, {x + 44, y + 14}, {x + 34, y + 46}, {x + 26, y + 46}},
                  Rgb(214, 232, 240));
      FillPolygon(s, {{x + 18, y + 18}, {x + 42, y + 18}, {x + 40, y + 26}, {x + 20, y + 26}},
                  Rgb(250, 246, 236));
      FillPolygon(s, {{x + 20, y + 26}, {x + 40, y + 26}, {x + 37, y + 36}, {x + 23, y + 36}},
                  Rgb(236, 120, 140));
      FillPolygon(s, {{x + 23, y + 36}, {x + 37, y + 36}, {x + 34, y + 45}, {x + 26, y + 45}},
                  Rgb(130, 80, 50));
      FillRoundRect(s, {int(x + 26), int(y + 46), 8, 8}, 2, Rgb(214, 232, 240));
      FillEllipse(s, x + 30, y + 56, 12, 3, Rgb(214, 232, 240));
      FillEllipse(s, x + 30, y + 12, 10, 7, Rgb(250, 246, 236));
      FillEllipse(s, x + 32, y + 5, 4, 4, Rgb(220, 40, 60));
      break;
    case 1:  // pudding
      DrawPlate(s, x + 30, y + 46, 26);
      FillPolygon(s, {{x + 18, y + 20}, {x + 42, y + 20}, {x + 48, y + 44}, {x + 12, y + 44}},
                  Rgb(250, 214, 110));
      FillEllipse(s, x + 30, y + 20, 12, 4, Rgb(150, 80, 30));
      FillEllipse(s, x + 30, y + 14, 5, 5, Rgb(220, 40, 60));
      break;
    case 2:  // waffle
      DrawPlate(s, x + 30, y + 44, 27);
      FillRoundRect(s, {int(x + 12), int(y + 16), 36, 30}, 6, Rgb(220, 160, 80));
      for (int i = 1; i < 4; ++i) {
        s.FillRect(int(x + 12 + 9 * i), int(y + 17), 2, 28, Rgb(180, 120, 60));
        s.FillRect(int(x + 13), int(y + 16 + 7 * i), 34, 2, Rgb(180, 120, 60));
      }
      break;
    case 3:  // pancakes
      DrawPlate(s, x + 30, y + 46, 27);
      for (int i = 0; i < 3; ++i) {
        FillEllipse(s, x + 30, y + 40 - 7 * i, 19, 6, Rgb(200, 130, 70));
        FillEllipse(s, x + 30, y + 38 - 7 * i, 18, 5, Rgb(236, 186, 110));
      }
      FillRoundRect(s, {int(x + 25), int(y + 20), 10, 6}, 2, Rgb(252, 240, 170));
      break;
    default:  // ice cream
      FillPolygon(s, {{x + 18, y + 28}, {x + 42, y + 28}, {x + 30, y + 58}}, Rgb(220, 170, 100));
      FillEllipse(s, x + 30, y + 24, 13, 11, Rgb(250, 236, 220));
      FillEllipse(s, x + 30, y + 12, 10, 9, Rgb(246, 170, 190));
      break;
  }
}

void DrawTextPlate(Surface& s, const Rect& r, const Caption& caption, Pixel plate, Pixel ink,
                   Pixel border, const Captions& captions) {
  FillRoundRect(s, r, 6, border);
  FillRoundRect(s, {r.x + 2, r.y + 2, r.w - 4, r.h - 4}, 5, plate);
  captions.Draw(s, r.x + r.w / 2, r.y + r.h / 2, caption.japanese, caption.english, 11, 2, ink,
                ink);
}

void DrawStageLabel(Surface& s, const Rect& r, int day, const Captions& captions) {
  static const char* const kFullWidthDigits[] = {"０", "１", "２", "３", "４",
                                                 "５", "６", "７", "８", "９"};
  s.FillRect(r.x, r.y, r.w, r.h, Rgb(30, 60, 44));
  FrameRect(s, r, 2, Rgb(190, 160, 90));
  const std::string japanese = std::string(kFullWidthDigits[day]) + "日目";
  captions.Draw(s, r.x + r.w / 2, r.y + r.h / 2, japanese, "DAY " + std::to_string(day), 12, 2,
                Rgb(250, 236, 190), Rgb(20, 36, 26));
}

void DrawBalloon(Surface& s, const Rect& r) {
  const Pixel edge = Rgb(120, 110, 120);
  FillPolygon(s, {{r.x + 28.0, r.y + 60.0}, {r.x + 50.0, r.y + 60.0}, {r.x + 30.0, r.y + 80.0}},
              edge);
  FillRoundRect(s, {r.x + 1, r.y + 1, r.w - 2, 64}, 14, edge);
  FillRoundRect(s, {r.x + 3, r.y + 3, r.w - 6, 60}, 12, kPlateWhite);
  FillPolygon(s, {{r.x + 31.0, r.y + 60.0}, {r.x + 47.0, r.y + 60.0}, {r.x + 32.0, r.y + 75.0}},
              kPlateWhite);
}

void DrawChoicePlate(Surface& s, const Rect& r) {
  FillRoundRect(s, r, 8, Rgb(200, 170, 120));
  FillRoundRect(s, {r.x + 2, r.y + 2, r.w - 4, r.h - 4}, 7, Rgb(84, 54, 40));
  VerticalGradient(s, {r.x + 6, r.y + 4, r.w - 12, r.h / 2 - 4}, Rgb(120, 80, 58), Rgb(92, 60, 44));
  FillEllipse(s, r.x + r.w - 14, r.y + r.h / 2.0, 4, 4, Rgb(230, 200, 140));
}

void DrawResultPanel(Surface& s, const Rect& r, bool final, const Captions& captions) {
  FillRoundRect(s, r, 10, Rgb(190, 160, 100));
  FillRoundRect(s, {r.x + 3, r.y + 3, r.w - 6, r.h - 6}, 8, kPanel);
  captions.Draw(s, r.x + r.w / 2, r.y + 22, final ? "最終成績" : "今日の成績",
                final ? "FINAL RESULT" : "TODAY'S RESULT", 13, 2, Rgb(250, 226, 160),
                Rgb(20, 14, 12));
  const Caption labels[2][3] = {{{"スピード", "SPEED"}, {"正確さ", "SERVICE"}, {"接客数", "COUNT"}},
                                {{"合計", "DAYS"}, {"ボーナス", "BONUS"}, {"総合", "TOTAL"}}};
  const Pixel ink = Rgb(236, 224, 200);
  for (int row = 0; row < 3; ++row) {
    const Rect box = PanelScore(row);
    const Caption& label = labels[final ? 1 : 0][row];
    captions.DrawLeft(s, r.x + 18, r.y + box.y + 2, label.japanese, label.english, 11, 2, ink);
    s.FillRect(r.x + box.x, r.y + box.y, box.w, box.h, kPanelBox);
  }
  captions.DrawLeft(s, r.x + 18, r.y + kPanelGrade.y + 8, "評価", "GRADE", 11, 2, ink);
  s.FillRect(r.x + kPanelGrade.x, r.y + kPanelGrade.y, kPanelGrade.w, kPanelGrade.h,
             final ? kFinalGradeBox : kDailyGradeBox);
}

void DrawGradeGlyph(Surface& s, const Rect& r, int grade, bool final) {
  s.FillRect(r.x, r.y, r.w, r.h, final ? kFinalGradeBox : kDailyGradeBox);
  const std::string letter(1, static_cast<char>('E' - grade));
  DrawPixelTextCentred(s, r.x + r.w / 2, r.y + r.h / 2, letter, 3,
                       final ? Rgb(255, 214, 90) : Rgb(236, 244, 255), Rgb(20, 14, 12));
}

}  // namespace

void DrawTitleItem(Surface& s, int x, int y, int i, bool highlighted, const Captions& captions) {
  const Rect r{x, y, 140, 27};
  const bool muted = i == 3 && !highlighted;
  const Pixel plate = highlighted ? kCoffee : Rgb(252, 246, 234);
  const Pixel ink = highlighted ? kCream : (muted ? Rgb(196, 180, 160) : kDarkCoffee);
  FillRoundRect(s, r, 6, highlighted ? kDarkCoffee : Rgb(214, 190, 160));
  FillRoundRect(s, {x + 2, y + 2, 136, 23}, 5, plate);
  const Caption& caption = kTitleCaptions[i - 1];
  captions.Draw(s, x + 74, y + 14, caption.japanese, caption.english, 11, 2, ink, ink);
  if (highlighted) {
    FillEllipse(s, x + 13, y + 13.5, 5, 7, Rgb(200, 140, 90));
    DrawLine(s, {x + 13.0, y + 8.0}, {x + 13.0, y + 19.0}, 1.5, kDarkCoffee);
  }
}

void DrawExitButton(Surface& s, int x, int y, bool hover, const Captions& captions) {
  DrawTextPlate(s, {x, y, 120, 28}, {"タイトルへ", "TITLE"},
                hover ? Rgb(236, 200, 120) : Rgb(120, 84, 56), hover ? kDarkCoffee : kCream,
                hover ? kCream : Rgb(60, 40, 30), captions);
}

void DrawCancelButton(Surface& s, int x, int y, bool hover, const Captions& captions) {
  DrawTextPlate(s, {x, y, 158, 30}, {"キャンセル", "CANCEL"},
                hover ? Rgb(240, 120, 100) : Rgb(150, 60, 54), kCream,
                hover ? kCream : Rgb(80, 30, 30), captions);
}

void DrawDish(Surface& s, int x, int y, int category, int dish) {
  const int kind = dish - 1;
  switch (category) {
    case 1: {  // drinks: coffee, tea, latte, cocoa, orange juice
      const Pixel drinks[4] = {Rgb(90, 50, 30), Rgb(190, 100, 40), Rgb(210, 170, 120),
                               Rgb(120, 70, 50)};
      if (kind < 4) {
        DrawCup(s, x, y, drinks[kind], kind == 1 ? Rgb(236, 240, 250) : kPlateWhite);
        if (kind == 2) FillEllipse(s, x + 29, y + 22, 6, 2.5, Rgb(250, 244, 232));
        if (kind == 3) FillEllipse(s, x + 33, y + 21, 4, 3, Rgb(250, 236, 240));
      } else {
        DrawGlass(s, x, y, Rgb(250, 160, 40), Rgb(250, 200, 80));
      }
      break;
    }
    case 2: {  // cakes: shortcake, cheesecake, mont blanc, chocolate cake, tart
      const Pixel sponge[5] = {Rgb(250, 226, 170), Rgb(250, 214, 120), Rgb(200, 160, 110),
                               Rgb(110, 64, 40), Rgb(220, 170, 100)};
      const Pixel cream[5] = {Rgb(252, 250, 244), Rgb(246, 200, 100), Rgb(190, 140, 90),
                              Rgb(80, 44, 30), Rgb(250, 230, 200)};
      const Pixel top[5] = {Rgb(226, 40, 60), Rgb(250, 230, 160), Rgb(160, 100, 60),
                            Rgb(230, 200, 160), Rgb(120, 180, 70)};
      if (kind == 2) {
        DrawPlate(s, x + 30, y + 46, 27);
        for (int i = 0; i < 4; ++i)
          FillEllipse(s, x + 30, y + 40 - 7 * i, 16 - 3 * i, 7, Shade(cream[2], 1.0 + 0.05 * i));
        FillEllipse(s, x + 30, y + 13, 5, 5, top[2]);
      } else {
        DrawCakeSlice(s, x, y, sponge[kind], cream[kind], top[kind]);
      }
      break;
    }
    case 3:
      DrawOnPlate(s, x, y, kind);
      break;
    default:
      DrawDessert(s, x, y, kind);
      break;
  }
}

Surface UiSheet(const Captions& captions) {
  Surface s(kUiSheetWidth, kUiSheetHeight, kBlack);
  for (int category = 1; category <= 4; ++category) {
    for (int dish = 1; dish <= 5; ++dish) {
      const Rect cell = DishCell(category, dish);
      DrawDish(s, cell.x, cell.y, category, dish);
    }
  }
  for (int k = 0; k <= 5; ++k)
    DrawStageLabel(s, StageLabel(k), k + 2, captions);
  DrawCancelButton(s, kCancelHover.x, kCancelHover.y, true, captions);
  DrawBalloon(s, kBalloon);
  for (int g = 0; g <= 4; ++g) {
    DrawGradeGlyph(s, DailyGrade(g), g, false);
    DrawGradeGlyph(s, FinalGrade(g), g, true);
  }
  DrawChoicePlate(s, kChoicePlate);
  for (int i = 1; i <= kTitleItems; ++i) {
    const Rect r = TitleHighlight(i);
    DrawTitleItem(s, r.x, r.y, i, true, captions);
  }
  DrawResultPanel(s, kDailyPanel, false, captions);
  DrawResultPanel(s, kFinalPanel, true, captions);
  DrawExitButton(s, kRankingExitHover.x, kRankingExitHover.y, true, captions);
  return s;
}

}  // namespace dovetail::tools
