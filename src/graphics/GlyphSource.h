#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dovetail {

// One character's picture as the text renderer blends it.
struct Glyph {
  int32_t left = 0;  // from the pen position to the bitmap's left edge
  int32_t top = 0;   // from the baseline up to the bitmap's top edge
  int32_t width = 0;
  int32_t height = 0;
  int32_t advance = 0;
  std::vector<uint8_t> coverage;  // width × height, 0..255, top row first
};

// A font at one pixel size and style, as it draws characters.
class GlyphFace {
 public:
  virtual ~GlyphFace() = default;
  // The text cell: from its top to the baseline, and from there down.
  virtual int32_t Ascent() const = 0;
  virtual int32_t Descent() const = 0;
  // The glyph of `codePoint`; false when the face has no such character.
  virtual bool Render(char32_t codePoint, Glyph& glyph) = 0;
};

// Where glyphs come from: outline fonts rasterised on the machine, or tables
// rendered from them beforehand (where no rasteriser runs, as in a browser).
class GlyphSource {
 public:
  virtual ~GlyphSource() = default;
  // The face that draws the face name `name` at `pixels` (em height) in the
  // style asked for. Never fails: a font that cannot be had gives a face
  // with no characters. The face lives as long as the source; names drawn
  // by the same font may share one face.
  virtual GlyphFace& Face(const std::string& name, int32_t pixels, bool bold, bool italic) = 0;
};

}  // namespace dovetail
