#include "graphics/BitmapHelpers.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>

#include "base/Numbers.h"

namespace dovetail {

void MakeMask(PictureBox& dest, PictureBox& src, int32_t x, int32_t y, int32_t width,
              int32_t height) {
  src.bkColor = kBlack;
  if (width <= 0 || height <= 0) return;
  // The monochrome bitmap starts all 0; source pixels outside the picture stay 0.
  std::vector<uint8_t> mono(static_cast<size_t>(width) * height, 0);
  const Surface& image = src.Image();
  for (int32_t row = 0; row < height; ++row) {
    for (int32_t col = 0; col < width; ++col) {
      const int32_t sx = x + col;
      const int32_t sy = y + row;
      if (image.Contains(sx, sy) && image.At(sx, sy) == src.bkColor) {
        mono[static_cast<size_t>(row) * width + col] = 1;
      }
    }
  }
  Surface& target = dest.Image();
  const int32_t rows = std::min(height, target.Height());
  const int32_t cols = std::min(width, target.Width());
  for (int32_t row = 0; row < rows; ++row) {
    Pixel* out = target.Row(row);
    for (int32_t col = 0; col < cols; ++col) {
      out[col] = mono[static_cast<size_t>(row) * width + col] ? dest.bkColor : dest.textColor;
    }
  }
  dest.Invalidate();
}

int32_t GetPixels(const PictureBox& pic, PixelArray& pixels) {
  const Surface& image = pic.Image();
  const int32_t w = image.Width();
  const int32_t h = image.Height();
  pixels.assign(static_cast<size_t>(w) * h + 1, 0);
  if (w == 0 || h == 0) return -1;
  for (int32_t row = 0; row < h; ++row) {
    std::memcpy(pixels.data() + static_cast<size_t>(h - 1 - row) * w, image.Row(row),
                sizeof(Pixel) * w);
  }
  return w * h;
}

int32_t SetPixels(PictureBox& pic, const PixelArray& pixels) {
  Surface& image = pic.Image();
  const int32_t w = image.Width();
  const int32_t h = image.Height();
  if (w == 0 || h == 0 || pixels.size() < static_cast<size_t>(w) * h) return -1;
  for (int32_t row = 0; row < h; ++row) {
    const int32_t* source = pixels.data() + static_cast<size_t>(h - 1 - row) * w;
    Pixel* out = image.Row(row);
    // The fourth byte of an entry is not a colour.
    for (int32_t col = 0; col < w; ++col)
      out[col] = static_cast<Pixel>(source[col]) & 0x00FFFFFF;
  }
  pic.Refresh();
  return 0;
}

void BlendArea::BlendBegin(int32_t width, int32_t height) {
  assert(width >= 0 && height >= 0);
  width_ = width;
  height_ = height;
}

namespace {

// The mixing rule's fixed point: weights are ratio · 2^22, so that
// (B − A)·weight stays within 32 bits for any byte difference.
constexpr int kWeightShift = 22;
constexpr int32_t kWeightOne = int32_t{1} << kWeightShift;
constexpr int32_t kWeightHalf = kWeightOne / 2;

// One colour byte as the blend formula gives it, in double precision.
uint8_t BlendByte(int32_t a, int32_t b, double ratio) {
  return static_cast<uint8_t>(RoundHalfEven(b * ratio + a * (1.0 - ratio)));
}

// The byte by the fixed-point rule: A plus the weighted difference, rounded to
// nearest with halves up (the shift of a negative number floors).
inline int32_t WeightedByte(int32_t a, int32_t b, int32_t weight) {
  return a + (((b - a) * weight + kWeightHalf) >> kWeightShift);
}

inline uint32_t WeightedChannel(Pixel a, Pixel b, int shift, int32_t weight) {
  const auto ca = static_cast<int32_t>((a >> shift) & 0xFF);
  const auto cb = static_cast<int32_t>((b >> shift) & 0xFF);
  return static_cast<uint32_t>(WeightedByte(ca, cb, weight)) << shift;
}

// The rows are independent of each other and of the position, so these loops
// run many pixels per instruction. The weighted one is integer arithmetic,
// the same in every copy; the processor picks the widest copy it can run.
// Not under the thread sanitizer: the picking runs while the program is
// loaded, before the sanitizer's run-time is there, and crashes.
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__) && !defined(__SANITIZE_THREAD__)
[[gnu::target_clones("avx2", "default")]]
#endif
void BlendRowWeighted(Pixel* dest, const Pixel* src, int32_t count, int32_t weight) {
  for (int32_t i = 0; i < count; ++i) {
    const Pixel a = dest[i];
    const Pixel b = src[i];
    dest[i] = WeightedChannel(a, b, 16, weight) | WeightedChannel(a, b, 8, weight) |
              WeightedChannel(a, b, 0, weight);
  }
}

void BlendRowTable(Pixel* dest, const Pixel* src, int32_t count, const uint8_t* table) {
  for (int32_t i = 0; i < count; ++i) {
    const Pixel a = dest[i];
    const Pixel b = src[i];
    dest[i] = Rgb(table[(RedOf(a) << 8) | RedOf(b)], table[(GreenOf(a) << 8) | GreenOf(b)],
                  table[(BlueOf(a) << 8) | BlueOf(b)]);
  }
}

// The part of a blend where both rectangles lie inside their pictures.
struct BlendSpan {
  int32_t destX = 0;
  int32_t destY = 0;
  int32_t srcX = 0;
  int32_t srcY = 0;
  int32_t width = 0;
  int32_t height = 0;
};

BlendSpan ClipSpan(const Surface& dest, int32_t x, int32_t y, int32_t width, int32_t height,
                   const Surface& src, int32_t srcX, int32_t srcY) {
  int64_t dx = x, dy = y, sx = srcX, sy = srcY, w = width, h = height;
  // A negative origin on either side moves both origins and shrinks the span.
  const int64_t skipX = std::max({int64_t{0}, -dx, -sx});
  const int64_t skipY = std::max({int64_t{0}, -dy, -sy});
  dx += skipX;
  sx += skipX;
  w -= skipX;
  dy += skipY;
  sy += skipY;
  h -= skipY;
  w = std::min({w, int64_t{dest.Width()} - dx, int64_t{src.Width()} - sx});
  h = std::min({h, int64_t{dest.Height()} - dy, int64_t{src.Height()} - sy});
  if (w <= 0 || h <= 0) return {};
  return {static_cast<int32_t>(dx), static_cast<int32_t>(dy), static_cast<int32_t>(sx),
          static_cast<int32_t>(sy), static_cast<int32_t>(w),  static_cast<int32_t>(h)};
}

}  // namespace

// Every result byte depends only on the two input bytes, so the formula is
// evaluated once per byte pair when the ratio changes, never per step. Where
// one fixed-point weight reproduces all 65 536 results (the cross-fade's 0.1
// among them), the loops use it; otherwise (ratios with exact halves, such as
// 0.5) they look the results up.
void BlendArea::PrepareRatio(float ratio) {
  if (ratio == ruleRatio_) return;
  const double r = ratio;
  table_.resize(256 * 256);
  for (int32_t a = 0; a < 256; ++a) {
    for (int32_t b = 0; b < 256; ++b)
      table_[static_cast<size_t>((a << 8) | b)] = BlendByte(a, b, r);
  }
  auto reproduces = [this](int32_t weight) {
    for (int32_t a = 0; a < 256; ++a) {
      for (int32_t b = 0; b < 256; ++b) {
        if (WeightedByte(a, b, weight) != table_[static_cast<size_t>((a << 8) | b)]) return false;
      }
    }
    return true;
  };
  const double scaled = r * kWeightOne;
  weight_ = -1;
  for (const double candidate : {std::ceil(scaled), std::floor(scaled)}) {
    if (reproduces(static_cast<int32_t>(candidate))) {
      weight_ = static_cast<int32_t>(candidate);
      break;
    }
  }
  if (weight_ >= 0) table_ = {};
  ruleRatio_ = ratio;
}

void BlendArea::BlendRect(PictureBox& dest, int32_t x, int32_t y, int32_t width, int32_t height,
                          const PictureBox& src, int32_t srcX, int32_t srcY, float ratio) {
  if (!(ratio >= 0.0f && ratio <= 1.0f)) return;
  assert(width == width_ && height == height_);
  if (width_ == 0 || height_ == 0) return;
  const BlendSpan span = ClipSpan(dest.Image(), x, y, width, height, src.Image(), srcX, srcY);
  if (span.width == 0) return;
  PrepareRatio(ratio);

  // A blend within one picture reads the source as it was before the first write.
  const Surface* from = &src.Image();
  int32_t fromX = span.srcX;
  int32_t fromY = span.srcY;
  if (from == &dest.Image()) {
    scratch_ = Surface(span.width, span.height);
    BitBlt(scratch_, 0, 0, span.width, span.height, src.Image(), span.srcX, span.srcY);
    from = &scratch_;
    fromX = 0;
    fromY = 0;
  }
  Surface& image = dest.Image();
  for (int32_t row = 0; row < span.height; ++row) {
    Pixel* out = image.Row(span.destY + row) + span.destX;
    const Pixel* in = from->Row(fromY + row) + fromX;
    if (weight_ >= 0) {
      BlendRowWeighted(out, in, span.width, weight_);
    } else {
      BlendRowTable(out, in, span.width, table_.data());
    }
  }
  dest.Invalidate();
}

void BlendArea::BlendEnd() {
  scratch_ = Surface();
}

void SetClientSize(FormFrame& frm, int32_t width, int32_t height) {
  const int32_t frameX = frm.width - frm.scaleWidth * frm.twipsPerPixelX;
  const int32_t frameY = frm.height - frm.scaleHeight * frm.twipsPerPixelY;
  frm.width = frameX + width * frm.twipsPerPixelX;
  frm.height = frameY + height * frm.twipsPerPixelY;
  frm.scaleWidth = width;
  frm.scaleHeight = height;
}

}  // namespace dovetail
