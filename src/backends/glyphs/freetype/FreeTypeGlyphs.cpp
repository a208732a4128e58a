#include "backends/glyphs/freetype/FreeTypeGlyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>

#include "graphics/TextRenderer.h"

namespace dovetail {

namespace {

// The slant of synthetic italic: x += 0.2126 × y, about 12 degrees.
constexpr FT_Fixed kObliqueShear = 0x366A;

int32_t RoundToPixels(FT_Pos value) {
  return static_cast<int32_t>((value + 32) >> 6);
}

}  // namespace

class FreeTypeGlyphs::OutlineFace final : public GlyphFace {
 public:
  OutlineFace(FT_Library library, const ResolvedFont& file, int32_t pixels, bool bold, bool italic);
  ~OutlineFace() override {
    if (face_ != nullptr) FT_Done_Face(face_);
  }
  OutlineFace(const OutlineFace&) = delete;
  OutlineFace& operator=(const OutlineFace&) = delete;

  bool Opened() const { return face_ != nullptr; }
  int32_t Ascent() const override { return ascent_; }
  int32_t Descent() const override { return descent_; }
  bool Render(char32_t codePoint, Glyph& glyph) override;

 private:
  void MeasureCell();

  FT_Face face_ = nullptr;
  int32_t pixels_;
  bool bold_;
  int32_t ascent_;
  int32_t descent_ = 0;
};

FreeTypeGlyphs::OutlineFace::OutlineFace(FT_Library library, const ResolvedFont& file,
                                         int32_t pixels, bool bold, bool italic)
    : pixels_(pixels), bold_(bold), ascent_(pixels) {
  FT_Face opened = nullptr;
  if (FT_New_Face(library, file.file.c_str(), file.index, &opened) != 0) return;
  if (FT_Set_Pixel_Sizes(opened, 0, static_cast<FT_UInt>(pixels)) != 0) {
    FT_Done_Face(opened);
    return;
  }
  if (italic) {
    FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
    FT_Set_Transform(opened, &shear, nullptr);
  }
  face_ = opened;
  MeasureCell();
}

void FreeTypeGlyphs::OutlineFace::MeasureCell() {
  // The cell is measured as the system measured it for its text metrics:
  // from the font's Windows ascent and descent, scaled and rounded. The
  // ascent and descent FreeType reports come from another table, which for
  // the IPA fonts leaves the descenders of g, j, p, q, y below the cell and
  // puts the baseline a pixel lower than the original fonts had it.
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
  const int64_t unitsPerEm = face_->units_per_EM;
  if (os2 != nullptr && os2->version != 0xFFFF && unitsPerEm > 0 &&
      os2->usWinAscent + os2->usWinDescent > 0) {
    ascent_ =
        static_cast<int32_t>((os2->usWinAscent * int64_t{pixels_} + unitsPerEm / 2) / unitsPerEm);
    descent_ =
        static_cast<int32_t>((os2->usWinDescent * int64_t{pixels_} + unitsPerEm / 2) / unitsPerEm);
  } else {
    ascent_ = RoundToPixels(face_->size->metrics.ascender);
    descent_ = RoundToPixels(-face_->size->metrics.descender);
  }
}

bool FreeTypeGlyphs::OutlineFace::Render(char32_t codePoint, Glyph& glyph) {
  const FT_UInt index = face_ == nullptr ? 0 : FT_Get_Char_Index(face_, codePoint);
  if (index == 0 || FT_Load_Glyph(face_, index, FT_LOAD_NO_BITMAP) != 0) return false;
  FT_GlyphSlot slot = face_->glyph;
  FT_Pos widening = 0;
  if (bold_ && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    // The system's synthetic bold smeared each character sideways: about
    // 1/24 em, at least a pixel, wider and as much heavier in its upright
    // strokes, the advance growing with it; the height stays, so bold text
    // keeps to the cell of regular text.
    widening = std::max<FT_Pos>(64, pixels_ * 64 / 24);
    FT_Outline_EmboldenXY(&slot->outline, widening, 0);
  }
  glyph.advance = RoundToPixels(slot->advance.x + widening);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return true;
  const FT_Bitmap& bitmap = slot->bitmap;
  const bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
  const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
  if (!gray && !mono) return true;
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
  return true;
}

FreeTypeGlyphs::FreeTypeGlyphs(FontMapping fonts) : fonts_(std::move(fonts)) {}

Result<std::unique_ptr<FreeTypeGlyphs>> FreeTypeGlyphs::Create(FontMapping fonts) {
  std::unique_ptr<FreeTypeGlyphs> glyphs(new FreeTypeGlyphs(std::move(fonts)));
  if (FT_Init_FreeType(&glyphs->library_) != 0) {
    glyphs->library_ = nullptr;
    return Error{"FreeType cannot be initialised"};
  }
  // The fallback font must open: everything else falls back on it.
  const ResolvedFont& fallback = glyphs->fonts_.Fallback();
  if (!glyphs->Opened(fallback, 16, false, false).Opened()) {
    return Error{fallback.file + ": FreeType cannot read this font (family " + fallback.family +
                 ")"};
  }
  return glyphs;
}

FreeTypeGlyphs::~FreeTypeGlyphs() {
  faces_.clear();  // faces before the library that made them
  if (library_ != nullptr) FT_Done_FreeType(library_);
}

FreeTypeGlyphs::OutlineFace& FreeTypeGlyphs::Opened(const ResolvedFont& file, int32_t pixels,
                                                    bool bold, bool italic) {
  const FaceKey key{file.file, file.index, pixels, bold, italic};
  auto opened = faces_.find(key);
  if (opened == faces_.end()) {
    opened =
        faces_.emplace(key, std::make_unique<OutlineFace>(library_, file, pixels, bold, italic))
            .first;
  }
  return *opened->second;
}

GlyphFace& FreeTypeGlyphs::Face(const std::string& name, int32_t pixels, bool bold, bool italic) {
  // The mapped font, else the fallback font when the mapped file cannot be
  // read; with neither, the fallback's unopened face, which draws nothing.
  OutlineFace& mapped = Opened(fonts_.Resolve(name), pixels, bold, italic);
  if (mapped.Opened()) return mapped;
  return Opened(fonts_.Fallback(), pixels, bold, italic);
}

// The text renderer over the system's fonts, or over given ones; made here
// because only a build with FreeType has them.
Result<std::unique_ptr<TextRenderer>> MakeFreeTypeTextRenderer() {
  Result<FontMapping> fonts = FontMapping::Create();
  if (!fonts) return fonts.error();
  return MakeFreeTypeTextRenderer(std::move(*fonts));
}

Result<std::unique_ptr<TextRenderer>> MakeFreeTypeTextRenderer(FontMapping fonts) {
  auto glyphs = FreeTypeGlyphs::Create(std::move(fonts));
  if (!glyphs) return glyphs.error();
  return std::make_unique<TextRenderer>(std::move(*glyphs));
}

}  // namespace dovetail
