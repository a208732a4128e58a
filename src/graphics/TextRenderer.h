#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "base/Result.h"
#include "platform/Font.h"
#include "platform/PictureBox.h"
#include "platform/Surface.h"

namespace dovetail {

// Draws text with FreeType glyphs from fonts found through fontconfig. The
// fonts the original asks for are mapped to metric-compatible free fonts:
// "ＭＳ ゴシック" → IPAGothic, "ＭＳ Ｐゴシック" → IPAPGothic, "ＭＳ Ｐ明朝" →
// IPAPMincho, "ＭＳ 明朝" → IPAMincho, "Arial" → Liberation Sans (else DejaVu
// Sans); other names go to fontconfig's best match. Sizes are points at 96
// dots per inch. Text is drawn transparently with the cell's top-left at the
// given point, as the original's text output did: only glyph pixels change.
class TextRenderer {
 public:
  // Fails with a reason (naming the font package) when FreeType, fontconfig
  // or the Japanese fonts cannot be had.
  static Result<std::unique_ptr<TextRenderer>> Create();
  ~TextRenderer();
  TextRenderer(const TextRenderer&) = delete;
  TextRenderer& operator=(const TextRenderer&) = delete;

  // Pixel height of a font size: points × 96 / 72, rounded (12 pt = 16 px).
  static int32_t PixelSize(float points);
  // The size a program reads back after setting `points`: the pixel height in
  // points (14 → 14.25).
  static float ActualFontSize(float points);

  void DrawText(Surface& target, int32_t x, int32_t y, std::string_view utf8, const FontSpec& font,
                Pixel color);
  // Draws with the box's font and text colour into its image.
  void DrawText(PictureBox& box, int32_t x, int32_t y, std::string_view utf8);

  int32_t TextWidth(std::string_view utf8, const FontSpec& font);
  // The height of a text cell: ascent plus descent.
  int32_t LineHeight(const FontSpec& font);

  // The font file a face name maps to, for diagnostics and tests.
  std::string FontFileFor(const std::string& faceName);
  // The family name fontconfig reports for that file.
  std::string FamilyFor(const std::string& faceName);

 private:
  struct Face;
  struct Glyph {
    int32_t left = 0;  // from the pen position to the bitmap's left edge
    int32_t top = 0;   // from the baseline up to the bitmap's top edge
    int32_t width = 0;
    int32_t height = 0;
    int32_t advance = 0;
    std::vector<uint8_t> coverage;
  };
  struct ResolvedFont {
    std::string file;
    int index = 0;
    std::string family;
  };

  TextRenderer() = default;
  const ResolvedFont& Resolve(const std::string& faceName);
  Face* FaceFor(const FontSpec& font);
  const Glyph& GlyphFor(Face& face, char32_t codePoint);

  void* library_ = nullptr;  // FT_Library
  std::map<std::string, ResolvedFont> resolved_;
  std::map<std::tuple<std::string, int, int32_t, bool, bool>, std::unique_ptr<Face>> faces_;
};

}  // namespace dovetail
