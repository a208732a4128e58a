#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dovetail {

// A pixel as 0x00RRGGBB. The top byte is always 0 in surfaces.
using Pixel = uint32_t;

constexpr Pixel Rgb(uint32_t red, uint32_t green, uint32_t blue) {
  return ((red & 0xFF) << 16) | ((green & 0xFF) << 8) | (blue & 0xFF);
}
constexpr uint32_t RedOf(Pixel p) {
  return (p >> 16) & 0xFF;
}
constexpr uint32_t GreenOf(Pixel p) {
  return (p >> 8) & 0xFF;
}
constexpr uint32_t BlueOf(Pixel p) {
  return p & 0xFF;
}

// Colours in the content and the original's constants are Windows COLORREF
// values, 0x00BBGGRR; they are converted here, at the boundary.
constexpr Pixel FromColorRef(uint32_t colorRef) {
  return Rgb(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}
constexpr uint32_t ToColorRef(Pixel p) {
  return RedOf(p) | (GreenOf(p) << 8) | (BlueOf(p) << 16);
}

constexpr Pixel kBlack = 0x000000;
constexpr Pixel kWhite = 0xFFFFFF;

// A 32-bit picture with top-down rows, owned by us so that every raster
// operation is exact and testable.
class Surface {
 public:
  Surface() = default;
  Surface(int32_t width, int32_t height, Pixel fill = kBlack);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  Pixel* Row(int32_t y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const Pixel* Row(int32_t y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  Pixel At(int32_t x, int32_t y) const { return Row(y)[x]; }
  void Set(int32_t x, int32_t y, Pixel p) { Row(y)[x] = p; }
  bool Contains(int32_t x, int32_t y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_;
  }

  std::vector<Pixel>& Pixels() { return pixels_; }
  const std::vector<Pixel>& Pixels() const { return pixels_; }

  void Fill(Pixel p);
  // Fills the rectangle, clipped to the surface.
  void FillRect(int32_t x, int32_t y, int32_t width, int32_t height, Pixel p);
  // The outline of the rectangle with corners (x1, y1) and (x2, y2), both
  // inclusive, one pixel wide, clipped.
  void DrawRectOutline(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Pixel p);
  // Changes the size; the pixels that stay keep their place at the top-left and
  // new pixels take `fill`.
  void Resize(int32_t width, int32_t height, Pixel fill);

  bool operator==(const Surface& other) const = default;

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<Pixel> pixels_;
};

// The raster operations the program uses, by their GDI names.
enum class RasterOp {
  SrcCopy,     // dest = src
  SrcAnd,      // dest = dest AND src
  SrcInvert,   // dest = dest XOR src
  MergePaint,  // dest = (NOT src) OR dest
};

// Combines the width × height rectangle of `src` at (srcX, srcY) into `dest`
// at (x, y). The rectangle is clipped to both surfaces: only pixels whose
// source and destination both lie inside are touched. `dest` and `src` may be
// the same surface.
void BitBlt(Surface& dest, int32_t x, int32_t y, int32_t width, int32_t height, const Surface& src,
            int32_t srcX, int32_t srcY, RasterOp op = RasterOp::SrcCopy);

}  // namespace dovetail
