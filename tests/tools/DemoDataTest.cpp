#include <gtest/gtest.h>

#include "content/DataCheck.h"
#include "demo/CursorArt.h"
#include "demo/DemoData.h"
#include "demo/MusicRecipe.h"
#include "graphics/CursorFile.h"
#include "support/Findings.h"
#include "support/TempFolder.h"

namespace dovetail::tools {
namespace {

namespace fs = std::filesystem;
using testing::Listing;

TEST(MakeDemoData, WritesAFolderTheCheckerFindsNothingIn) {
  testing::TempFolder out("demo");
  const auto findings = MakeDemoData(DOVETAIL_SOURCE_DIR "/content/demo", out.path);
  EXPECT_TRUE(findings.empty()) << Listing(findings);
  for (const char* name :
       {"20.dat", "30.dat", "51.dat", "52.dat", "11.dat", "90.dat", "91.dat", "92.dat", "p03.dat",
        "p04.dat", "p07.dat", "P99.dat", "01.mid", "select.cur"}) {
    EXPECT_TRUE(fs::exists(out.path / name)) << name;
  }
  // The disguised pictures rest with "JF", the others are plain bitmaps.
  EXPECT_EQ(testing::ReadBytes(out.path / "90.dat").substr(0, 2), "JF");
  EXPECT_EQ(testing::ReadBytes(out.path / "p03.dat").substr(0, 2), "BM");
}

// Nothing at all: no error, no label out of every route's reach, no line
// wider than the window, no picture or music left unused.
TEST(MakeDemoData, TheCheckFindsNothingInTheBundledFolder) {
  const fs::path bundled = fs::path(DOVETAIL_BUILD_DIR) / "data";
  if (!fs::exists(bundled)) GTEST_SKIP() << bundled << " has not been built (target demo_data)";
  const auto findings = CheckDataFolder(bundled);
  EXPECT_TRUE(findings.empty()) << Listing(findings);
}

TEST(CursorArt, TheCursorDecodesWithItsHotSpotAndTransparency) {
  auto cursor = DecodeCursor(EncodeCursor(PointingHand(), kHandHotX, kHandHotY), "select.cur");
  ASSERT_TRUE(cursor.ok()) << cursor.error().message;
  EXPECT_EQ(cursor->width, 32);
  EXPECT_EQ(cursor->height, 32);
  EXPECT_EQ(cursor->hotX, kHandHotX);
  EXPECT_EQ(cursor->hotY, kHandHotY);
  auto alpha = [&](int x, int y) { return cursor->argb[static_cast<size_t>(y * 32 + x)] >> 24; };
  EXPECT_EQ(alpha(kHandHotX, kHandHotY), 0xFFu);  // the fingertip
  EXPECT_EQ(alpha(0, 0), 0u);
  EXPECT_EQ(alpha(31, 31), 0u);
}

TEST(MusicRecipe, EncodesAStandardMidiFile) {
  auto recipe = ParseMusicRecipe(
      "# one bar\ntempo 120\nmeter 2\npart a channel 0 program 5 velocity 100\n  C4:1 R:1 |\n",
      "x.txt");
  ASSERT_TRUE(recipe.ok()) << recipe.error().message;
  const std::string expected = std::string(
      "MThd\0\0\0\6\0\0\0\1\1\xE0"
      "MTrk\0\0\0\x20"
      "\0\xFF\x51\3\x07\xA1\x20"  // 500000 µs a beat
      "\0\xFF\x58\4\2\2\x18\x08"  // 2/4
      "\0\xC0\5"                  // program 5
      "\0\x90\x3C\x64"            // middle C on
      "\x83\x42\x80\x3C\0"        // off after 450 ticks
      "\x83\x7E\xFF\x2F\0",       // the end after 960 ticks
      14 + 8 + 32);
  EXPECT_EQ(EncodeMidi(*recipe), expected);
}

TEST(MusicRecipe, RefusesFaultsNamingTheLine) {
  const std::pair<const char*, const char*> faults[] = {
      {"meter 2\npart a channel 0 program 0 velocity 9\nC4:1 |\n", "line 3: a bar"},
      {"part a channel 0 program 0 velocity 9\nH4:1\n", "line 2: \"H4\" is not a note name"},
      {"part a channel 0 program 0 velocity 9\nC4\n", "line 2: \"C4\" is not a note with a length"},
      {"C4:1\n", "line 1: notes before the first \"part\""},
      {"part a channel 16 program 0 velocity 9\n", "line 1: a part is"},
      {"part a channel 0 program 0 velocity 9\nC4:2\npart b channel 1 program 0 velocity 9\nC4:1\n",
       "the part \"b\" lasts 1"},
  };
  for (const auto& [text, words] : faults) {
    auto recipe = ParseMusicRecipe(text, "m.txt");
    ASSERT_FALSE(recipe.ok()) << text;
    EXPECT_NE(recipe.error().message.find(words), std::string::npos) << recipe.error().message;
  }
}

}  // namespace
}  // namespace dovetail::tools
