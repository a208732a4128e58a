#include "minigame/ScoreLayout.h"

#include "base/Numbers.h"

namespace dovetail::cafe {

namespace {

// The right end of the digits, 5 pixels in from the field's right edge.
constexpr int32_t kRightEnd = 75;

}  // namespace

ScoreLayout LayOutScore(int32_t value, int16_t fontSize) {
  ScoreLayout layout;
  layout.negative = value < 0;
  // In 64 bits: the absolute value of the smallest 32-bit number does not fit
  // in 32.
  const int64_t magnitude = value < 0 ? -static_cast<int64_t>(value) : value;
  layout.digits = std::to_string(magnitude);
  const int32_t digitWidth = static_cast<int32_t>(RoundHalfEven(fontSize * 0.75));
  layout.digitWidth = digitWidth;
  layout.digitsX = kRightEnd - static_cast<int32_t>(layout.digits.size()) * digitWidth;
  int32_t minusGap = fontSize;
  int32_t left = layout.negative ? layout.digitsX - minusGap : layout.digitsX;
  if (left < 0 && layout.negative) {
    // Squeezed: the minus takes one digit's cell, so that a minus and six
    // digits keep their last digit inside the field.
    minusGap = digitWidth;
    left = layout.digitsX - minusGap;
  }
  if (left < 0) layout.digitsX -= left;
  layout.minusX = layout.digitsX - minusGap;
  return layout;
}

}  // namespace dovetail::cafe
