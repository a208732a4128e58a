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
#include "graphics/FontMapping.h"
#include "platform/Font.h"
#include "platform/PictureBox.h"
#include "platform/Surface.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace dovetail {

// Draws text with FreeType glyphs from the fonts FontMapping finds, the way
// the original's text output drew it:
// - sizes are points at 96 dots per inch (12 pt = 16 px);
// - (x, y) is the top-left of the text cell: the baseline lies at y + ascent;
// - drawing is transparent: only glyph pixels change, their anti-aliased
//   coverage blending the colour over what is there;
// - bold is the outline made heavier and one pixel wider per character at
//   text sizes, italic the outline slanted;
// - a character the font lacks draws nothing and advances half the size.
// Faces and rendered glyphs are kept, so drawing a message character by
// character costs a lookup per character.
class TextRenderer {
 public:
  // Uses the system's fonts. Fails with a reason (naming the Debian package
  // to install) when FreeType or the fonts cannot be had.
  static Result<std::unique_ptr<TextRenderer>> Create();
  // Uses the fonts of `fonts`.
  static Result<std::unique_ptr<TextRenderer>> Create(FontMapping fonts);
  ~TextRenderer();
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

  // The font mapping in use (which file stands in for which face name).
  FontMapping& Fonts() { return fonts_; }

 private:
  struct Glyph {
    int32_t left = 0;  // from the pen position to the bitmap's left edge
    int32_t top = 0;   // from the baseline up to the bitmap's top edge
    int32_t width = 0;
    int32_t height = 0;
    int32_t advance = 0;
    std::vector<uint8_t> coverage;  // width × height, 0..255, top row first
  };
  struct Face {
    FT_FaceRec_* face = nullptr;  // null when no font file could be opened
    int32_t pixelSize = 0;
    bool bold = false;
    int32_t ascent = 0;
    int32_t descent = 0;
    std::unordered_map<char32_t, Glyph> glyphs;
    ~Face();
  };
  // A font as asked for: face name, pixel size, bold, italic.
  using SpecKey = std::tuple<std::string, int32_t, bool, bool>;
  // An opened face: file, face index, pixel size, bold, italic.
  using FaceKey = std::tuple<std::string, int, int32_t, bool, bool>;

  explicit TextRenderer(FontMapping fonts) : fonts_(std::move(fonts)) {}
  Face& FaceFor(const FontSpec& font);
  std::unique_ptr<Face> OpenFace(const ResolvedFont& file, int32_t pixels, bool bold, bool italic);
  const Glyph& GlyphFor(Face& face, char32_t codePoint);
  static void Blend(Surface& target, int64_t left, int64_t top, const Glyph& glyph, Pixel color);

  FT_LibraryRec_* library_ = nullptr;
  FontMapping fonts_;
  std::map<FaceKey, std::unique_ptr<Face>> faces_;
  std::map<SpecKey, Face*> facesBySpec_;
  // The face of the last call: a message drawn character by character asks
  // for the same font each time.
  FontSpec lastSpec_;
  Face* lastFace_ = nullptr;
};

}  // namespace dovetail
