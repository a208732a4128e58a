#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "base/Result.h"
#include "graphics/GlyphSource.h"

namespace dovetail {

// A font at one pixel size and style, as a glyph table holds it.
struct TableFont {
  std::string name;  // the face name the game asks for ("ＭＳ Ｐゴシック")
  int32_t pixels = 0;
  bool bold = false;
  bool italic = false;

  bool operator==(const TableFont&) const = default;
  bool operator<(const TableFont& other) const {
    return std::tie(name, pixels, bold, italic) <
           std::tie(other.name, other.pixels, other.bold, other.italic);
  }
};

// Glyphs rendered beforehand, for a program that has no rasteriser (the
// game in a browser): for each font of the table, its cell and every glyph
// the font has among the characters the table was made for, exactly as the
// source that made it drew them.
//
// The file ("DVGLYPH1"), all numbers little-endian:
//   magic, u32 font count, then per font: u16 name length, the name (UTF-8),
//   u16 pixels, u8 bold, u8 italic, i16 ascent, i16 descent, u32 glyph
//   count, then per glyph in rising code point order: u32 code point,
//   i16 left, i16 top, u16 width, u16 height, i16 advance, width × height
//   coverage bytes.
class GlyphTable final : public GlyphSource {
 public:
  // Checks the whole table; the error names `source` and what is wrong.
  static Result<std::unique_ptr<GlyphTable>> Read(std::string bytes, const std::string& source);
  ~GlyphTable() override;

  // A font the table lacks is drawn with the table's nearest one: the same
  // name and style at the nearest size, else the same name, else any font.
  GlyphFace& Face(const std::string& name, int32_t pixels, bool bold, bool italic) override;

  // Told once for each font the table lacks, naming it and the stand-in.
  std::function<void(const std::string&)> onMissingFont;

  const std::vector<TableFont>& Fonts() const { return fonts_; }

 private:
  class TableFace;
  GlyphTable();

  std::string bytes_;
  std::vector<TableFont> fonts_;
  std::vector<std::unique_ptr<TableFace>> faces_;  // one per font, in the same order
  std::unique_ptr<TableFace> empty_;               // for a table without fonts
  std::set<TableFont> told_;
};

// The table of `fonts` drawn by `source`, holding the glyphs of `codePoints`
// the fonts have.
std::string WriteGlyphTable(GlyphSource& source, const std::vector<TableFont>& fonts,
                            const std::vector<char32_t>& codePoints);

}  // namespace dovetail
