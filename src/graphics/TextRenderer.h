#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "base/Result.h"
#include "graphics/GlyphSource.h"
#include "host/Surface.h"
#include "window/Font.h"
#include "window/PictureBox.h"

namespace dovetail {

// Draws text the way the original's text output drew it, from the glyphs
// of a GlyphSource (FreeTypeGlyphs on the desktop, a GlyphTable in a browser):
// - sizes are points at 96 dots per inch (12 pt = 16 px);
// - (x, y) is the top-left of the text cell: the baseline lies at y + ascent;
// - drawing is transparent: only glyph pixels change, their anti-aliased
//   coverage blending the colour over what is there;
// - a character the font lacks draws nothing and advances half the size.
// Rendered glyphs are kept, so drawing a message character by character
// costs a lookup per character.
class TextRenderer {
 public:
  // Draws from `glyphs` (FreeType on the desktop, MakeFreeTypeTextRenderer;
  // a glyph table in the browser).
  explicit TextRenderer(std::unique_ptr<GlyphSource> glyphs) : glyphs_(std::move(glyphs)) {}
  TextRenderer(const TextRenderer&) = delete;
  TextRenderer& operator=(const TextRenderer&) = delete;

  // Pixel height (em size) of a font size: points × 96 / 72, rounded
  // (8 pt = 11 px, 12 pt = 16 px, 14 pt = 19 px, 16 pt = 21 px).
  static int32_t PixelSize(float points);
  // The size a program reads back after setting `points`: the pixel height
  // in points (14 → 14.25, 12 → 12).
  static float ActualFontSize(float points);

  // Draws `utf8` with the cell's top-left at (x, y), clipped to `target`.
  void DrawText(Surface& target, int32_t x, int32_t y, std::string_view utf8, const FontSpec& font,
                Pixel color);
  // Draws into the box's image with its font and text colour, and marks the
  // window for a repaint.
  void DrawText(PictureBox& box, int32_t x, int32_t y, std::string_view utf8);

  // The sum of the characters' advances: where the next text would start.
  int32_t TextWidth(std::string_view utf8, const FontSpec& font);
  // The height of a text cell: ascent plus descent.
  int32_t LineHeight(const FontSpec& font);
  // From the top of the cell to the baseline.
  int32_t Ascent(const FontSpec& font);

 private:
  // A face as drawn: its cell and the glyphs rendered so far.
  struct Face {
    GlyphFace* source = nullptr;
    int32_t pixelSize = 0;
    int32_t ascent = 0;
    int32_t descent = 0;
    std::unordered_map<char32_t, Glyph> glyphs;
  };
  // A font as asked for: face name, pixel size, bold, italic.
  using SpecKey = std::tuple<std::string, int32_t, bool, bool>;

  Face& FaceFor(const FontSpec& font);
  const Glyph& GlyphFor(Face& face, char32_t codePoint);
  static void Blend(Surface& target, int64_t left, int64_t top, const Glyph& glyph, Pixel color);

  std::unique_ptr<GlyphSource> glyphs_;
  // One per face of the source (names drawn by the same font share it).
  std::map<GlyphFace*, Face> faces_;
  std::map<SpecKey, Face*> facesBySpec_;
  // The face of the last call: a message drawn character by character asks
  // for the same font each time.
  FontSpec lastSpec_;
  Face* lastFace_ = nullptr;
};

}  // namespace dovetail
