#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "host/Surface.h"
#include "window/PictureBox.h"

namespace dovetail {

// Builds a two-colour transparency mask of the width × height rectangle of
// `src` at (x, y) into `dest` at (0, 0): source pixels equal to black become
// dest's background colour (`bkColor`), all others its text colour
// (`textColor`). With a white background and black text colour, the sprite's
// black (transparent) pixels become white and every other pixel black. Leaves
// the source's background colour black, as the original did.
void MakeMask(PictureBox& dest, PictureBox& src, int32_t x, int32_t y, int32_t width,
              int32_t height);

// The pixel array of a picture: entry k is the pixel at column k mod W of row
// H − 1 − k / W (rows bottom-up), as 0x00RRGGBB (memory order blue, green, red,
// spare byte); W·H + 1 entries, the last one spare.
using PixelArray = std::vector<int32_t>;

// Fills `pixels` from the picture's image; returns W·H, or −1 for an empty image.
int32_t GetPixels(const PictureBox& pic, PixelArray& pixels);

// Writes `pixels` (from GetPixels on a picture of the same size) into the
// picture's image and refreshes it; returns 0, or −1 when the array is too
// small for the picture or the image is empty.
int32_t SetPixels(PictureBox& pic, const PixelArray& pixels);

// The work area of a cross-fade: the mixing rule of the last ratio, kept
// across steps and fades, and a scratch picture for a blend within one picture.
class BlendArea {
 public:
  void BlendBegin(int32_t width, int32_t height);

  // Moves the width × height rectangle of `dest` at (x, y) the fraction `ratio`
  // of the way towards the same-sized rectangle of `src` at (srcX, srcY): each
  // colour byte becomes round(B·ratio + A·(1 − ratio)), halves to even. Does
  // nothing when `ratio` is outside 0 .. 1. Pixels whose destination or source
  // lies outside its picture stay as they are. The sizes must be those given
  // to BlendBegin.
  void BlendRect(PictureBox& dest, int32_t x, int32_t y, int32_t width, int32_t height,
                 const PictureBox& src, int32_t srcX, int32_t srcY, float ratio);

  // Releases the scratch picture; the mixing rule is kept for the next fade.
  void BlendEnd();

 private:
  void PrepareRatio(float ratio);

  int32_t width_ = 0;
  int32_t height_ = 0;
  Surface scratch_;
  // The ratio the rule below was made for (NaN before the first blend).
  float ruleRatio_ = std::numeric_limits<float>::quiet_NaN();
  // A + ((B − A)·weight_ + 2^21) >> 22 when that equals the formula for every
  // byte pair; −1 when it does not and `table_` holds the 256 × 256 results.
  int32_t weight_ = -1;
  std::vector<uint8_t> table_;
};

// The outer size of a window in twips and its inner (client) size in pixels.
struct FormFrame {
  int32_t width = 0;        // outer width, twips
  int32_t height = 0;       // outer height, twips
  int32_t scaleWidth = 0;   // inner width, pixels
  int32_t scaleHeight = 0;  // inner height, pixels
  int32_t twipsPerPixelX = 15;
  int32_t twipsPerPixelY = 15;
};

// Sizes the window so that its inner area is width × height pixels, whatever
// its frame and caption take.
void SetClientSize(FormFrame& frm, int32_t width, int32_t height);

}  // namespace dovetail
