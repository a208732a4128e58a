#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>

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

// Lines holding `piece`.
size_t CountLines(const std::vector<std::string>& lines, const std::string& piece) {
  return static_cast<size_t>(std::count_if(
      lines.begin(), lines.end(),
      [&](const std::string& line) { return line.find(piece) != std::string::npos; }));
}

// A whole week read with skipping: it is turned on after the first message
// (and stays on through the name entry) and again after each choice, since a
// choice turns it off; `choices` are the buttons picked, 1 to 3. The last
// scene's character-by-character line also turns it off, so one more click
// starts the ending; the play file then waits through the ending.
std::string WeekPlay(std::initializer_list<int> choices) {
  std::string play =
      "until title\nclick 420 245\nuntil click-wait\nmenu speedup\nuntil dialog\n"
      "press Command1\n";
  for (int choice : choices) {
    play += "until choice\nclick 100 " + std::to_string(150 + 60 * (choice - 1)) +
            "\nuntil click-wait\nmenu speedup\n";
  }
  return play + "until click-wait\nclick 320 440\nwait 120000\n";
}

// The bundled demo story played with a play file, on a copy of the generated
// data folder.
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

  // The first-day play file; `choose` replaces its click on the first choice.
  std::vector<std::string> Play(const std::string& choose = "click 100 150") {
    auto play = ReadWholeFile(fs::path(DOVETAIL_SOURCE_DIR) / "content/demo/play/first-day.play");
    EXPECT_TRUE(play.ok());
    std::string text = *play;
    text.replace(text.find("click 100 150"), 13, choose);
    return PlayText(text, CafePolicy::Idle);
  }

  std::vector<std::string> PlayText(const std::string& text, CafePolicy cafe) {
    RunnerOptions options;
    options.gameFolder = game;
    options.snapDir = game;
    options.cafe = cafe;
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

// Every day saves first and every afternoon from day 2 on is evaluated; the
// blend, the help for エドガー and listening to 小野寺 lead to the staff roll,
// and a well-served week to the master's praise.
TEST_F(DemoStory, AWarmWeekServedWellEndsWithTheStaffRoll) {
  const auto lines = PlayText(WeekPlay({1, 1, 1}), CafePolicy::Perfect);
  EXPECT_EQ(CountLines(lines, "\"msgbox\",\"text\":\"セーブしました.\""), 7u);
  EXPECT_EQ(CountLines(lines, "\"msgbox\""), 7u);  // no content error
  EXPECT_EQ(CountLines(lines, "\"event\":\"day\""), 6u);
  ExpectInOrder(lines, {"\"stage\":14,\"what\":\"end\"", "\"event\":\"final\"", "\"grade\":\"A\"",
                        "すばらしい！", "つばめで働いてくれませんか", "\"staffroll\":true",
                        "\"event\":\"ranking\",\"mode\":1"});
}

// The cake, ノア's kitchen and the usual service leave `set` at 2: the quiet
// goodbye; nobody served gives grade "E" and the master's encouragement.
TEST_F(DemoStory, AWeekOfOtherChoicesUnservedEndsQuietly) {
  const auto lines = PlayText(WeekPlay({2, 2, 2}), CafePolicy::Idle);
  EXPECT_EQ(CountLines(lines, "\"msgbox\""), 7u);
  ExpectInOrder(lines, {"いっしょに仕込み", "\"grade\":\"E\"", "うまくいかない日も",
                        "お客さんとして来てください", "\"staffroll\":false"});
  EXPECT_EQ(CountLines(lines, "つばめで働いてくれませんか"), 0u);
}

}  // namespace
}  // namespace dovetail
