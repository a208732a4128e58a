#include "host/Surface.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace dovetail {

Surface::Surface(int32_t width, int32_t height, Pixel fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * height_, fill) {}

void Surface::Fill(Pixel p) {
  std::fill(pixels_.begin(), pixels_.end(), p);
}

void Surface::FillRect(int32_t x, int32_t y, int32_t width, int32_t height, Pixel p) {
  const int32_t left = std::max(x, 0);
  const int32_t top = std::max(y, 0);
  const int32_t right = std::min<int64_t>(int64_t{x} + width, width_);
  const int32_t bottom = std::min<int64_t>(int64_t{y} + height, height_);
  for (int32_t row = top; row < bottom; ++row) {
    std::fill(Row(row) + left, Row(row) + std::max(right, left), p);
  }
}

void Surface::DrawRectOutline(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Pixel p) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const int32_t w = x2 - x1 + 1;
  const int32_t h = y2 - y1 + 1;
  FillRect(x1, y1, w, 1, p);
  FillRect(x1, y2, w, 1, p);
  FillRect(x1, y1, 1, h, p);
  FillRect(x2, y1, 1, h, p);
}

void Surface::Resize(int32_t width, int32_t height, Pixel fill) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  Surface resized(width, height, fill);
  BitBlt(resized, 0, 0, width_, height_, *this, 0, 0);
  *this = std::move(resized);
}

namespace {

template <typename Combine>
void CombineRows(Surface& dest, int32_t x, int32_t y, const Pixel* srcBase, int32_t srcStride,
                 int32_t width, int32_t height, Combine combine) {
  for (int32_t row = 0; row < height; ++row) {
    Pixel* d = dest.Row(y + row) + x;
    const Pixel* s = srcBase + static_cast<size_t>(row) * srcStride;
    for (int32_t col = 0; col < width; ++col)
      d[col] = combine(d[col], s[col]);
  }
}

}  // namespace

void BitBlt(Surface& dest, int32_t x, int32_t y, int32_t width, int32_t height, const Surface& src,
            int32_t srcX, int32_t srcY, RasterOp op) {
  // Clip against the source, then the destination, moving both origins together.
  int64_t dx = x, dy = y, sx = srcX, sy = srcY, w = width, h = height;
  auto clipStart = [&](int64_t& a, int64_t& b, int64_t& size) {
    if (a < 0) {
      b -= a;
      size += a;
      a = 0;
    }
  };
  clipStart(sx, dx, w);
  clipStart(sy, dy, h);
  clipStart(dx, sx, w);
  clipStart(dy, sy, h);
  w = std::min({w, int64_t{src.Width()} - sx, int64_t{dest.Width()} - dx});
  h = std::min({h, int64_t{src.Height()} - sy, int64_t{dest.Height()} - dy});
  if (w <= 0 || h <= 0) return;

  const auto cw = static_cast<int32_t>(w);
  const auto ch = static_cast<int32_t>(h);
  const auto cdx = static_cast<int32_t>(dx);
  const auto cdy = static_cast<int32_t>(dy);

  // A copy within one surface reads from a snapshot so that overlapping
  // rectangles behave as if the source were read first.
  std::vector<Pixel> snapshot;
  const Pixel* srcBase = src.Row(static_cast<int32_t>(sy)) + sx;
  int32_t srcStride = src.Width();
  if (&dest == &src) {
    snapshot.resize(static_cast<size_t>(cw) * ch);
    for (int32_t row = 0; row < ch; ++row) {
      std::memcpy(snapshot.data() + static_cast<size_t>(row) * cw,
                  src.Row(static_cast<int32_t>(sy) + row) + sx, sizeof(Pixel) * cw);
    }
    srcBase = snapshot.data();
    srcStride = cw;
  }

  switch (op) {
    case RasterOp::SrcCopy:
      for (int32_t row = 0; row < ch; ++row) {
        std::memcpy(dest.Row(cdy + row) + cdx, srcBase + static_cast<size_t>(row) * srcStride,
                    sizeof(Pixel) * cw);
      }
      break;
    case RasterOp::SrcAnd:
      CombineRows(dest, cdx, cdy, srcBase, srcStride, cw, ch,
                  [](Pixel d, Pixel s) { return d & s; });
      break;
    case RasterOp::SrcInvert:
      CombineRows(dest, cdx, cdy, srcBase, srcStride, cw, ch,
                  [](Pixel d, Pixel s) { return d ^ s; });
      break;
    case RasterOp::MergePaint:
      CombineRows(dest, cdx, cdy, srcBase, srcStride, cw, ch,
                  [](Pixel d, Pixel s) { return (~s | d) & 0x00FFFFFF; });
      break;
  }
}

}  // namespace dovetail
