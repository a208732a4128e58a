#pragma once

#include <string_view>

#include "host/Surface.h"

namespace dovetail::tools {

// A 5 × 7 pixel font for the captions of the generated demo pictures: capital
// letters, digits and a little punctuation (small letters are drawn as
// capitals, other characters as blanks). Each font pixel becomes a
// `scale` × `scale` block; characters advance 6 · scale pixels.

int PixelTextWidth(std::string_view text, int scale);
constexpr int PixelTextHeight(int scale) {
  return 7 * scale;
}

// Draws `text` with its top-left corner at (x, y), clipped to the surface.
void DrawPixelText(Surface& s, int x, int y, std::string_view text, int scale, Pixel colour);

// Draws `text` centred on (cx, cy), with a shadow one block down and right
// when `shadow` differs from `colour`.
void DrawPixelTextCentred(Surface& s, int cx, int cy, std::string_view text, int scale,
                          Pixel colour, Pixel shadow);

}  // namespace dovetail::tools
