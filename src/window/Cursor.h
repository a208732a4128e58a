#pragma once

#include <cstdint>
#include <vector>

namespace dovetail {

// A mouse cursor image with its hot spot. Pixels are 0xAARRGGBB, top-down;
// alpha 0 is transparent.
struct Cursor {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> argb;
  int32_t hotX = 0;
  int32_t hotY = 0;
};

}  // namespace dovetail
