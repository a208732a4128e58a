#pragma once

#include <cstdint>
#include <string>

#include "host/Surface.h"

namespace dovetail::tools {

// A Windows cursor file (.cur) of one 32-bit image: the pixels of `image`
// that are not black are opaque, black ones transparent (AND mask bit set,
// alpha 0). The hot spot is stored in the directory entry.
std::string EncodeCursor(const Surface& image, int32_t hotX, int32_t hotY);

// select.cur of the demo: a 32 × 32 pointing hand whose hot spot is the tip
// of the index finger.
constexpr int32_t kHandHotX = 11;  // the middle of the index finger
constexpr int32_t kHandHotY = 1;
Surface PointingHand();

}  // namespace dovetail::tools
