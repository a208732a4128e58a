#include <gtest/gtest.h>

#include "backends/glyphs/freetype/FreeTypeGlyphs.h"
#include "graphics/TextRenderer.h"
#include "programs/runner/AutoPlayer.h"
#include "programs/runner/HeadlessRunner.h"
#include "support/LogLine.h"
#include "support/PlayedRun.h"
#include "support/TestDataFolder.h"

namespace dovetail {
namespace {

using testing::TestDataFolder;

// A story with a name entry, a save point, a choice of three whose third
// option jumps to a label that does not exist, and the extra story.
constexpr const char* kStory =
    "1000,g4,,,,,,,,,,,\r\n"
    "1000,,,,,,,2,&1&2です,,,1,\r\n"
    "1010,g2,,,,,,,,,,,\r\n"
    "1010,s,,,,,,,3,,,,\r\n"
    "1020,,,,,,,,一,,,,\r\n"
    "1020,e,,,,,,,,,,,\r\n"
    "1030,,,,,,,,二,,,,\r\n"
    "1030,e,,,,,,,,,,,\r\n"
    "1040,g0,1045,,,,,,,,,,\r\n"
    "1040,e,,,,,,,,,,,\r\n"
    "1059,,,,,,,,おまけ,,,,\r\n"
    "1999,,,,,,,,,,,,\r\n";
constexpr const char* kChoices = "1010,一へ,1020\r\n1010,二へ,1030\r\n1010,三へ,1040\r\n";

class AutoPlayerTest : public ::testing::Test {
 protected:
  AutoPlayerTest()
      : folder(::testing::UnitTest::GetInstance()->current_test_info()->name()),
        text(MakeFreeTypeTextRenderer().value()) {
    folder.SetScript(kStory, kChoices);
  }

  testing::PlayedRun Play(const std::string& route, const std::string& heroName = "",
                          uint32_t quitAfterSaves = 0) {
    RunnerOptions options;
    options.gameFolder = folder.root;
    options.snapDir = folder.root;
    options.autoPlay = AutoOptions{ParseRoute(route).value(), heroName, quitAfterSaves};
    return testing::RunHeadless(std::move(options), *text);
  }

  static bool ChoiceLogged(const testing::PlayedRun& run, const std::vector<std::string>& texts,
                           int chosen) {
    for (const testing::LogLine& line : testing::EventsNamed(run.lines, "choice")) {
      if (line.Items("texts") == texts && line.Num("chosen") == chosen) return true;
    }
    return false;
  }
  static bool Logged(const testing::PlayedRun& run, const std::string& event,
                     const std::string& field = "", const std::string& value = "") {
    return testing::Logged(run.lines, event, field, value);
  }

  TestDataFolder folder;
  std::unique_ptr<TextRenderer> text;
};

TEST_F(AutoPlayerTest, PlaysTheRouteThroughTheNameAndTheChoiceToTheTitle) {
  const testing::PlayedRun run = Play("2", NameDialogText("山田,花子").value());
  EXPECT_EQ(run.code, 0) << run.failure;
  EXPECT_TRUE(Logged(run, "text", "text", "山田花子です"));
  EXPECT_TRUE(ChoiceLogged(run, {"一へ", "二へ", "三へ"}, 1));
  EXPECT_TRUE(Logged(run, "text", "text", "二"));
  EXPECT_TRUE(Logged(run, "ending"));
  EXPECT_TRUE(Logged(run, "stop", "reason", "the route is done"));
}

TEST_F(AutoPlayerTest, FirstAndLastPickTheEndButtons) {
  EXPECT_TRUE(Logged(Play("first"), "choice", "chosen", "0"));
  // The last option meets the missing label: a content error stops the run.
  const testing::PlayedRun last = Play("last");
  EXPECT_TRUE(Logged(last, "choice", "chosen", "2"));
  EXPECT_EQ(last.code, 4);
  EXPECT_NE(last.failure.find("Not found NUM:1040"), std::string::npos) << last.failure;
  EXPECT_NE(last.failure.find("at label 1040"), std::string::npos) << last.failure;
}

TEST_F(AutoPlayerTest, ARouteThatDoesNotFitTheChoicesStopsNamingTheChoice) {
  const testing::PlayedRun tooHigh = Play("4");
  EXPECT_EQ(tooHigh.code, 4);
  EXPECT_NE(tooHigh.failure.find("picks option 4 but the choice at label 1010"), std::string::npos)
      << tooHigh.failure;
  const testing::PlayedRun none = Play("none");
  EXPECT_EQ(none.code, 4);
  EXPECT_NE(none.failure.find("no pick left for the choice at label 1010"), std::string::npos)
      << none.failure;
}

TEST_F(AutoPlayerTest, TheExtraStoryIsPlayedOnlyOnceTheTitleOffersIt) {
  const testing::PlayedRun locked = Play("extra:none");
  EXPECT_EQ(locked.code, 4);
  EXPECT_NE(locked.failure.find("does not offer the extra story"), std::string::npos);
  folder.SetSettings("1100", true);
  const testing::PlayedRun unlocked = Play("1+extra:none");
  EXPECT_EQ(unlocked.code, 0) << unlocked.failure;
  EXPECT_TRUE(Logged(unlocked, "text", "text", "一"));
  EXPECT_TRUE(Logged(unlocked, "text", "text", "おまけ"));
}

TEST_F(AutoPlayerTest, QuitsAfterASaveAndALoadedRouteGoesOnFromIt) {
  const testing::PlayedRun quit = Play("2", "", 1);
  EXPECT_EQ(quit.code, 0) << quit.failure;
  EXPECT_TRUE(Logged(quit, "msgbox", "text", "セーブしました."));
  EXPECT_FALSE(Logged(quit, "choice"));
  const testing::PlayedRun loaded = Play("load:2");
  EXPECT_EQ(loaded.code, 0) << loaded.failure;
  EXPECT_TRUE(Logged(loaded, "msgbox", "text", "ロードしました."));
  EXPECT_FALSE(Logged(loaded, "dialog"));  // the name was given before the save
  EXPECT_TRUE(Logged(loaded, "text", "text", "二"));
}

TEST_F(AutoPlayerTest, AStoryThatLoopsWithoutWaitingStopsNamingTheLabel) {
  folder.SetScript("1000,,,,,,,,はじめ,,,,\r\n1010,g0,1010,,,,,,,,,,\r\n1999,,,,,,,,,,,,\r\n");
  const testing::PlayedRun run = Play("none");
  EXPECT_EQ(run.code, 4);
  EXPECT_NE(run.failure.find("without waiting (a loop that never ends) at label 1010"),
            std::string::npos)
      << run.failure;
}

// A page the story comes back to for ever stops the run at once, naming the
// label, instead of clicking on until the time runs out.
TEST_F(AutoPlayerTest, AStoryThatGoesRoundItsPagesStopsNamingTheLabel) {
  folder.SetScript(
      "1000,,,,,,,,はじめ,,,,\r\n1010,,,,,,,,また,,,,\r\n1010,g0,1010,,,,,,,,,,\r\n"
      "1999,,,,,,,,,,,,\r\n");
  const testing::PlayedRun run = Play("none");
  EXPECT_EQ(run.code, 4);
  EXPECT_NE(run.failure.find("goes round at label 1010"), std::string::npos) << run.failure;
  EXPECT_NE(run.failure.find("(a loop)"), std::string::npos) << run.failure;
}

TEST(NameDialogText, JoinsFamilyAndGivenNameWithAnIdeographicSpace) {
  EXPECT_EQ(NameDialogText("山田,花子").value(), "山田\u3000花子");
  EXPECT_FALSE(NameDialogText("山田花子").ok());
}

}  // namespace
}  // namespace dovetail
