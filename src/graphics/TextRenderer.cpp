#include "graphics/TextRenderer.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>
#include <unordered_map>

#include "base/Utf8.h"

namespace dovetail {

struct TextRenderer::Face {
  FT_Face face = nullptr;
  int32_t pixelSize = 0;
  bool bold = false;
  bool italic = false;
  int32_t ascent = 0;
  int32_t descent = 0;
  std::unordered_map<char32_t, Glyph> glyphs;
  ~Face() {
    if (face != nullptr) FT_Done_Face(face);
  }
};

namespace {

// The free fonts standing in for the ones the game's texts ask for.
std::vector<std::string> FamiliesFor(const std::string& faceName) {
  if (faceName == "ＭＳ ゴシック") return {"IPAGothic"};
  if (faceName == "ＭＳ Ｐゴシック") return {"IPAPGothic"};
  if (faceName == "ＭＳ Ｐ明朝") return {"IPAPMincho"};
  if (faceName == "ＭＳ 明朝") return {"IPAMincho"};
  if (faceName == "Arial") return {"Liberation Sans", "DejaVu Sans"};
  return {faceName, "IPAPGothic"};
}

std::string PackageFor(const std::string& family) {
  if (family.rfind("IPA", 0) == 0) {
    return family.find("Mincho") != std::string::npos ? "fonts-ipafont-mincho"
                                                      : "fonts-ipafont-gothic";
  }
  if (family == "Liberation Sans") return "fonts-liberation";
  return "fonts-dejavu-core";
}

// Asks fontconfig for a family; empty file when it has no such family
// installed (its best match would then be another family).
bool MatchFamily(const std::string& family, std::string& file, int& index, std::string& found) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return false;
  FcChar8* path = nullptr;
  FcChar8* name = nullptr;
  int faceIndex = 0;
  bool ok = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch &&
            FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch;
  if (ok) {
    FcPatternGetInteger(match, FC_INDEX, 0, &faceIndex);
    file = reinterpret_cast<const char*>(path);
    found = reinterpret_cast<const char*>(name);
    index = faceIndex;
  }
  FcPatternDestroy(match);
  return ok;
}

}  // namespace

Result<std::unique_ptr<TextRenderer>> TextRenderer::Create() {
  if (!FcInit()) return Error{"fontconfig cannot be initialised"};
  std::unique_ptr<TextRenderer> renderer(new TextRenderer());
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return Error{"FreeType cannot be initialised"};
  renderer->library_ = library;
  for (const char* family : {"IPAGothic", "IPAPGothic", "IPAPMincho"}) {
    std::string file, found;
    int index = 0;
    if (!MatchFamily(family, file, index, found) || found != family) {
      return Error{std::string("the font ") + family + " is not installed (Debian package " +
                   PackageFor(family) + ")"};
    }
  }
  return renderer;
}

TextRenderer::~TextRenderer() {
  faces_.clear();
  if (library_ != nullptr) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

int32_t TextRenderer::PixelSize(float points) {
  return static_cast<int32_t>(std::lround(points * 96.0 / 72.0));
}

float TextRenderer::ActualFontSize(float points) {
  return static_cast<float>(PixelSize(points) * 72.0 / 96.0);
}

const TextRenderer::ResolvedFont& TextRenderer::Resolve(const std::string& faceName) {
  auto it = resolved_.find(faceName);
  if (it != resolved_.end()) return it->second;
  ResolvedFont resolved;
  const std::vector<std::string> families = FamiliesFor(faceName);
  for (const std::string& family : families) {
    std::string file, found;
    int index = 0;
    if (MatchFamily(family, file, index, found) && found == family) {
      resolved = {file, index, found};
      break;
    }
  }
  if (resolved.file.empty()) {
    // No family of the mapping is installed: take fontconfig's best match.
    std::string file, found;
    int index = 0;
    if (MatchFamily(families.front(), file, index, found)) resolved = {file, index, found};
  }
  return resolved_.emplace(faceName, resolved).first->second;
}

std::string TextRenderer::FontFileFor(const std::string& faceName) {
  return Resolve(faceName).file;
}

std::string TextRenderer::FamilyFor(const std::string& faceName) {
  return Resolve(faceName).family;
}

TextRenderer::Face* TextRenderer::FaceFor(const FontSpec& font) {
  const ResolvedFont& resolved = Resolve(font.name);
  if (resolved.file.empty()) return nullptr;
  const int32_t pixels = std::max(PixelSize(font.size), 1);
  auto key = std::make_tuple(resolved.file, resolved.index, pixels, font.bold, font.italic);
  auto it = faces_.find(key);
  if (it != faces_.end()) return it->second.get();

  auto face = std::make_unique<Face>();
  if (FT_New_Face(static_cast<FT_Library>(library_), resolved.file.c_str(), resolved.index,
                  &face->face) != 0) {
    face->face = nullptr;
    return nullptr;
  }
  FT_Set_Pixel_Sizes(face->face, 0, static_cast<FT_UInt>(pixels));
  face->pixelSize = pixels;
  face->bold = font.bold;
  face->italic = font.italic;
  face->ascent = static_cast<int32_t>((face->face->size->metrics.ascender + 32) >> 6);
  face->descent = static_cast<int32_t>((-face->face->size->metrics.descender + 32) >> 6);
  return faces_.emplace(key, std::move(face)).first->second.get();
}

const TextRenderer::Glyph& TextRenderer::GlyphFor(Face& face, char32_t codePoint) {
  auto it = face.glyphs.find(codePoint);
  if (it != face.glyphs.end()) return it->second;

  Glyph glyph;
  glyph.advance = face.pixelSize / 2;
  const FT_UInt index = FT_Get_Char_Index(face.face, codePoint);
  if (index != 0) {
    if (face.italic) {
      FT_Matrix shear{0x10000, 0x3333, 0, 0x10000};  // about 11° slant
      FT_Set_Transform(face.face, &shear, nullptr);
    } else {
      FT_Set_Transform(face.face, nullptr, nullptr);
    }
    if (FT_Load_Glyph(face.face, index, FT_LOAD_NO_BITMAP) == 0) {
      FT_GlyphSlot slot = face.face->glyph;
      FT_Pos extra = 0;
      if (face.bold && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        // Synthetic bold as the system drew it: one pixel heavier and one
        // pixel wider at text sizes, proportionally more at large sizes.
        extra = std::max<FT_Pos>(64, face.pixelSize * 64 / 24);
        FT_Outline_Embolden(&slot->outline, extra);
      }
      glyph.advance = static_cast<int32_t>((slot->advance.x + extra + 32) >> 6);
      if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0) {
        const FT_Bitmap& bitmap = slot->bitmap;
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.width = static_cast<int32_t>(bitmap.width);
        glyph.height = static_cast<int32_t>(bitmap.rows);
        glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.height);
        for (int32_t row = 0; row < glyph.height; ++row) {
          const unsigned char* source = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
          std::copy(source, source + glyph.width,
                    glyph.coverage.begin() + static_cast<ptrdiff_t>(row) * glyph.width);
        }
      }
    }
  }
  return face.glyphs.emplace(codePoint, std::move(glyph)).first->second;
}

void TextRenderer::DrawText(Surface& target, int32_t x, int32_t y, std::string_view utf8,
                            const FontSpec& font, Pixel color) {
  Face* face = FaceFor(font);
  if (face == nullptr) return;
  const int32_t baseline = y + face->ascent;
  int32_t pen = x;
  for (size_t i = 0; i < utf8.size(); i += Utf8SequenceLength(utf8, i)) {
    const Glyph& glyph = GlyphFor(*face, DecodeCodePoint(utf8, i));
    const int32_t left = pen + glyph.left;
    const int32_t top = baseline - glyph.top;
    for (int32_t row = 0; row < glyph.height; ++row) {
      const int32_t ty = top + row;
      if (ty < 0 || ty >= target.Height()) continue;
      Pixel* out = target.Row(ty);
      const uint8_t* coverage = glyph.coverage.data() + static_cast<size_t>(row) * glyph.width;
      for (int32_t col = 0; col < glyph.width; ++col) {
        const int32_t tx = left + col;
        const uint32_t a = coverage[col];
        if (a == 0 || tx < 0 || tx >= target.Width()) continue;
        if (a == 255) {
          out[tx] = color;
          continue;
        }
        const Pixel d = out[tx];
        auto mix = [a](uint32_t from, uint32_t to) {
          return (from * (255 - a) + to * a + 127) / 255;
        };
        out[tx] = Rgb(mix(RedOf(d), RedOf(color)), mix(GreenOf(d), GreenOf(color)),
                      mix(BlueOf(d), BlueOf(color)));
      }
    }
    pen += glyph.advance;
  }
}

void TextRenderer::DrawText(PictureBox& box, int32_t x, int32_t y, std::string_view utf8) {
  DrawText(box.Image(), x, y, utf8, box.font, box.textColor);
  box.Invalidate();
}

int32_t TextRenderer::TextWidth(std::string_view utf8, const FontSpec& font) {
  Face* face = FaceFor(font);
  if (face == nullptr) return 0;
  int32_t width = 0;
  for (size_t i = 0; i < utf8.size(); i += Utf8SequenceLength(utf8, i)) {
    width += GlyphFor(*face, DecodeCodePoint(utf8, i)).advance;
  }
  return width;
}

int32_t TextRenderer::LineHeight(const FontSpec& font) {
  Face* face = FaceFor(font);
  return face == nullptr ? 0 : face->ascent + face->descent;
}

}  // namespace dovetail
