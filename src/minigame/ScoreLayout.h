#pragma once

#include <cstdint>
#include <string>

namespace dovetail::cafe {

// Where one score number goes in the evaluation's 80 × 20 score field: its
// decimal digits right-aligned at 75 − digits × (font size × 0.75 rounded),
// 11 pixels a digit at size 15, and for a negative value a minus sign one
// font size to the left of the digits. Each is drawn twice, a black shadow at
// (x + 2, 2) and white at (x, 0).
//
// A number too long for the field (seven digits, or a minus and six) would
// start left of the field and lose its first character; it is moved right
// until it starts at the field's left edge instead, which keeps seven digits
// whole, and a minus then stands one digit's cell before the digits, which
// keeps a minus and six digits whole ("-181050"). Longer numbers lose their
// right end.
struct ScoreLayout {
  std::string digits;  // the absolute value's digits
  int32_t digitsX = 0;
  // The pitch of the digits: each digit is drawn at the left of its own cell
  // of this width, so the field keeps its layout whatever the font's advance.
  int32_t digitWidth = 0;
  bool negative = false;
  int32_t minusX = 0;  // drawn only when negative
};

constexpr int32_t kScoreFieldWidth = 80;
constexpr int32_t kScoreFieldHeight = 20;
constexpr int16_t kScoreFontSize = 15;

ScoreLayout LayOutScore(int32_t value, int16_t fontSize = kScoreFontSize);

}  // namespace dovetail::cafe
