#include <gtest/gtest.h>

#include "backends/glyphs/freetype/FreeTypeGlyphs.h"
#include "programs/common/FontLookup.h"

namespace dovetail {
namespace {

// The lookup runs while the main thread sets other things up, fonts among
// them (the toolkit reads the same font configuration): both renderers draw
// the same pixels. Under the thread sanitizer this is the start-up's race.
TEST(FontLookup, TheRendererMadeOnItsThreadDrawsAsOneMadeHere) {
  FontLookup lookup;
  auto here = MakeFreeTypeTextRenderer();
  ASSERT_TRUE(here.ok()) << here.error().message;
  const FontSpec message{"ＭＳ Ｐゴシック", 12, true, false};
  Surface drawnHere(200, 24, kBlack);
  (*here)->DrawText(drawnHere, 2, 2, "喫茶つばめ Dovetail", message, kWhite);

  auto there = lookup.Take();
  ASSERT_TRUE(there.ok()) << there.error().message;
  Surface drawnThere(200, 24, kBlack);
  (*there)->DrawText(drawnThere, 2, 2, "喫茶つばめ Dovetail", message, kWhite);
  EXPECT_TRUE(drawnHere == drawnThere);
  EXPECT_FALSE(drawnHere == Surface(200, 24, kBlack));
}

}  // namespace
}  // namespace dovetail
