#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/HeadlessRunner.h"
#include "base/Files.h"
#include "graphics/TextRenderer.h"
#include "support/PlayedRun.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;

// Each piece is found in a line after the line of the piece before.
void ExpectInOrder(const std::vector<std::string>& lines, const std::vector<std::string>& pieces) {
  size_t at = 0;
  for (const std::string& piece : pieces) {
    while (at < lines.size() && lines[at].find(piece) == std::string::npos)
      ++at;
    EXPECT_LT(at, lines.size()) << "not found in order: " << piece;
  }
}

// The bundled demo story played to its end with its play file, on a copy of
// the generated data folder; `choose` replaces the play file's click on the
// first choice.
class DemoStory : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(built / "51.dat")) GTEST_SKIP() << "the demo data folder is not built";
    fs::remove_all(game);
    fs::create_directories(game);
    fs::copy(built, game / "data", fs::copy_options::recursive);
    fs::remove(game / "data" / "40.dat");
  }
  void TearDown() override { fs::remove_all(game); }

  std::vector<std::string> Play(const std::string& choose = "click 100 150") {
    auto play = ReadWholeFile(fs::path(DOVETAIL_SOURCE_DIR) / "content/demo/play/first-day.play");
    EXPECT_TRUE(play.ok());
    std::string text = *play;
    text.replace(text.find("click 100 150"), 13, choose);
    RunnerOptions options;
    options.gameFolder = game;
    options.snapDir = game;
    auto renderer = TextRenderer::Create().value();
    testing::PlayedRun run = testing::PlayHeadless(std::move(options), text, *renderer);
    EXPECT_EQ(run.code, 0) << run.failure;
    return run.lines;
  }

  const fs::path built = fs::path(DOVETAIL_BUILD_DIR) / "data";
  // One folder a test and process: ctest runs the tests side by side.
  const fs::path game =
      fs::temp_directory_path() /
      ("dovetail-demo-" +
       std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
       std::to_string(::getpid()));
};

TEST_F(DemoStory, PlaysTheFirstDayThroughTheChoiceTheStageAndTheEvening) {
  const auto lines = Play();
  // These appear in the log in this order.
  const std::vector<std::string> expected = {
      "\"event\":\"wave\",\"id\":104",          // the loading bar's jingle
      "\"what\":\"play\",\"file\":\"01.mid\"",  // the title music
      "\"effect\",\"code\":\"BI\"",             // the morning street fades in
      "一日目",                                 // the day's heading in large text
      "名札に名前",
      "【花子】",  // the name entered is the speaker's tag
      "\"effect\",\"code\":\"HC\"",
      "わからないことは",               // a face change
      "\"event\":\"wave\",\"id\":101",  // the door bell
      "カランコロン",
      "\"texts\":[\"あたたかいブレンド\",\"今日のケーキ\"],\"chosen\":0",
      "最初にコーヒー",  // the counter the choice raised
      "\"event\":\"stage\",\"stage\":2,\"what\":\"start\"",
      "\"what\":\"play\",\"file\":\"02.mid\"",
      "\"event\":\"serve\"",
      "\"event\":\"stage\",\"stage\":2,\"what\":\"end\"",
      "\"code\":\"DI\"",
      "おつかれさま",
      "\"code\":\"HB\"",
      "\"code\":\"MO\"",  // she falls asleep
      "\"code\":\"MI\"",  // and wakes on the second day
      "二日目"};
  ExpectInOrder(lines, expected);
  for (const char* snap : {"day-heading", "choice", "cafe-served", "night", "second-day"})
    EXPECT_TRUE(fs::exists(game / (std::string(snap) + ".png"))) << snap;
  EXPECT_TRUE(fs::exists(game / "data" / "40.dat"));  // the first two save points
}

TEST_F(DemoStory, TheCakeRouteHearsAnotherLineAndRejoins) {
  const auto lines = Play("click 100 210");
  const std::vector<std::string> expected = {"\"chosen\":1", "店の自慢",
                                             "\"event\":\"stage\",\"stage\":2", "二日目"};
  ExpectInOrder(lines, expected);
  for (const std::string& line : lines)
    EXPECT_EQ(line.find("最初にコーヒー"), std::string::npos);
}

}  // namespace
}  // namespace dovetail
