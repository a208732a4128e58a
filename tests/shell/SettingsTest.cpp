#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "base/Cp932.h"
#include "base/Files.h"
#include "shell/Settings.h"
#include "storage/FolderPlayerFiles.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;

// A settings file with one record a line: flags, 14 stages, 20 dishes, 12 plate spots.
std::string SettingsText(const std::string& flags, bool marker) {
  std::string text = flags + "\r\n";
  for (int stage = 1; stage <= 14; ++stage) {
    text += std::to_string(stage) + ",0.5,1,0.25,20,0.1," + std::to_string(60 + stage) + "\r\n";
  }
  for (int dish = 0; dish < 20; ++dish) {
    text +=
        "10,20,30,40," + std::to_string(dish * 10) + ",0,\"料理" + std::to_string(dish) + "\"\r\n";
  }
  for (int spot = 0; spot < 12; ++spot)
    text += "510,54,60," + std::to_string(spot) + "\r\n";
  if (marker) text += "0200-0000\r\n";
  return *Utf8ToCp932(text);
}

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() {
    dir = fs::temp_directory_path() /
          (std::string("dovetail-settings-") +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    path = dir / "20.dat";
    files = FolderPlayerFiles::OfDataFolder(dir);
  }
  ~SettingsTest() override { fs::remove_all(dir); }
  fs::path dir;
  fs::path path;
  FolderPlayerFiles files = FolderPlayerFiles::OfDataFolder({});
};

TEST(SettingsFlags, EachCharacterSetsOneOption) {
  struct Case {
    const char* flags;
    bool bgm, se, directMusic, fade;
  };
  const Case cases[] = {
      {"0011", false, false, true, true}, {"1100", true, true, false, false},
      {"", true, true, false, false},     {"xxxx", true, true, false, false},
      {"01", false, true, false, false},  {"10011extra", true, false, false, true},
  };
  for (const Case& c : cases) {
    const SoundFlags f = ParseSettingsFlags(c.flags);
    EXPECT_EQ(f.BgmEnabled, c.bgm) << c.flags;
    EXPECT_EQ(f.SeEnabled, c.se) << c.flags;
    EXPECT_EQ(f.UseDirectMusic, c.directMusic) << c.flags;
    EXPECT_EQ(f.FadeOnStop, c.fade) << c.flags;
  }
}

TEST_F(SettingsTest, ReadsTheTablesAndTheOptionalMarker) {
  ASSERT_TRUE(ReplaceFileAtomically(path, SettingsText("0011", false)));
  auto settings = ReadSettings(files);
  ASSERT_TRUE(settings.ok()) << settings.error().message;
  EXPECT_FALSE(settings->sound.BgmEnabled);
  EXPECT_TRUE(settings->sound.FadeOnStop);
  EXPECT_EQ(settings->cafe.StageTable[14].CrowdStart, 14);
  EXPECT_EQ(settings->cafe.StageTable[14].StageSeconds, 74);
  EXPECT_FLOAT_EQ(settings->cafe.StageTable[1].OrderSizeGrowth, 0.25f);
  EXPECT_EQ(settings->cafe.MenuTable[4][5].SheetX, 190);
  EXPECT_EQ(settings->cafe.MenuTable[1][1].Name, "料理0");
  EXPECT_EQ(settings->cafe.PlateLayout[4][3].H, 11);
  EXPECT_FALSE(settings->Cleared);

  ASSERT_TRUE(ReplaceFileAtomically(path, SettingsText("1100", true)));
  EXPECT_TRUE(ReadSettings(files)->Cleared);
}

TEST_F(SettingsTest, ErrorsNameTheFileAndLine) {
  std::string text = SettingsText("1100", false);
  text.replace(text.find("1,0.5"), 1, "x");
  ASSERT_TRUE(ReplaceFileAtomically(path, text));
  auto settings = ReadSettings(files);
  ASSERT_FALSE(settings.ok());
  EXPECT_NE(settings.error().message.find("20.dat, line 2"), std::string::npos)
      << settings.error().message;

  ASSERT_TRUE(ReplaceFileAtomically(path, "1100\r\n1,2,3\r\n"));
  EXPECT_FALSE(ReadSettings(files).ok());
  EXPECT_FALSE(ReadSettings(FolderPlayerFiles::OfDataFolder(dir / "missing")).ok());
}

TEST_F(SettingsTest, RewritingTheFlagsKeepsEverythingElse) {
  ASSERT_TRUE(ReplaceFileAtomically(path, SettingsText("1100 custom tail", true)));
  const std::string before = *ReadWholeFile(path);
  SoundFlags flags;
  flags.BgmEnabled = false;
  flags.FadeOnStop = true;
  ASSERT_TRUE(RewriteSettingsFlags(files, flags, true));
  const std::string after = *ReadWholeFile(path);
  EXPECT_EQ(after.substr(0, 16), "0111 custom tail");
  EXPECT_EQ(after.substr(16), before.substr(16));

  // A short first line is lengthened to hold the four options.
  ASSERT_TRUE(ReplaceFileAtomically(path, "1\r\nrest\r\n"));
  ASSERT_TRUE(RewriteSettingsFlags(files, SoundFlags{}, false));
  EXPECT_EQ(*ReadWholeFile(path), "1100\r\nrest\r\n");
}

TEST_F(SettingsTest, TheFlagsRewriteTouchesOnlyTheFlagsValueAndEndsEveryLineWithCrLf) {
  SoundFlags flags;
  flags.BgmEnabled = false;  // written "0110" with the looping player chosen
  const struct {
    const char* what;
    std::string before;
    std::string after;
  } cases[] = {
      {"plain", "1100\r\nrest\r\n", "0110\r\nrest\r\n"},
      {"quoted", "\"1100\"\r\nrest\r\n", "\"0110\"\r\nrest\r\n"},
      {"quoted and short", "\"1\",x\r\n", "\"0110\",x\r\n"},
      {"short, then a field", "11,x\r\n", "0110,x\r\n"},
      {"short with blanks", "  11  ,x\r\n", "  0110  ,x\r\n"},
      {"longer value keeps its tail", "1100abc,x\r\n", "0110abc,x\r\n"},
      {"empty file", "", "0110\r\n"},
      {"LF and CR line ends", "1100\nb\rc\n\nd", "0110\r\nb\r\nc\r\n\r\nd\r\n"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(ReplaceFileAtomically(path, c.before));
    ASSERT_TRUE(RewriteSettingsFlags(files, flags, true));
    EXPECT_EQ(*ReadWholeFile(path), c.after) << c.what;
  }
}

TEST_F(SettingsTest, TheMarkerIsAppendedOnceAfterAStageAboveTwo) {
  ASSERT_TRUE(ReplaceFileAtomically(path, SettingsText("1100", false)));
  Settings settings = *ReadSettings(files);
  ASSERT_TRUE(MarkClearedAfterStage(files, 2, settings));
  EXPECT_FALSE(settings.Cleared);
  ASSERT_TRUE(MarkClearedAfterStage(files, 3, settings));
  EXPECT_TRUE(settings.Cleared);
  ASSERT_TRUE(MarkClearedAfterStage(files, 4, settings));
  const std::string text = *ReadWholeFile(path);
  EXPECT_EQ(text.size(), SettingsText("1100", true).size());
  EXPECT_TRUE(ReadSettings(files)->Cleared);

  // A file without a final line end still gets the marker on a line of its own.
  ASSERT_TRUE(ReplaceFileAtomically(path, "last"));
  ASSERT_TRUE(AppendClearMarker(files));
  EXPECT_EQ(*ReadWholeFile(path), "last\r\n0200-0000\r\n");
}

// The options' rewrite and the marker's append change a settings file that
// is a symbolic link by refusing it: the file it leads to is neither changed
// nor copied into the folder.
TEST_F(SettingsTest, AChangeToALinkedSettingsFileIsRefused) {
  const fs::path outside = dir / "outside.txt";
  ASSERT_TRUE(ReplaceFileAtomically(outside, SettingsText("1100", false)));
  fs::create_symlink(outside, path);
  Settings settings = *ReadSettings(files);
  const std::pair<const char*, std::function<Status()>> changes[] = {
      {"rewrite", [&] { return RewriteSettingsFlags(files, SoundFlags{}, false); }},
      {"marker", [&] { return AppendClearMarker(files); }},
      {"after stage 3", [&] { return MarkClearedAfterStage(files, 3, settings); }},
  };
  for (const auto& [what, change] : changes) {
    const Status status = change();
    ASSERT_FALSE(status.ok()) << what;
    EXPECT_NE(status.error().message.find("is a symbolic link"), std::string::npos)
        << status.error().message;
    EXPECT_TRUE(fs::is_symlink(path)) << what;
  }
  EXPECT_EQ(*ReadWholeFile(outside), SettingsText("1100", false));
}

}  // namespace
}  // namespace dovetail
