#pragma once

#include <array>
#include <cstdint>

#include "graphics/Rect.h"
#include "host/ScreenSize.h"

namespace dovetail {

// Where the program reads the parts of its pictures: the rectangles content
// must fill. The engine draws from them, the content checker checks the
// pictures against them, and the demo's art is painted into them.

// Title picture p03.dat: the normal look of menu entry i (1..5).
constexpr Rect TitleItem(int i) {
  return {405, 237 + 27 * (i - 1), 140, 27};
}

// User-interface sheet 90.dat.
constexpr Rect TitleHighlight(int i) {  // highlighted look of title entry i (1..5)
  return {270, 330 + 27 * (i - 1), 140, 27};
}
constexpr Rect kChoicePlate{306, 292, 255, 37};
constexpr Rect kDishRegion{0, 0, 306, 325};  // dish pictures; black is transparent
constexpr Rect StageLabel(int k) {           // stage label of days 2..7, k = 0..5
  return {306, 30 * k, 158, 30};
}
constexpr Rect kCancelHover{306, 180, 158, 30};
constexpr Rect kBalloon{306, 210, 124, 82};  // order balloon; black is transparent
constexpr Rect kDailyPanel{0, 325, 270, 190};
constexpr Rect kFinalPanel{410, 330, 270, 190};
constexpr Rect DailyGrade(int g) {  // grade glyph g = 0..4 (E..A)
  return {534 - 26 * g, 260, 26, 32};
}
constexpr Rect FinalGrade(int g) {
  return {534 - 26 * g, 228, 26, 32};
}
constexpr Rect kFinalGradeBlank{574, 475, 26, 32};
constexpr Rect kRankingExitHover{270, 465, 120, 28};
constexpr int32_t kUiSheetWidth = 680;
constexpr int32_t kUiSheetHeight = 520;

// Inside both result panels (the panel is shown at (92, 51) on the screen):
// the score numbers (80 × 20, right-aligned, rows 0..2) and the grade glyph.
constexpr Rect PanelScore(int row) {
  return {123, 45 + 35 * row, 80, 20};
}
constexpr Rect kPanelGrade{164, 145, 26, 32};

// Face table rows 0..3 (character 1..4 in pose 1): the face rectangle inside
// the character picture and the column of the face sheet 91.dat.
struct FaceRow {
  int32_t x1, y1, x2, y2, sheetX;
  constexpr int32_t W() const { return x2 - x1; }
  constexpr int32_t H() const { return y2 - y1; }
};
constexpr std::array<FaceRow, 4> kFaceRows{{
    {118, 34, 206, 138, 0},
    {116, 40, 204, 144, 88},
    {105, 90, 193, 153, 176},
    {100, 75, 176, 135, 264},
}};
constexpr int32_t kFaceSheetWidth = 340;

// Customer sheet 92.dat: 3 expressions (columns) × 4 looks (rows).
constexpr int32_t kCustomerWidth = 150;
constexpr int32_t kCustomerHeight = 175;
constexpr int32_t kCustomerSheetWidth = 3 * kCustomerWidth;
constexpr int32_t kCustomerSheetHeight = 4 * kCustomerHeight;

// Café board p04.dat: the staff faces (categories 1..4), the plate, the cancel
// button, the seats and their balloons.
constexpr std::array<Rect, 4> kStaffFaces{{
    {10, 310, 70, 82},
    {10, 392, 70, 78},
    {558, 310, 70, 82},
    {558, 392, 70, 78},
}};
constexpr Rect kPlate{510, 54, 120, 200};
constexpr Rect kCancelButton{476, 270, 158, 30};
constexpr Rect Seat(int s) {  // s = 1..3
  return {(s - 1) * 150 + 10, 100, 150, 175};
}
constexpr Rect SeatBalloon(int s) {
  return {(s - 1) * 150 + 23, 18, 124, 82};
}

// Ranking screen p07.dat: the exit button and the five rows.
constexpr Rect kRankingExit{260, 396, 120, 28};
constexpr int32_t RankingRowY(int i) {  // i = 1..5
  return 50 * (i - 1) + 128;
}

}  // namespace dovetail
