#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/HeadlessRunner.h"
#include "base/Files.h"
#include "graphics/TextRenderer.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;

// The bundled demo story played to its end with its play file, on a copy of
// the generated data folder.
TEST(DemoStory, PlaysToTheEndThroughTheChoiceTheFaceChangeAndTheSounds) {
  const fs::path built = fs::path(DOVETAIL_BUILD_DIR) / "data";
  if (!fs::exists(built / "51.dat")) GTEST_SKIP() << "the demo data folder is not built";
  const fs::path game = fs::temp_directory_path() / "dovetail-demo-story";
  fs::remove_all(game);
  fs::create_directories(game);
  fs::copy(built, game / "data", fs::copy_options::recursive);
  fs::remove(game / "data" / "40.dat");

  auto play = ReadWholeFile(fs::path(DOVETAIL_SOURCE_DIR) / "content/demo/play/first-day.play");
  ASSERT_TRUE(play.ok());
  RunnerOptions options;
  options.gameFolder = game;
  options.play = ParsePlayFile(*play, "first-day.play").value();
  options.snapDir = game;
  auto text = TextRenderer::Create().value();
  std::ostringstream out;
  HeadlessRunner runner(std::move(options), *text, &out);
  EXPECT_EQ(runner.Run(), 0) << runner.Failure();

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
      "毎日が始まった"};
  const auto& lines = runner.Log().Lines();
  size_t at = 0;
  for (const std::string& piece : expected) {
    while (at < lines.size() && lines[at].find(piece) == std::string::npos)
      ++at;
    EXPECT_LT(at, lines.size()) << "not found in order: " << piece;
  }
  EXPECT_TRUE(fs::exists(game / "choice.png"));
  EXPECT_TRUE(fs::exists(game / "data" / "40.dat"));  // the two save points
  fs::remove_all(game);
}

}  // namespace
}  // namespace dovetail
