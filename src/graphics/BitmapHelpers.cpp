#include "graphics/BitmapHelpers.h"

#include <algorithm>
#include <cassert>
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
  const size_t bytes = static_cast<size_t>(width) * height * 3;
  bufA_.assign(bytes, 0);
  bufB_.assign(bytes, 0);
  bits_ = Surface(width, height, kBlack);
}

namespace {

void SurfaceToTriples(const Surface& surface, std::vector<uint8_t>& triples) {
  // The work picture is bottom-up, blue, green, red; the buffers hold it as is.
  const int32_t w = surface.Width();
  const int32_t h = surface.Height();
  for (int32_t row = 0; row < h; ++row) {
    const Pixel* in = surface.Row(h - 1 - row);
    uint8_t* out = triples.data() + static_cast<size_t>(row) * w * 3;
    for (int32_t col = 0; col < w; ++col) {
      out[col * 3] = static_cast<uint8_t>(BlueOf(in[col]));
      out[col * 3 + 1] = static_cast<uint8_t>(GreenOf(in[col]));
      out[col * 3 + 2] = static_cast<uint8_t>(RedOf(in[col]));
    }
  }
}

}  // namespace

void BlendArea::BlendRect(PictureBox& dest, int32_t x, int32_t y, int32_t width, int32_t height,
                          const PictureBox& src, int32_t srcX, int32_t srcY, float ratio) {
  if (!(ratio >= 0.0f && ratio <= 1.0f)) return;
  assert(width == width_ && height == height_);
  if (width_ == 0 || height_ == 0) return;

  BitBlt(bits_, 0, 0, width, height, dest.Image(), x, y);
  SurfaceToTriples(bits_, bufA_);
  BitBlt(bits_, 0, 0, width, height, src.Image(), srcX, srcY);
  SurfaceToTriples(bits_, bufB_);

  // Every result byte depends only on the two input bytes, so one table of
  // 256 × 256 results per ratio gives exactly the formula's values.
  if (table_.empty() || tableRatio_ != ratio) {
    table_.resize(256 * 256);
    const double r = ratio;
    for (int a = 0; a < 256; ++a) {
      for (int b = 0; b < 256; ++b) {
        table_[(a << 8) | b] = static_cast<uint8_t>(RoundHalfEven(b * r + a * (1.0 - r)));
      }
    }
    tableRatio_ = ratio;
  }
  for (size_t i = 0; i < bufA_.size(); ++i)
    bufA_[i] = table_[(bufA_[i] << 8) | bufB_[i]];

  // Write the result back as a bottom-up picture at (x, y).
  for (int32_t row = 0; row < height; ++row) {
    const uint8_t* in = bufA_.data() + static_cast<size_t>(height - 1 - row) * width * 3;
    Pixel* out = bits_.Row(row);
    for (int32_t col = 0; col < width; ++col) {
      out[col] = Rgb(in[col * 3 + 2], in[col * 3 + 1], in[col * 3]);
    }
  }
  BitBlt(dest.Image(), x, y, width, height, bits_, 0, 0);
  dest.Invalidate();
}

void BlendArea::BlendEnd() {
  bits_ = Surface();
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
