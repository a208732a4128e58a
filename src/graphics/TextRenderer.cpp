#include "graphics/TextRenderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

#include "base/Utf8.h"

namespace dovetail {

namespace {

// Larger sizes are drawn at this em size: a glyph taller than any picture of
// the game cannot be seen whole anyway, and its bitmap would take gigabytes.
constexpr int32_t kMaxPixelSize = 1024;

// The slant of synthetic italic: x += 0.2126 × y, about 12 degrees.
constexpr FT_Fixed kObliqueShear = 0x366A;

int32_t RoundToPixels(FT_Pos value) {
  return static_cast<int32_t>((value + 32) >> 6);
}

}  // namespace

TextRenderer::Face::~Face() {
  if (face != nullptr) FT_Done_Face(face);
}

Result<std::unique_ptr<TextRenderer>> TextRenderer::Create() {
  Result<FontMapping> fonts = FontMapping::Create();
  if (!fonts) return fonts.error();
  return Create(std::move(*fonts));
}

Result<std::unique_ptr<TextRenderer>> TextRenderer::Create(FontMapping fonts) {
  std::unique_ptr<TextRenderer> renderer(new TextRenderer(std::move(fonts)));
  if (FT_Init_FreeType(&renderer->library_) != 0) {
    renderer->library_ = nullptr;
    return Error{"FreeType cannot be initialised"};
  }
  // The fallback font must open: everything else falls back on it.
  const ResolvedFont& fallback = renderer->fonts_.Fallback();
  if (renderer->OpenFace(fallback, 16, false, false)->face == nullptr) {
    return Error{fallback.file + ": FreeType cannot read this font (family " + fallback.family +
                 ")"};
  }
  return renderer;
}

TextRenderer::~TextRenderer() {
  lastFace_ = nullptr;
  facesBySpec_.clear();
  faces_.clear();  // faces before the library that made them
  if (library_ != nullptr) FT_Done_FreeType(library_);
}

int32_t TextRenderer::PixelSize(float points) {
  return static_cast<int32_t>(std::lround(static_cast<double>(points) * 96.0 / 72.0));
}

float TextRenderer::ActualFontSize(float points) {
  return static_cast<float>(PixelSize(points) * 72.0 / 96.0);
}

std::unique_ptr<TextRenderer::Face> TextRenderer::OpenFace(const ResolvedFont& file, int32_t pixels,
                                                           bool bold, bool italic) {
  auto face = std::make_unique<Face>();
  face->pixelSize = pixels;
  face->bold = bold;
  FT_Face opened = nullptr;
  if (FT_New_Face(library_, file.file.c_str(), file.index, &opened) != 0) return face;
  if (FT_Set_Pixel_Sizes(opened, 0, static_cast<FT_UInt>(pixels)) != 0) {
    FT_Done_Face(opened);
    return face;
  }
  if (italic) {
    FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
    FT_Set_Transform(opened, &shear, nullptr);
  }
  face->face = opened;
  // The cell is measured as the system measured it for its text metrics:
  // from the font's Windows ascent and descent, scaled and rounded. The
  // ascent and descent FreeType reports come from another table, which for
  // the IPA fonts leaves the descenders of g, j, p, q, y below the cell and
  // puts the baseline a pixel lower than the original fonts had it.
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(opened, FT_SFNT_OS2));
  const int64_t unitsPerEm = opened->units_per_EM;
  if (os2 != nullptr && os2->version != 0xFFFF && unitsPerEm > 0 &&
      os2->usWinAscent + os2->usWinDescent > 0) {
    face->ascent =
        static_cast<int32_t>((os2->usWinAscent * int64_t{pixels} + unitsPerEm / 2) / unitsPerEm);
    face->descent =
        static_cast<int32_t>((os2->usWinDescent * int64_t{pixels} + unitsPerEm / 2) / unitsPerEm);
  } else {
    face->ascent = RoundToPixels(opened->size->metrics.ascender);
    face->descent = RoundToPixels(-opened->size->metrics.descender);
  }
  return face;
}

TextRenderer::Face& TextRenderer::FaceFor(const FontSpec& font) {
  if (lastFace_ != nullptr && font == lastSpec_) return *lastFace_;
  const int32_t pixels = std::clamp(PixelSize(font.size), 1, kMaxPixelSize);
  const SpecKey specKey{font.name, pixels, font.bold, font.italic};
  auto known = facesBySpec_.find(specKey);
  if (known == facesBySpec_.end()) {
    Face* face = nullptr;
    // The mapped font, else the fallback font when the mapped file cannot
    // be read; with neither, a face that draws nothing.
    for (const ResolvedFont* file : {&fonts_.Resolve(font.name), &fonts_.Fallback()}) {
      const FaceKey faceKey{file->file, file->index, pixels, font.bold, font.italic};
      auto opened = faces_.find(faceKey);
      if (opened == faces_.end()) {
        opened = faces_.emplace(faceKey, OpenFace(*file, pixels, font.bold, font.italic)).first;
      }
      face = opened->second.get();
      if (face->face != nullptr) break;
    }
    if (face->face == nullptr) face->ascent = pixels;
    known = facesBySpec_.emplace(specKey, face).first;
  }
  lastSpec_ = font;
  lastFace_ = known->second;
  return *lastFace_;
}

const TextRenderer::Glyph& TextRenderer::GlyphFor(Face& face, char32_t codePoint) {
  auto known = face.glyphs.find(codePoint);
  if (known != face.glyphs.end()) return known->second;

  Glyph glyph;
  glyph.advance = face.pixelSize / 2;  // a character the font lacks
  const FT_UInt index = face.face == nullptr ? 0 : FT_Get_Char_Index(face.face, codePoint);
  if (index != 0 && FT_Load_Glyph(face.face, index, FT_LOAD_NO_BITMAP) == 0) {
    FT_GlyphSlot slot = face.face->glyph;
    FT_Pos widening = 0;
    if (face.bold && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
      // The system's synthetic bold smeared each character sideways: about
      // 1/24 em, at least a pixel, wider and as much heavier in its upright
      // strokes, the advance growing with it; the height stays, so bold text
      // keeps to the cell of regular text.
      widening = std::max<FT_Pos>(64, face.pixelSize * 64 / 24);
      FT_Outline_EmboldenXY(&slot->outline, widening, 0);
    }
    glyph.advance = RoundToPixels(slot->advance.x + widening);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0) {
      const FT_Bitmap& bitmap = slot->bitmap;
      const bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
      const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
      if (gray || mono) {
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.width = static_cast<int32_t>(bitmap.width);
        glyph.height = static_cast<int32_t>(bitmap.rows);
        glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.height);
        const ptrdiff_t pitch = bitmap.pitch;
        for (int32_t row = 0; row < glyph.height; ++row) {
          // A negative pitch stores the rows bottom-up.
          const unsigned char* source =
              bitmap.buffer + (pitch >= 0 ? row * pitch : (glyph.height - 1 - row) * -pitch);
          uint8_t* out = glyph.coverage.data() + static_cast<size_t>(row) * glyph.width;
          for (int32_t col = 0; col < glyph.width; ++col) {
            out[col] = gray ? source[col] : ((source[col / 8] >> (7 - col % 8)) & 1) * 255;
          }
        }
      }
    }
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
