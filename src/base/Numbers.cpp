#include "base/Numbers.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "base/Utf8.h"

namespace dovetail {

double RoundHalfEven(double value) {
  const double lower = std::floor(value);
  const double fraction = value - lower;
  if (fraction < 0.5) return lower;
  if (fraction > 0.5) return lower + 1.0;
  return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

namespace {

std::optional<double> ParseNumber(std::string_view text) {
  const std::string trimmed(TrimBlanks(text));
  if (trimmed.empty()) return 0.0;
  for (char c : trimmed) {
    const bool allowed =
        (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
    if (!allowed) return std::nullopt;
  }
  char* end = nullptr;
  const double value = std::strtod(trimmed.c_str(), &end);
  if (end != trimmed.c_str() + trimmed.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

template <typename Int>
Result<Int> ToInteger(std::string_view text, const char* typeName) {
  const auto number = ParseNumber(text);
  if (!number) return Error{"\"" + std::string(text) + "\" is not a number"};
  const double rounded = RoundHalfEven(*number);
  if (rounded < std::numeric_limits<Int>::min() || rounded > std::numeric_limits<Int>::max()) {
    return Error{"\"" + std::string(text) + "\" does not fit in a " + typeName};
  }
  return static_cast<Int>(rounded);
}

}  // namespace

Result<int16_t> ToInt16(std::string_view text) {
  return ToInteger<int16_t>(text, "16-bit integer (-32768 to 32767)");
}

Result<int32_t> ToInt32(std::string_view text) {
  return ToInteger<int32_t>(text, "32-bit integer");
}

Result<float> ToSingle(std::string_view text) {
  const auto number = ParseNumber(text);
  if (!number) return Error{"\"" + std::string(text) + "\" is not a number"};
  if (std::fabs(*number) > std::numeric_limits<float>::max()) {
    return Error{"\"" + std::string(text) + "\" is too large"};
  }
  return static_cast<float>(*number);
}

namespace {
std::optional<int16_t> Fit16(int32_t value) {
  if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int16_t>(value);
}
}  // namespace

std::optional<int16_t> CheckedAdd16(int16_t a, int16_t b) {
  return Fit16(int32_t{a} + b);
}
std::optional<int16_t> CheckedSub16(int16_t a, int16_t b) {
  return Fit16(int32_t{a} - b);
}
std::optional<int16_t> CheckedMul16(int16_t a, int16_t b) {
  return Fit16(int32_t{a} * b);
}

int16_t SaturatingAdd16(int16_t a, int16_t b) {
  const int32_t sum = int32_t{a} + b;
  if (sum > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
  if (sum < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
  return static_cast<int16_t>(sum);
}

std::optional<int16_t> CInt(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double rounded = RoundHalfEven(value);
  if (rounded < std::numeric_limits<int16_t>::min() ||
      rounded > std::numeric_limits<int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int16_t>(rounded);
}

}  // namespace dovetail
