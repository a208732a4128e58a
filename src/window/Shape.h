#pragma once

#include <cstdint>
#include <memory>

#include "host/Surface.h"

namespace dovetail {

// A rectangle drawn over its container when the window is composed (the
// click-wait indicator, a hover frame). It is not part of any image, so showing
// and hiding it never disturbs the pixels beneath. Coordinates are relative to
// the container.
struct Shape {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool visible = false;
  Pixel borderColor = kBlack;
  int32_t borderWidth = 1;  // 0 draws no border
  bool filled = false;
  Pixel fillColor = kBlack;
  // A picture drawn inside, at the top-left, over the fill: the pixels of
  // `transparent` are left out. For marks of our own (auto-advance).
  std::shared_ptr<const Surface> picture{};
  Pixel transparent = kBlack;

  // Draws the shape onto `target`, whose origin is the container's (ox, oy).
  void DrawOn(Surface& target, int32_t ox, int32_t oy) const;

 private:
  void DrawPicture(Surface& target, int32_t x, int32_t y) const;
};

}  // namespace dovetail
