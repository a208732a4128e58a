#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/Result.h"

namespace dovetail {

// Rounds to the nearest integer, halves to the even neighbour (0.5 → 0,
// 1.5 → 2, 2.5 → 2, −0.5 → 0), as the original's conversions did.
double RoundHalfEven(double value);

// Conversions of text fields to numbers. Blanks around the text are ignored and
// an empty text is 0 (as a numeric field read from a file). A fractional value
// is rounded half to even. Text that is not a number, or a value outside the
// type, is an error naming the text.
Result<int16_t> ToInt16(std::string_view text);
Result<int32_t> ToInt32(std::string_view text);
Result<float> ToSingle(std::string_view text);

// 16-bit arithmetic that reports leaving the range instead of wrapping.
std::optional<int16_t> CheckedAdd16(int16_t a, int16_t b);
std::optional<int16_t> CheckedSub16(int16_t a, int16_t b);
std::optional<int16_t> CheckedMul16(int16_t a, int16_t b);
// Adds and keeps the result inside −32768 .. 32767.
int16_t SaturatingAdd16(int16_t a, int16_t b);

// A double value as a 16-bit integer, rounded half to even; nullopt when it
// does not fit (the original's overflow).
std::optional<int16_t> CInt(double value);

}  // namespace dovetail
