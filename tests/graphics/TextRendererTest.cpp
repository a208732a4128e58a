#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "backends/glyphs/freetype/FontMapping.h"
#include "backends/glyphs/freetype/FreeTypeGlyphs.h"
#include "backends/hosts/headless/HeadlessHost.h"
#include "base/Utf8.h"
#include "graphics/TextRenderer.h"
#include "window/Window.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;

// A background whose every pixel differs from its neighbours, so that a
// pixel drawn in the wrong place or blended wrongly shows.
Surface Patterned(int32_t width, int32_t height) {
  Surface surface(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      surface.Set(x, y, Rgb(x * 7 + 20, y * 11 + 30, (x + y) * 3 + 40));
    }
  }
  return surface;
}

// Whether every channel of `p` lies between those of `a` and `b`.
bool Between(Pixel p, Pixel a, Pixel b) {
  auto inside = [](uint32_t v, uint32_t from, uint32_t to) {
    return v >= std::min(from, to) && v <= std::max(from, to);
  };
  return inside(RedOf(p), RedOf(a), RedOf(b)) && inside(GreenOf(p), GreenOf(a), GreenOf(b)) &&
         inside(BlueOf(p), BlueOf(a), BlueOf(b));
}

int Ink(const Surface& drawn, const Surface& background) {
  int ink = 0;
  for (size_t i = 0; i < drawn.Pixels().size(); ++i) {
    ink += drawn.Pixels()[i] != background.Pixels()[i];
  }
  return ink;
}

Surface Crop(const Surface& source, int32_t x, int32_t y, int32_t width, int32_t height) {
  Surface part(width, height);
  BitBlt(part, 0, 0, width, height, source, x, y);
  return part;
}

const FontSpec kMessage{"ＭＳ Ｐゴシック", 12, true, false};
const FontSpec kGothic{"ＭＳ ゴシック", 12, false, false};

class TextRendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto created = MakeFreeTypeTextRenderer();
    // The reason names the Debian package of a missing font.
    ASSERT_TRUE(created.ok()) << created.error().message;
    text = std::move(*created);
  }
  std::unique_ptr<TextRenderer> text;
};

TEST(FontMappingTest, TheGamesFontsResolveToTheirStandIns) {
  auto mapping = FontMapping::Create();
  ASSERT_TRUE(mapping.ok()) << mapping.error().message;
  struct Case {
    std::string faceName;
    std::vector<std::string> families;  // acceptable, in order of preference
    std::string package;
  };
  const Case cases[] = {
      {"ＭＳ ゴシック", {"IPAGothic"}, "fonts-ipafont-gothic"},
      {"ＭＳ Ｐゴシック", {"IPAPGothic"}, "fonts-ipafont-gothic"},
      {"ＭＳ 明朝", {"IPAMincho"}, "fonts-ipafont-mincho"},
      {"ＭＳ Ｐ明朝", {"IPAPMincho"}, "fonts-ipafont-mincho"},
      {"Arial", {"Liberation Sans", "DejaVu Sans"}, "fonts-liberation or fonts-dejavu-core"},
      // Another installed family is fontconfig's own best match.
      {"DejaVu Sans", {"DejaVu Sans"}, "fonts-dejavu-core"},
      // A name fontconfig knows nothing of, and no name at all.
      {"Ｎｏ Ｓｕｃｈ Ｆｏｎｔ", {"IPAPGothic"}, "fonts-ipafont-gothic"},
      {"", {"IPAPGothic"}, "fonts-ipafont-gothic"},
  };
  for (const Case& c : cases) {
    const ResolvedFont& font = mapping->Resolve(c.faceName);
    EXPECT_NE(std::find(c.families.begin(), c.families.end(), font.family), c.families.end())
        << "\"" << c.faceName << "\" resolved to " << font.family << " (" << font.file
        << "); install the Debian package " << c.package;
    EXPECT_TRUE(fs::is_regular_file(font.file)) << font.file;
  }
}

// Fonts are taken from folders of links to the installed stand-ins, so that
// each can be left out in turn.
class FontFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // One folder per test: tests may run side by side.
    folder = fs::temp_directory_path() /
             ("dovetail-fonts-" +
              std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    auto system = FontMapping::Create();
    ASSERT_TRUE(system.ok()) << system.error().message;
    for (const char* name : {"ＭＳ ゴシック", "ＭＳ Ｐゴシック", "ＭＳ 明朝", "ＭＳ Ｐ明朝"}) {
      japanese.push_back(system->Resolve(name).file);
    }
    dejaVu = system->Resolve("DejaVu Sans").file;
    ASSERT_EQ(system->Resolve("DejaVu Sans").family, "DejaVu Sans")
        << "install the Debian package fonts-dejavu-core";
  }
  void TearDown() override { fs::remove_all(folder); }

  void Link(const std::string& file) {
    fs::create_symlink(file,
                       folder / (std::to_string(links++) + fs::path(file).extension().string()));
  }

  fs::path folder;
  std::vector<std::string> japanese;
  std::string dejaVu;
  int links = 0;
};

TEST_F(FontFolderTest, AMissingStandInIsReportedWithItsPackage) {
  auto none = FontMapping::CreateForFolders({folder});
  ASSERT_FALSE(none.ok());
  EXPECT_NE(none.error().message.find("fonts-ipafont-gothic"), std::string::npos)
      << none.error().message;

  Link(japanese[0]);
  Link(japanese[1]);
  auto gothicOnly = FontMapping::CreateForFolders({folder});
  ASSERT_FALSE(gothicOnly.ok());
  EXPECT_NE(gothicOnly.error().message.find("fonts-ipafont-mincho"), std::string::npos)
      << gothicOnly.error().message;

  Link(japanese[2]);
  Link(japanese[3]);
  auto noLatin = FontMapping::CreateForFolders({folder});
  ASSERT_FALSE(noLatin.ok());
  EXPECT_NE(noLatin.error().message.find("fonts-liberation"), std::string::npos)
      << noLatin.error().message;
  EXPECT_NE(noLatin.error().message.find("fonts-dejavu-core"), std::string::npos)
      << noLatin.error().message;

  auto missingFolder = FontMapping::CreateForFolders({folder / "absent"});
  ASSERT_FALSE(missingFolder.ok());
  EXPECT_NE(missingFolder.error().message.find("absent"), std::string::npos);
}

TEST_F(FontFolderTest, ArialFallsBackToDejaVuSansAndUnknownNamesToIPAPGothic) {
  for (const std::string& file : japanese) {
    Link(file);
  }
  Link(dejaVu);
  auto mapping = FontMapping::CreateForFolders({folder});
  ASSERT_TRUE(mapping.ok()) << mapping.error().message;
  EXPECT_EQ(mapping->Resolve("Arial").family, "DejaVu Sans");
  EXPECT_EQ(mapping->Resolve("ＭＳ Ｐ明朝").family, "IPAPMincho");
  EXPECT_EQ(mapping->Resolve("Times New Roman").family, "IPAPGothic");

  // A renderer works from such a mapping alone.
  auto renderer = MakeFreeTypeTextRenderer(std::move(*mapping));
  ASSERT_TRUE(renderer.ok()) << renderer.error().message;
  EXPECT_EQ((*renderer)->TextWidth("あa", kGothic), 24);
}

TEST(TextSizeTest, SizesArePointsAtNinetySixDotsPerInch) {
  const std::pair<float, int32_t> sizes[] = {{8, 11},  {9.75f, 13}, {12, 16},
                                             {14, 19}, {15, 20},    {16, 21}};
  for (const auto& [points, pixels] : sizes) {
    EXPECT_EQ(TextRenderer::PixelSize(points), pixels) << points;
  }
  EXPECT_FLOAT_EQ(TextRenderer::ActualFontSize(14), 14.25f);
  EXPECT_FLOAT_EQ(TextRenderer::ActualFontSize(12), 12.0f);
  EXPECT_FLOAT_EQ(TextRenderer::ActualFontSize(9.75f), 9.75f);
}

TEST_F(TextRendererTest, DrawsTransparentlyInsideItsCellOnly) {
  const Pixel color = Rgb(255, 240, 0);
  for (const FontSpec& font : {kMessage, kGothic, FontSpec{"ＭＳ Ｐ明朝", 12, false, false}}) {
    SCOPED_TRACE(font.name + (font.bold ? " bold" : ""));
    const std::string line = "【桐原】口を開いた。Wig!";
    const Surface background = Patterned(300, 60);
    Surface surface = background;
    const int32_t x = 20;
    const int32_t y = 15;
    text->DrawText(surface, x, y, line, font, color);
    const int32_t width = text->TextWidth(line, font);
    const int32_t height = text->LineHeight(font);
    EXPECT_GE(height, 16);
    int full = 0;
    int holes = 0;  // background pixels with ink on both sides in their row
    for (int32_t py = 0; py < surface.Height(); ++py) {
      int32_t lastInk = -1;
      int32_t pendingGap = 0;
      for (int32_t px = 0; px < surface.Width(); ++px) {
        const Pixel under = background.At(px, py);
        const Pixel p = surface.At(px, py);
        if (p == under) {
          pendingGap += lastInk >= 0;
          continue;
        }
        ASSERT_TRUE(px >= x && px < x + width && py >= y && py < y + height)
            << "ink outside the cell at " << px << "," << py;
        EXPECT_TRUE(Between(p, under, color)) << px << "," << py;
        full += p == color;
        holes += pendingGap;
        pendingGap = 0;
        lastInk = px;
      }
    }
    EXPECT_GT(full, 50);    // full coverage gives exactly the colour
    EXPECT_GT(holes, 100);  // between the strokes the background stays
  }
}

TEST_F(TextRendererTest, CoverageBlendsTheColourOverWhatIsThere) {
  // White on black shows each pixel's coverage; any other colour over any
  // background mixes in that proportion.
  Surface coverage(120, 20, kBlack);
  text->DrawText(coverage, 2, 1, "あ口Wig", kMessage, kWhite);
  const Pixel under = Rgb(40, 90, 160);
  const Pixel color = Rgb(250, 10, 100);
  Surface drawn(120, 20, under);
  text->DrawText(drawn, 2, 1, "あ口Wig", kMessage, color);
  int partial = 0;
  for (size_t i = 0; i < drawn.Pixels().size(); ++i) {
    const uint32_t a = RedOf(coverage.Pixels()[i]);
    partial += a > 0 && a < 255;
    auto mix = [a](uint32_t from, uint32_t to) { return (from * (255 - a) + to * a + 127) / 255; };
    ASSERT_EQ(drawn.Pixels()[i],
              Rgb(mix(RedOf(under), RedOf(color)), mix(GreenOf(under), GreenOf(color)),
                  mix(BlueOf(under), BlueOf(color))))
        << "pixel " << i << " coverage " << a;
  }
  EXPECT_GT(partial, 50);  // the glyphs are anti-aliased
}

TEST_F(TextRendererTest, SizesBeyondReasonAreHeldToWhatCanBeDrawn) {
  // A script may ask for any size: nothing below a pixel, nothing above
  // 1024 pixels (a glyph larger than the screen would take gigabytes).
  EXPECT_EQ(text->TextWidth("あ", FontSpec{"ＭＳ ゴシック", 0, false, false}), 1);
  EXPECT_EQ(text->TextWidth("あ", FontSpec{"ＭＳ ゴシック", -12, false, false}), 1);
  const FontSpec huge{"ＭＳ ゴシック", 30000, false, false};
  EXPECT_EQ(text->TextWidth("あ", huge), 1024);
  Surface surface(640, 80, kBlack);
  text->DrawText(surface, -200, -300, "あ", huge, kWhite);
  EXPECT_GT(Ink(surface, Surface(640, 80, kBlack)), 1000);
}

TEST_F(TextRendererTest, GothicAdvancesByTheEmAndPGothicIsProportional) {
  EXPECT_EQ(text->TextWidth("あいう", kGothic), 48);
  EXPECT_EQ(text->TextWidth("漢", kGothic), 16);
  EXPECT_EQ(text->TextWidth("abc", kGothic), 24);
  EXPECT_EQ(text->TextWidth("", kGothic), 0);
  const FontSpec pGothic{"ＭＳ Ｐゴシック", 12, false, false};
  EXPECT_LT(text->TextWidth("i", pGothic), text->TextWidth("W", pGothic));
  EXPECT_LT(text->TextWidth("iiii", pGothic), text->TextWidth("WWWW", pGothic));
}

TEST_F(TextRendererTest, BoldIsAPixelWiderPerCharacterAndHeavier) {
  FontSpec bold = kGothic;
  bold.bold = true;
  EXPECT_EQ(text->TextWidth("あいう", bold), 51);
  EXPECT_EQ(text->TextWidth("abc", bold), 27);
  const Surface background(100, 30, kBlack);
  Surface regularDrawn = background;
  Surface boldDrawn = background;
  text->DrawText(regularDrawn, 0, 0, "あ口", kGothic, kWhite);
  text->DrawText(boldDrawn, 0, 0, "あ口", bold, kWhite);
  EXPECT_GT(Ink(boldDrawn, background), Ink(regularDrawn, background) * 5 / 4);
}

TEST_F(TextRendererTest, ItalicSlantsWithoutChangingTheAdvance) {
  FontSpec italic = kGothic;
  italic.italic = true;
  EXPECT_EQ(text->TextWidth("｜l", italic), text->TextWidth("｜l", kGothic));
  // How far right the top of an upright stroke lies from its bottom.
  auto lean = [&](const FontSpec& font) {
    Surface surface(40, 30, kBlack);
    text->DrawText(surface, 10, 5, "｜", font, kWhite);
    std::vector<int32_t> leftmost;  // first ink column of each inked row
    for (int32_t y = 0; y < surface.Height(); ++y) {
      for (int32_t x = 0; x < surface.Width(); ++x) {
        if (RedOf(surface.At(x, y)) > 128) {
          leftmost.push_back(x);
          break;
        }
      }
    }
    return leftmost.empty() ? -1 : leftmost.front() - leftmost.back();
  };
  EXPECT_EQ(lean(kGothic), 0);
  EXPECT_GE(lean(italic), 2);
}

TEST_F(TextRendererTest, DrawingCharacterByCharacterMatchesDrawingTheLine) {
  for (const FontSpec& font : {kMessage, kGothic}) {
    const std::string line = "【桐原】「Hello、world」";
    Surface whole = Patterned(400, 30);
    Surface pieces = whole;
    text->DrawText(whole, 10, 5, line, font, kWhite);
    int32_t x = 10;
    for (size_t i = 0; i < line.size();) {
      const size_t length = Utf8SequenceLength(line, i);
      const std::string_view character(line.data() + i, length);
      text->DrawText(pieces, x, 5, character, font, kWhite);
      x += text->TextWidth(character, font);
      i += length;
    }
    EXPECT_TRUE(pieces == whole) << font.name;
    EXPECT_EQ(x - 10, text->TextWidth(line, font));
  }
}

TEST_F(TextRendererTest, ACharacterTheFontLacksDrawsNothingButAdvancesHalfTheSize) {
  const std::string missing = "\xF4\x8F\xBF\xBF";  // U+10FFFF, in no font
  EXPECT_EQ(text->TextWidth(missing, kGothic), 8);
  EXPECT_EQ(text->TextWidth(missing, FontSpec{"ＭＳ Ｐゴシック", 14, true, false}), 9);
  const Surface background = Patterned(80, 30);
  Surface surface = background;
  text->DrawText(surface, 0, 0, missing, kGothic, kWhite);
  EXPECT_TRUE(surface == background);
  text->DrawText(surface, 0, 0, "あ" + missing + "い", kGothic, kWhite);
  Surface expected = background;
  text->DrawText(expected, 0, 0, "あ", kGothic, kWhite);
  text->DrawText(expected, 24, 0, "い", kGothic, kWhite);
  EXPECT_TRUE(surface == expected);
}

TEST_F(TextRendererTest, DrawingPastTheEdgesClipsToTheSurface) {
  const FontSpec font{"ＭＳ ゴシック", 16, true, true};
  const std::string line = "漢字テストgy";
  // The line drawn whole on a large surface; smaller surfaces see parts of it.
  Surface large = Patterned(300, 80);
  const int32_t lineX = 100;
  const int32_t lineY = 30;
  text->DrawText(large, lineX, lineY, line, font, kWhite);
  struct View {
    int32_t left, top, width, height;
  };
  const View views[] = {
      {110, 35, 12, 10},  // the line starts left of and above the surface
      {160, 40, 40, 30},  // it runs out to the right and bottom
      {95, 25, 200, 4},   // a thin strip
  };
  for (const View& w : views) {
    Surface part = Crop(Patterned(300, 80), w.left, w.top, w.width, w.height);
    text->DrawText(part, lineX - w.left, lineY - w.top, line, font, kWhite);
    EXPECT_TRUE(part == Crop(large, w.left, w.top, w.width, w.height)) << w.left << "," << w.top;
  }
  // Far away in every direction nothing is drawn.
  const Surface background = Patterned(20, 20);
  Surface surface = background;
  for (const auto& [x, y] : std::vector<std::pair<int32_t, int32_t>>{
           {INT32_MIN, 0}, {INT32_MAX - 10, 0}, {0, INT32_MIN}, {0, INT32_MAX - 5}, {-500, -500}}) {
    text->DrawText(surface, x, y, line, font, kWhite);
  }
  EXPECT_TRUE(surface == background);
}

TEST_F(TextRendererTest, APictureBoxDrawsWithItsFontAndTextColourAndRepaints) {
  HeadlessHost host;
  Window window(host, "Dovetail");
  PictureBox& box = window.AddPictureBox("MesBox");
  box.Move(0, 400, 640, 80);
  box.font = kMessage;
  box.textColor = FromColorRef(0xA6ACED);
  window.Refresh();
  ASSERT_FALSE(window.NeedsRepaint());
  Surface expected = box.Image();
  text->DrawText(box, 120, 20, "こんにちは");
  text->DrawText(expected, 120, 20, "こんにちは", kMessage, Rgb(237, 172, 166));
  EXPECT_TRUE(box.Image() == expected);
  EXPECT_TRUE(window.NeedsRepaint());
}

}  // namespace
}  // namespace dovetail
