#pragma once

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "backends/glyphs/freetype/FontMapping.h"
#include "base/Result.h"
#include "graphics/GlyphSource.h"
#include "graphics/TextRenderer.h"

struct FT_LibraryRec_;

namespace dovetail {

// Glyphs rasterised by FreeType from the fonts FontMapping finds, the way the
// original's text output drew them:
// - bold is the outline made heavier and one pixel wider per character at
//   text sizes, italic the outline slanted;
// - the cell is measured from the font's Windows ascent and descent;
// - a face name whose font file cannot be read draws with the fallback font,
//   and with neither the face has no characters and a cell one em high.
class FreeTypeGlyphs final : public GlyphSource {
 public:
  // Fails when FreeType cannot start or the fallback font cannot be read.
  static Result<std::unique_ptr<FreeTypeGlyphs>> Create(FontMapping fonts);
  ~FreeTypeGlyphs() override;
  FreeTypeGlyphs(const FreeTypeGlyphs&) = delete;
  FreeTypeGlyphs& operator=(const FreeTypeGlyphs&) = delete;

  GlyphFace& Face(const std::string& name, int32_t pixels, bool bold, bool italic) override;

 private:
  class OutlineFace;
  // An opened face: file, face index, pixel size, bold, italic.
  using FaceKey = std::tuple<std::string, int, int32_t, bool, bool>;

  explicit FreeTypeGlyphs(FontMapping fonts);
  OutlineFace& Opened(const ResolvedFont& file, int32_t pixels, bool bold, bool italic);

  FT_LibraryRec_* library_ = nullptr;
  FontMapping fonts_;
  std::map<FaceKey, std::unique_ptr<OutlineFace>> faces_;
};

// The text renderer over the system's fonts through FreeType and fontconfig.
// Fails with a reason (naming the Debian package to install) when FreeType
// or the fonts cannot be had.
Result<std::unique_ptr<TextRenderer>> MakeFreeTypeTextRenderer();
// The same over the fonts of `fonts`.
Result<std::unique_ptr<TextRenderer>> MakeFreeTypeTextRenderer(FontMapping fonts);

}  // namespace dovetail
