#include "graphics/TextRenderer.h"

#include <algorithm>
#include <cmath>

#include "base/Utf8.h"

namespace dovetail {

namespace {

// Larger sizes are drawn at this em size: a glyph taller than any picture of
// the game cannot be seen whole anyway, and its bitmap would take gigabytes.
constexpr int32_t kMaxPixelSize = 1024;

}  // namespace

int32_t TextRenderer::PixelSize(float points) {
  return static_cast<int32_t>(std::lround(static_cast<double>(points) * 96.0 / 72.0));
}

float TextRenderer::ActualFontSize(float points) {
  return static_cast<float>(PixelSize(points) * 72.0 / 96.0);
}

TextRenderer::Face& TextRenderer::FaceFor(const FontSpec& font) {
  if (lastFace_ != nullptr && font == lastSpec_) return *lastFace_;
  const int32_t pixels = std::clamp(PixelSize(font.size), 1, kMaxPixelSize);
  const SpecKey specKey{font.name, pixels, font.bold, font.italic};
  auto known = facesBySpec_.find(specKey);
  if (known == facesBySpec_.end()) {
    GlyphFace& source = glyphs_->Face(font.name, pixels, font.bold, font.italic);
    auto [face, added] = faces_.try_emplace(&source);
    if (added) {
      face->second.source = &source;
      face->second.pixelSize = pixels;
      face->second.ascent = source.Ascent();
      face->second.descent = source.Descent();
    }
    known = facesBySpec_.emplace(specKey, &face->second).first;
  }
  lastSpec_ = font;
  lastFace_ = known->second;
  return *lastFace_;
}

const Glyph& TextRenderer::GlyphFor(Face& face, char32_t codePoint) {
  auto known = face.glyphs.find(codePoint);
  if (known != face.glyphs.end()) return known->second;
  Glyph glyph;
  if (!face.source->Render(codePoint, glyph)) {
    glyph = Glyph{};
    glyph.advance = face.pixelSize / 2;  // a character the font lacks
  }
  return face.glyphs.emplace(codePoint, std::move(glyph)).first->second;
}

void TextRenderer::Blend(Surface& target, int64_t left, int64_t top, const Glyph& glyph,
                         Pixel color) {
  const int64_t x0 = std::max<int64_t>(left, 0);
  const int64_t x1 = std::min<int64_t>(left + glyph.width, target.Width());
  const int64_t y0 = std::max<int64_t>(top, 0);
  const int64_t y1 = std::min<int64_t>(top + glyph.height, target.Height());
  if (x0 >= x1 || y0 >= y1) return;
  const uint32_t red = RedOf(color);
  const uint32_t green = GreenOf(color);
  const uint32_t blue = BlueOf(color);
  for (int64_t y = y0; y < y1; ++y) {
    Pixel* out = target.Row(static_cast<int32_t>(y));
    const uint8_t* coverage = glyph.coverage.data() + (y - top) * glyph.width;
    for (int64_t x = x0; x < x1; ++x) {
      const uint32_t a = coverage[x - left];
      if (a == 0) continue;
      if (a == 255) {
        out[x] = color;
        continue;
      }
      const Pixel under = out[x];
      auto mix = [a](uint32_t from, uint32_t to) {
        return (from * (255 - a) + to * a + 127) / 255;
      };
      out[x] = Rgb(mix(RedOf(under), red), mix(GreenOf(under), green), mix(BlueOf(under), blue));
    }
  }
}

void TextRenderer::DrawText(Surface& target, int32_t x, int32_t y, std::string_view utf8,
                            const FontSpec& font, Pixel color) {
  Face& face = FaceFor(font);
  const int64_t baseline = int64_t{y} + face.ascent;
  int64_t pen = x;
  for (size_t i = 0; i < utf8.size(); i += Utf8SequenceLength(utf8, i)) {
    const Glyph& glyph = GlyphFor(face, DecodeCodePoint(utf8, i));
    Blend(target, pen + glyph.left, baseline - glyph.top, glyph, color);
    pen += glyph.advance;
  }
}

void TextRenderer::DrawText(PictureBox& box, int32_t x, int32_t y, std::string_view utf8) {
  DrawText(box.Image(), x, y, utf8, box.font, box.textColor);
  box.Invalidate();
}

int32_t TextRenderer::TextWidth(std::string_view utf8, const FontSpec& font) {
  Face& face = FaceFor(font);
  int32_t width = 0;
  for (size_t i = 0; i < utf8.size(); i += Utf8SequenceLength(utf8, i)) {
    width += GlyphFor(face, DecodeCodePoint(utf8, i)).advance;
  }
  return width;
}

int32_t TextRenderer::LineHeight(const FontSpec& font) {
  const Face& face = FaceFor(font);
  return face.ascent + face.descent;
}

int32_t TextRenderer::Ascent(const FontSpec& font) {
  return FaceFor(font).ascent;
}

}  // namespace dovetail
