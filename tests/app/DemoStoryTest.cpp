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

TEST_F(DemoStory, PlaysToTheEndThroughTheChoiceTheFaceChangeAndTheSounds) {
  const auto lines = Play();
  // These appear in the log in this order.
  const std::vector<std::string> expected = {
      "\"event\":\"wave\",\"id\":104",          // the loading bar's jingle
      "\"what\":\"play\",\"file\":\"01.mid\"",  // the title music
      "名札に名前",
      "【花子】",
      "\"effect\",\"code\":\"HC\"",
      "今日は開店の日",
      "【山田】",
      "\"event\":\"wave\",\"id\":101",  // the door bell
      "\"texts\":[\"あたたかいコーヒー\",\"甘いケーキ\"],\"chosen\":0",
      "最初にコーヒー",
      "\"code\":\"DI\"",
      "\"event\":\"volume\",\"value\":7",  // the music fades out and stops
      "\"what\":\"stop\",\"file\":\"01.mid\"",
      "\"event\":\"volume\",\"value\":65535",
      "毎日が始まった",
      "\"event\":\"ending\",\"staffroll\":true",                     // coffee raised HappyCount
      "\"event\":\"ranking\",\"mode\":1,\"pos\":0,\"shown\":false",  // idle customers
      "\"event\":\"ranking\",\"mode\":0"};                           // the title's entry
  ExpectInOrder(lines, expected);
  EXPECT_TRUE(fs::exists(game / "choice.png"));
  EXPECT_TRUE(fs::exists(game / "ranking.png"));
  EXPECT_TRUE(fs::exists(game / "data" / "40.dat"));  // the two save points
}

TEST_F(DemoStory, TheCakeRouteEndsWithoutTheStaffRoll) {
  const auto lines = Play("click 100 210");
  const std::vector<std::string> expected = {
      "\"chosen\":1", "\"staffroll\":false",
      "\"event\":\"ranking\",\"mode\":1,\"pos\":0,\"shown\":false",  // idle customers
      "\"event\":\"ranking\",\"mode\":0"};                           // the title's entry
  ExpectInOrder(lines, expected);
}

}  // namespace
}  // namespace dovetail
