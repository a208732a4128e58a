#pragma once

#include <cstdint>

namespace dovetail {

// A rectangle in pixels: its top-left corner and its size.
struct Rect {
  int32_t x = 0;
  int32_t y = 0;
  int32_t w = 0;
  int32_t h = 0;
  constexpr int32_t Right() const { return x + w; }
  constexpr int32_t Bottom() const { return y + h; }
};

}  // namespace dovetail
