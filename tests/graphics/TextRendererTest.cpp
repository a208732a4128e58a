#include <gtest/gtest.h>

#include "graphics/TextRenderer.h"

namespace dovetail {
namespace {

class TextRendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto created = TextRenderer::Create();
    ASSERT_TRUE(created.ok()) << created.error().message;
    text = std::move(*created);
  }
  std::unique_ptr<TextRenderer> text;
};

TEST_F(TextRendererTest, TheGamesFontsMapToTheirFreeStandIns) {
  EXPECT_EQ(text->FamilyFor("ＭＳ ゴシック"), "IPAGothic");
  EXPECT_EQ(text->FamilyFor("ＭＳ Ｐゴシック"), "IPAPGothic");
  EXPECT_EQ(text->FamilyFor("ＭＳ Ｐ明朝"), "IPAPMincho");
  const std::string arial = text->FamilyFor("Arial");
  EXPECT_TRUE(arial == "Liberation Sans" || arial == "DejaVu Sans") << arial;
}

TEST_F(TextRendererTest, SizesArePointsAtNinetySixDotsPerInch) {
  EXPECT_EQ(TextRenderer::PixelSize(12), 16);
  EXPECT_EQ(TextRenderer::PixelSize(8), 11);
  EXPECT_EQ(TextRenderer::PixelSize(14), 19);
  EXPECT_EQ(TextRenderer::PixelSize(16), 21);
  EXPECT_FLOAT_EQ(TextRenderer::ActualFontSize(14), 14.25f);
  EXPECT_FLOAT_EQ(TextRenderer::ActualFontSize(12), 12.0f);
}

TEST_F(TextRendererTest, DrawsTransparentlyInsideItsCellOnly) {
  const FontSpec font{"ＭＳ Ｐゴシック", 12, true, false};
  const Pixel background = Rgb(10, 20, 30);
  Surface surface(200, 60, background);
  const int32_t x = 20;
  const int32_t y = 20;
  text->DrawText(surface, x, y, "【桐原】あ", font, kWhite);
  const int32_t width = text->TextWidth("【桐原】あ", font);
  const int32_t height = text->LineHeight(font);
  EXPECT_GT(width, 60);
  EXPECT_GE(height, 16);
  int changed = 0;
  int full = 0;
  for (int32_t py = 0; py < surface.Height(); ++py) {
    for (int32_t px = 0; px < surface.Width(); ++px) {
      const Pixel p = surface.At(px, py);
      if (p == background) continue;
      ++changed;
      full += p == kWhite;
      EXPECT_TRUE(px >= x - 1 && px <= x + width && py >= y && py < y + height) << px << "," << py;
    }
  }
  EXPECT_GT(changed, 100);
  EXPECT_GT(full, 20);  // full coverage gives exactly the colour
  // Between strokes the background stays.
  EXPECT_LT(changed, width * height);
}

TEST_F(TextRendererTest, BoldIsHeavierAndMonospacedGothicAdvancesByTheEm) {
  const FontSpec regular{"ＭＳ ゴシック", 12, false, false};
  FontSpec bold = regular;
  bold.bold = true;
  EXPECT_EQ(text->TextWidth("あいう", regular), 48);
  EXPECT_EQ(text->TextWidth("abc", regular), 24);
  EXPECT_GT(text->TextWidth("あいう", bold), 48);
  auto ink = [&](const FontSpec& font) {
    Surface s(100, 30, kBlack);
    text->DrawText(s, 0, 0, "あい", font, kWhite);
    int sum = 0;
    for (Pixel p : s.Pixels())
      sum += static_cast<int>(RedOf(p));
    return sum;
  };
  EXPECT_GT(ink(bold), ink(regular));
  const FontSpec proportional{"ＭＳ Ｐゴシック", 12, false, false};
  EXPECT_LT(text->TextWidth("i", proportional), text->TextWidth("W", proportional));
}

TEST_F(TextRendererTest, DrawingPastTheEdgesIsClipped) {
  const FontSpec font{"ＭＳ ゴシック", 16, false, false};
  Surface surface(10, 10, kBlack);
  text->DrawText(surface, -8, -8, "漢字テスト", font, kWhite);
  text->DrawText(surface, 5, 5, "漢字テスト", font, kWhite);
  text->DrawText(surface, 5000, -5000, "x", font, kWhite);
  SUCCEED();  // the sanitizer build checks that nothing was written out of bounds
  // A character no font has: nothing drawn, the pen still moves.
  EXPECT_GT(text->TextWidth("\xF4\x8F\xBF\xBF", font), 0);
}

}  // namespace
}  // namespace dovetail
