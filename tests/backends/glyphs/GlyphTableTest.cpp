#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backends/glyphs/freetype/FreeTypeGlyphs.h"
#include "backends/glyphs/table/GlyphTable.h"
#include "base/Utf8.h"
#include "graphics/TextRenderer.h"

namespace dovetail {
namespace {

// A page of the game's kinds of text: kana, kanji, full-width and ASCII
// punctuation, digits, and characters a Latin font lacks.
const std::vector<std::string> kPage = {
    "「いらっしゃいませ！」店長の声が響いた。",
    "ＭＳ ゴシック：Ｃａｆé 1234567890 ＡＢＣ",
    "The café opens at 9:00 — gjpqy ?!%&",
    "ｶﾀｶﾅ半角　…‥〜♪☆※→",
};

const std::vector<FontSpec> kFonts = {
    {"ＭＳ Ｐゴシック", 12, true, false}, {"ＭＳ ゴシック", 9.75f, false, false},
    {"ＭＳ Ｐ明朝", 12, false, false},    {"ＭＳ Ｐゴシック", 15, true, true},
    {"Arial", 8, false, false},
};

std::vector<char32_t> CharactersOf(const std::vector<std::string>& lines) {
  std::vector<char32_t> characters;
  for (const std::string& line : lines) {
    for (size_t i = 0; i < line.size(); i += Utf8SequenceLength(line, i))
      characters.push_back(DecodeCodePoint(line, i));
  }
  return characters;
}

Surface Background() {
  Surface surface(640, 480);
  for (int32_t y = 0; y < surface.Height(); ++y) {
    for (int32_t x = 0; x < surface.Width(); ++x)
      surface.Set(x, y, Rgb(x % 200, y % 150, 90));
  }
  return surface;
}

// Every font of the page on one surface, with the widths and cells read
// back, so that a glyph placed or measured differently shows.
Surface DrawPage(TextRenderer& text, std::vector<int32_t>& measures) {
  Surface page = Background();
  int32_t y = 0;
  for (const FontSpec& font : kFonts) {
    for (const std::string& line : kPage) {
      text.DrawText(page, 4, y, line, font, Rgb(250, 250, 240));
      measures.push_back(text.TextWidth(line, font));
      y += text.LineHeight(font);
    }
    measures.push_back(text.Ascent(font));
  }
  return page;
}

class GlyphTableTest : public testing::Test {
 protected:
  void SetUp() override {
    auto fonts = FontMapping::Create();
    ASSERT_TRUE(fonts.ok()) << fonts.error().message;
    auto made = FreeTypeGlyphs::Create(std::move(*fonts));
    ASSERT_TRUE(made.ok()) << made.error().message;
    freeType = std::move(*made);
  }

  std::string TableOf(const std::vector<TableFont>& fonts) {
    return WriteGlyphTable(*freeType, fonts, CharactersOf(kPage));
  }

  std::unique_ptr<FreeTypeGlyphs> freeType;
};

TEST_F(GlyphTableTest, APageDrawnFromTheTableHasTheSamePixelsAsFromTheFonts) {
  std::vector<TableFont> used;
  for (const FontSpec& font : kFonts)
    used.push_back({font.name, TextRenderer::PixelSize(font.size), font.bold, font.italic});
  auto table = GlyphTable::Read(TableOf(used), "page.glyphs");
  ASSERT_TRUE(table.ok()) << table.error().message;
  std::vector<std::string> missing;
  (*table)->onMissingFont = [&missing](const std::string& line) { missing.push_back(line); };

  std::vector<int32_t> fromFonts;
  std::vector<int32_t> fromTable;
  TextRenderer byFreeType(std::move(freeType));
  TextRenderer byTable(std::move(*table));
  const Surface expected = DrawPage(byFreeType, fromFonts);
  const Surface drawn = DrawPage(byTable, fromTable);

  EXPECT_EQ(fromTable, fromFonts);
  int32_t differing = 0;
  for (int32_t y = 0; y < expected.Height(); ++y) {
    for (int32_t x = 0; x < expected.Width(); ++x)
      differing += drawn.At(x, y) != expected.At(x, y);
  }
  EXPECT_EQ(differing, 0);
  EXPECT_FALSE(expected == Background()) << "the page drew nothing";
  EXPECT_TRUE(missing.empty());
}

TEST_F(GlyphTableTest, AFontTheTableLacksIsDrawnWithItsNearestAndToldOnce) {
  auto table = GlyphTable::Read(TableOf({{"ＭＳ Ｐゴシック", 12, false, false},
                                         {"ＭＳ Ｐゴシック", 20, false, false},
                                         {"ＭＳ Ｐゴシック", 14, true, false},
                                         {"Arial", 30, false, false}}),
                                "fonts.glyphs");
  ASSERT_TRUE(table.ok()) << table.error().message;
  std::vector<std::string> told;
  (*table)->onMissingFont = [&told](const std::string& line) { told.push_back(line); };
  GlyphTable& glyphs = **table;

  GlyphFace& exact = glyphs.Face("ＭＳ Ｐゴシック", 20, false, false);
  EXPECT_TRUE(told.empty());
  // Nearest size of the same style, before a closer size of another style.
  EXPECT_EQ(&glyphs.Face("ＭＳ Ｐゴシック", 18, false, false), &exact);
  EXPECT_EQ(&glyphs.Face("ＭＳ Ｐゴシック", 18, false, false), &exact);
  // Another name: that name's nearest, else any font.
  EXPECT_EQ(&glyphs.Face("Arial", 11, false, false), &glyphs.Face("Arial", 30, false, false));
  EXPECT_EQ(&glyphs.Face("ＭＳ 明朝", 12, false, false),
            &glyphs.Face("ＭＳ Ｐゴシック", 12, false, false));
  ASSERT_EQ(told.size(), 3u);
  EXPECT_EQ(told[0],
            "the glyph table has no ＭＳ Ｐゴシック 18 px; drawn with ＭＳ Ｐゴシック 20 px");
}

TEST_F(GlyphTableTest, ABrokenTableIsRefusedWithTheReason) {
  const std::string whole = TableOf({{"ＭＳ ゴシック", 13, false, false}});
  const struct {
    std::string bytes;
    std::string reason;
  } cases[] = {
      {"", "no DVGLYPH1 header"},
      {"DVGLYPH2" + whole.substr(8), "no DVGLYPH1 header"},
      {whole.substr(0, 20), "font 0 cut short"},
      {whole.substr(0, whole.size() - 1), "ＭＳ ゴシック 13 px: a glyph cut short"},
      {whole + "x", "bytes after the last font"},
  };
  for (const auto& broken : cases) {
    auto table = GlyphTable::Read(broken.bytes, "game.glyphs");
    ASSERT_FALSE(table.ok()) << broken.reason;
    EXPECT_EQ(table.error().message,
              "game.glyphs: not a glyph table of this program (" + broken.reason + ")");
  }
  EXPECT_TRUE(GlyphTable::Read(whole, "game.glyphs").ok());
}

TEST(GlyphTable, ATableWithoutFontsDrawsNothing) {
  auto table = GlyphTable::Read(std::string("DVGLYPH1") + std::string(4, '\0'), "empty");
  ASSERT_TRUE(table.ok()) << table.error().message;
  TextRenderer text(std::move(*table));
  Surface page = Background();
  text.DrawText(page, 0, 0, "abc", FontSpec{}, Rgb(0, 0, 0));
  EXPECT_TRUE(page == Background());
  EXPECT_EQ(text.TextWidth("abc", FontSpec{}), 3 * (TextRenderer::PixelSize(9) / 2));
}

}  // namespace
}  // namespace dovetail
