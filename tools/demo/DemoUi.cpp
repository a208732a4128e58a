#include "demo/DemoUi.h"

#include <cmath>
#include <string>

#include "demo/Canvas.h"
#include "demo/DemoDishes.h"
#include "demo/PixelFont.h"

namespace dovetail::tools {

namespace {

constexpr const char* kFontName = "ＭＳ Ｐゴシック";

}  // namespace

void Captions::Draw(Surface& s, int cx, int cy, std::string_view japanese, std::string_view english,
                    float points, int pixelScale, Pixel colour, Pixel shadow) const {
  if (text_ == nullptr) {
    DrawPixelTextCentred(s, cx, cy, english, pixelScale, colour, shadow);
    return;
  }
  const FontSpec font{kFontName, points, true, false};
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
  text_->DrawText(s, x, y, japanese, FontSpec{kFontName, points, true, false}, colour);
}

void Captions::DrawLatin(Surface& s, int cx, int cy, std::string_view text, float points,
                         int pixelScale, Pixel colour, Pixel shadow) const {
  Draw(s, cx, cy, text, text, points, pixelScale, colour, shadow);
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

constexpr Pixel kCream = Rgb(252, 244, 226);
constexpr Pixel kCoffee = Rgb(120, 76, 50);
constexpr Pixel kDarkCoffee = Rgb(74, 46, 34);
constexpr Pixel kGold = Rgb(214, 178, 104);
constexpr Pixel kPanel = Rgb(66, 48, 42);
constexpr Pixel kPanelBox = Rgb(38, 28, 26);
constexpr Pixel kDailyGradeBox = Rgb(44, 66, 104);
constexpr Pixel kFinalGradeBox = Rgb(100, 64, 26);

// A rounded button: a darker rim, a face with light from above and a thin
// highlight along its top edge; the corners outside the rim take `corner`.
Sketch ButtonSketch(int w, int h, Pixel corner, Pixel rim, Pixel face) {
  Sketch s(w, h, corner);
  FillRoundRect(s, 0, 0, w, h, 7, rim);
  FillRoundRect(s, 1.5, 1.5, w - 3, h - 3, 6,
                Linear({0, 1.5}, Tint(face, 0.18), {0, h - 1.5}, Shade(face, 0.88)));
  FillRoundRect(s, 4, 2.5, w - 8, 2, 1, Glaze(kWhite, 0.35));
  return s;
}

Surface TextButton(int w, int h, Pixel corner, Pixel rim, Pixel face, const Caption& caption,
                   Pixel ink, Pixel shadow, const Captions& captions) {
  Surface out = ButtonSketch(w, h, corner, rim, face).Resolve();
  captions.Draw(out, w / 2, h / 2, caption.japanese, caption.english, 11, 2, ink, shadow);
  return out;
}

Surface StageLabelPicture(int day, const Captions& captions) {
  static const char* const kFullWidthDigits[] = {"０", "１", "２", "３", "４",
                                                 "５", "６", "７", "８", "９"};
  const Rect r = StageLabel(0);
  Sketch s(r.w, r.h, Rgb(58, 38, 28));
  FillRect(s, 2, 2, r.w - 4, r.h - 4, kGold);
  FillRect(s, 4, 4, r.w - 8, r.h - 8,
           Radial({r.w / 2.0, r.h / 2.0}, r.w / 1.6, r.h, Rgb(52, 92, 70), Rgb(30, 60, 44)));
  for (double x : {10.0, r.w - 10.0})
    FillEllipse(s, x, r.h / 2.0, 2.5, 2.5, kGold);
  Surface out = s.Resolve();
  const std::string japanese = std::string(kFullWidthDigits[day]) + "日目";
  captions.Draw(out, r.w / 2, r.h / 2, japanese, "DAY " + std::to_string(day), 12, 2,
                Rgb(252, 240, 200), Rgb(16, 34, 24));
  return out;
}

Surface BalloonPicture() {
  const Rect r = kBalloon;
  Sketch s(r.w, r.h);
  const Pixel edge = Rgb(150, 136, 140);
  const std::vector<Point> tail = {{26, 58}, {48, 58}, {24, 80}};
  FillPolygon(s, tail, edge);
  // Corners round enough to read as a balloon, small enough that the order's
  // lines (drawn from (10, 12)) keep clear of the outline.
  FillRoundRect(s, 1, 1, r.w - 2, 64, 9, edge);
  FillRoundRect(s, 3, 3, r.w - 6, 60, 7,
                Linear({0, 3}, Rgb(255, 255, 255), {0, 63}, Rgb(236, 236, 242)));
  FillPolygon(s, {{29, 60}, {45, 60}, {27.5, 75}}, Rgb(238, 238, 244));
  return s.ResolveFigure();
}

Surface ResultPanelPicture(bool final, const Captions& captions) {
  const Rect r = final ? kFinalPanel : kDailyPanel;
  Sketch s(r.w, r.h, Rgb(40, 28, 24));
  FillRoundRect(s, 0, 0, r.w, r.h, 12, kGold);
  FillRoundRect(s, 3, 3, r.w - 6, r.h - 6, 10,
                Linear({0, 0}, Tint(kPanel, 0.08), {0, double(r.h)}, Shade(kPanel, 0.8)));
  FillRect(s, 16, 38, r.w - 32, 1.5, Glaze(kGold, 0.7));
  for (int row = 0; row < 3; ++row) {
    const Rect box = PanelScore(row);
    FillRect(s, 14, box.y + box.h + 5, r.w - 28, 1, Glaze(kGold, 0.25));
  }
  Surface out = s.Resolve();
  captions.Draw(out, r.w / 2, 22, final ? "最終成績" : "今日の成績",
                final ? "FINAL RESULT" : "TODAY'S RESULT", 13, 2, Rgb(252, 228, 160),
                Rgb(20, 14, 12));
  const Caption labels[2][3] = {{{"スピード", "SPEED"}, {"正確さ", "SERVICE"}, {"接客数", "COUNT"}},
                                {{"合計", "DAYS"}, {"ボーナス", "BONUS"}, {"総合", "TOTAL"}}};
  const Pixel ink = Rgb(240, 228, 204);
  for (int row = 0; row < 3; ++row) {
    const Rect box = PanelScore(row);
    const Caption& label = labels[final ? 1 : 0][row];
    captions.DrawLeft(out, 18, box.y + 2, label.japanese, label.english, 11, 2, ink);
    out.FillRect(box.x, box.y, box.w, box.h, kPanelBox);
  }
  captions.DrawLeft(out, 18, kPanelGrade.y + 8, "評価", "GRADE", 11, 2, ink);
  out.FillRect(kPanelGrade.x, kPanelGrade.y, kPanelGrade.w, kPanelGrade.h,
               final ? kFinalGradeBox : kDailyGradeBox);
  return out;
}

Surface GradeGlyphPicture(int grade, bool final, const Captions& captions) {
  const Rect r = DailyGrade(0);
  Surface out(r.w, r.h, final ? kFinalGradeBox : kDailyGradeBox);
  const std::string letter(1, static_cast<char>('E' - grade));
  captions.DrawLatin(out, r.w / 2, r.h / 2, letter, 18, 3,
                     final ? Rgb(255, 216, 96) : Rgb(236, 244, 255), Rgb(16, 12, 10));
  return out;
}

}  // namespace

Surface TitleItemPicture(int i, bool highlighted, const Captions& captions) {
  const Rect r = TitleItem(i);
  // Both looks lie on the title's menu panel: their corners take its colour.
  Sketch s = highlighted
                 ? ButtonSketch(r.w, r.h, kTitlePanel, kDarkCoffee, kCoffee)
                 : ButtonSketch(r.w, r.h, kTitlePanel, Rgb(206, 178, 144), Rgb(253, 248, 238));
  if (highlighted) {
    // A coffee bean beside the caption marks the entry under the mouse.
    FillEllipse(s, 14, 13.5, 5, 6.5, Rgb(196, 134, 84));
    DrawArc(s, 14, 13.5, 1.8, 5.5, -90, 90, 1.2, kDarkCoffee);
  }
  Surface out = s.Resolve();
  const Caption& caption = kTitleCaptions[i - 1];
  captions.Draw(out, r.w / 2 + 4, r.h / 2 + 1, caption.japanese, caption.english, 11, 2,
                highlighted ? kCream : kDarkCoffee, highlighted ? kCream : kDarkCoffee);
  return out;
}

Surface ExitButtonPicture(bool hover, const Captions& captions) {
  const Rect r = kRankingExit;
  return TextButton(r.w, r.h, Rgb(96, 62, 40), hover ? kCream : Rgb(60, 40, 30),
                    hover ? Rgb(238, 200, 120) : Rgb(128, 88, 58), {"タイトルへ", "TITLE"},
                    hover ? kDarkCoffee : kCream, hover ? kDarkCoffee : kCream, captions);
}

Surface CancelButtonPicture(bool hover, const Captions& captions) {
  const Rect r = kCancelButton;
  return TextButton(r.w, r.h, Rgb(100, 64, 44), hover ? kCream : Rgb(86, 30, 30),
                    hover ? Rgb(236, 112, 96) : Rgb(164, 64, 56), {"キャンセル", "CANCEL"}, kCream,
                    Rgb(60, 20, 20), captions);
}

Surface ChoicePlatePicture() {
  const Rect r = kChoicePlate;
  // Square to the corners: the game copies the plate whole over the scene.
  Sketch s(r.w, r.h, Rgb(46, 30, 24));
  FillRect(s, 1, 1, r.w - 2, r.h - 2, Rgb(186, 150, 96));
  FillRect(s, 2.5, 2.5, r.w - 5, r.h - 5,
           Linear({0, 2.5}, Rgb(110, 74, 54), {0, r.h - 2.5}, Rgb(64, 40, 30)));
  FillRect(s, 4, 3.5, r.w - 8, r.h / 2.0 - 4, Glaze(kWhite, 0.07));
  FillRect(s, 5, r.h - 6, r.w - 10, 1, Glaze(kGold, 0.35));
  // A small leaf at the right end, away from the caption.
  FillEllipse(s, r.w - 16, r.h / 2.0, 5, 3, Glaze(kGold, 0.9));
  DrawLine(s, {r.w - 21.0, r.h / 2.0}, {r.w - 11.0, r.h / 2.0}, 0.8, Shade(kGold, 0.6));
  return s.Resolve();
}

Surface UiSheet(const Captions& captions) {
  Surface sheet(kUiSheetWidth, kUiSheetHeight, kBlack);
  Sketch dishes(kDishRegion.w, kDishRegion.h);
  for (int category = 1; category <= 4; ++category) {
    for (int dish = 1; dish <= 5; ++dish) {
      const Rect cell = DishCell(category, dish);
      DrawMenuDish(dishes, cell.x, cell.y, category, dish);
    }
  }
  Paste(sheet, kDishRegion.x, kDishRegion.y, dishes.ResolveFigure());
  for (int k = 0; k <= 5; ++k) {
    const Rect r = StageLabel(k);
    Paste(sheet, r.x, r.y, StageLabelPicture(k + 2, captions));
  }
  Paste(sheet, kCancelHover.x, kCancelHover.y, CancelButtonPicture(true, captions));
  Paste(sheet, kBalloon.x, kBalloon.y, BalloonPicture());
  for (int g = 0; g <= 4; ++g) {
    const Rect daily = DailyGrade(g);
    const Rect final = FinalGrade(g);
    Paste(sheet, daily.x, daily.y, GradeGlyphPicture(g, false, captions));
    Paste(sheet, final.x, final.y, GradeGlyphPicture(g, true, captions));
  }
  Paste(sheet, kChoicePlate.x, kChoicePlate.y, ChoicePlatePicture());
  for (int i = 1; i <= kTitleItems; ++i) {
    const Rect r = TitleHighlight(i);
    Paste(sheet, r.x, r.y, TitleItemPicture(i, true, captions));
  }
  Paste(sheet, kDailyPanel.x, kDailyPanel.y, ResultPanelPicture(false, captions));
  Paste(sheet, kFinalPanel.x, kFinalPanel.y, ResultPanelPicture(true, captions));
  Paste(sheet, kRankingExitHover.x, kRankingExitHover.y, ExitButtonPicture(true, captions));
  return sheet;
}

}  // namespace dovetail::tools
