#include "backends/glyphs/table/GlyphTable.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "base/LittleEndian.h"

namespace dovetail {

namespace {

constexpr std::string_view kMagic = "DVGLYPH1";
// Code point, left, top, width, height, advance.
constexpr uint64_t kGlyphHeader = 4 + 2 + 2 + 2 + 2 + 2;

int16_t I16(std::string_view bytes, uint64_t offset) {
  return static_cast<int16_t>(U16(bytes, offset));
}

void Put16(std::string& out, int32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
  Put16(out, static_cast<int32_t>(value & 0xFFFF));
  Put16(out, static_cast<int32_t>(value >> 16));
}

bool FitsInt16(int32_t value) {
  return value >= std::numeric_limits<int16_t>::min() &&
         value <= std::numeric_limits<int16_t>::max();
}

std::string Describe(const TableFont& font) {
  return font.name + " " + std::to_string(font.pixels) + " px" + (font.bold ? " bold" : "") +
         (font.italic ? " italic" : "");
}

}  // namespace

// A font of the table: its cell, and where each glyph's record starts.
class GlyphTable::TableFace final : public GlyphFace {
 public:
  TableFace(std::string_view bytes, int32_t ascent, int32_t descent)
      : bytes_(bytes), ascent_(ascent), descent_(descent) {}

  int32_t Ascent() const override { return ascent_; }
  int32_t Descent() const override { return descent_; }

  bool Render(char32_t codePoint, Glyph& glyph) override {
    auto at = std::lower_bound(
        records_.begin(), records_.end(), codePoint,
        [](const Record& record, char32_t wanted) { return record.codePoint < wanted; });
    if (at == records_.end() || at->codePoint != codePoint) return false;
    const uint64_t offset = at->offset;
    glyph.left = I16(bytes_, offset + 4);
    glyph.top = I16(bytes_, offset + 6);
    glyph.width = U16(bytes_, offset + 8);
    glyph.height = U16(bytes_, offset + 10);
    glyph.advance = I16(bytes_, offset + 12);
    const auto start = bytes_.begin() + static_cast<ptrdiff_t>(offset + kGlyphHeader);
    glyph.coverage.assign(start, start + static_cast<ptrdiff_t>(glyph.width) * glyph.height);
    return true;
  }

  struct Record {
    char32_t codePoint;
    uint64_t offset;
  };
  std::vector<Record> records_;

 private:
  std::string_view bytes_;
  int32_t ascent_;
  int32_t descent_;
};

GlyphTable::GlyphTable() = default;
GlyphTable::~GlyphTable() = default;

Result<std::unique_ptr<GlyphTable>> GlyphTable::Read(std::string bytes, const std::string& source) {
  std::unique_ptr<GlyphTable> table(new GlyphTable());
  table->bytes_ = std::move(bytes);
  const std::string_view data = table->bytes_;
  auto broken = [&source](const std::string& what) {
    return Error{source + ": not a glyph table of this program (" + what + ")"};
  };
  if (!Has(data, 0, kMagic.size() + 4) || data.substr(0, kMagic.size()) != kMagic)
    return broken("no DVGLYPH1 header");
  const uint32_t fontCount = U32(data, kMagic.size());
  uint64_t at = kMagic.size() + 4;
  for (uint32_t f = 0; f < fontCount; ++f) {
    if (!Has(data, at, 2)) return broken("font " + std::to_string(f) + " cut short");
    const uint16_t nameLength = U16(data, at);
    at += 2;
    if (!Has(data, at, uint64_t{nameLength} + 2 + 1 + 1 + 2 + 2 + 4))
      return broken("font " + std::to_string(f) + " cut short");
    TableFont font;
    font.name = std::string(data.substr(at, nameLength));
    at += nameLength;
    font.pixels = U16(data, at);
    font.bold = U8(data, at + 2) != 0;
    font.italic = U8(data, at + 3) != 0;
    auto face = std::make_unique<TableFace>(data, I16(data, at + 4), I16(data, at + 6));
    const uint32_t glyphCount = U32(data, at + 8);
    at += 12;
    for (uint32_t g = 0; g < glyphCount; ++g) {
      if (!Has(data, at, kGlyphHeader)) return broken(Describe(font) + ": a glyph cut short");
      const char32_t codePoint = U32(data, at);
      if (!face->records_.empty() && face->records_.back().codePoint >= codePoint)
        return broken(Describe(font) + ": glyphs out of order");
      const uint64_t coverage = uint64_t{U16(data, at + 8)} * U16(data, at + 10);
      if (!Has(data, at + kGlyphHeader, coverage))
        return broken(Describe(font) + ": a glyph cut short");
      face->records_.push_back({codePoint, at});
      at += kGlyphHeader + coverage;
    }
    table->fonts_.push_back(std::move(font));
    table->faces_.push_back(std::move(face));
  }
  if (at != data.size()) return broken("bytes after the last font");
  return table;
}

GlyphFace& GlyphTable::Face(const std::string& name, int32_t pixels, bool bold, bool italic) {
  const TableFont wanted{name, pixels, bold, italic};
  // How far a font of the table is from the one asked for: a font of
  // another name is farther than any size of the same name, another style
  // farther than any size of the same style.
  auto distance = [&wanted](const TableFont& font) {
    const int64_t sizes = std::abs(int64_t{font.pixels} - wanted.pixels);
    const bool sameStyle = font.bold == wanted.bold && font.italic == wanted.italic;
    return (font.name == wanted.name ? 0 : int64_t{1} << 40) + (sameStyle ? 0 : int64_t{1} << 20) +
           sizes;
  };
  size_t best = fonts_.size();
  for (size_t i = 0; i < fonts_.size(); ++i) {
    if (best == fonts_.size() || distance(fonts_[i]) < distance(fonts_[best])) best = i;
  }
  if (best == fonts_.size()) {
    if (empty_ == nullptr) empty_ = std::make_unique<TableFace>(std::string_view(), pixels, 0);
    return *empty_;
  }
  if (fonts_[best] != wanted && told_.insert(wanted).second && onMissingFont) {
    onMissingFont("the glyph table has no " + Describe(wanted) + "; drawn with " +
                  Describe(fonts_[best]));
  }
  return *faces_[best];
}

std::string WriteGlyphTable(GlyphSource& source, const std::vector<TableFont>& fonts,
                            const std::vector<char32_t>& codePoints) {
  std::vector<char32_t> sorted = codePoints;
  std::sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  std::string out(kMagic);
  Put32(out, static_cast<uint32_t>(fonts.size()));
  for (const TableFont& font : fonts) {
    GlyphFace& face = source.Face(font.name, font.pixels, font.bold, font.italic);
    Put16(out, static_cast<int32_t>(font.name.size()));
    out += font.name;
    Put16(out, font.pixels);
    out += static_cast<char>(font.bold ? 1 : 0);
    out += static_cast<char>(font.italic ? 1 : 0);
    Put16(out, face.Ascent());
    Put16(out, face.Descent());
    std::string glyphs;
    uint32_t count = 0;
    for (char32_t codePoint : sorted) {
      Glyph glyph;
      if (!face.Render(codePoint, glyph)) continue;
      // Glyphs of the game's sizes are a few dozen pixels; a table is made
      // only of those.
      if (!FitsInt16(glyph.left) || !FitsInt16(glyph.top) || !FitsInt16(glyph.advance) ||
          glyph.width > 0xFFFF || glyph.height > 0xFFFF)
        continue;
      Put32(glyphs, static_cast<uint32_t>(codePoint));
      Put16(glyphs, glyph.left);
      Put16(glyphs, glyph.top);
      Put16(glyphs, glyph.width);
      Put16(glyphs, glyph.height);
      Put16(glyphs, glyph.advance);
      glyphs.append(glyph.coverage.begin(), glyph.coverage.end());
      ++count;
    }
    Put32(out, count);
    out += glyphs;
  }
  return out;
}

}  // namespace dovetail
