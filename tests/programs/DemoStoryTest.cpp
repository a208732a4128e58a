#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>

#include "backends/glyphs/freetype/FreeTypeGlyphs.h"
#include "base/Files.h"
#include "graphics/TextRenderer.h"
#include "programs/runner/HeadlessRunner.h"
#include "support/LogLine.h"
#include "support/PlayedRun.h"
#include "support/TitleClick.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;

// One line of the log to look for: an event whose field holds the value (the
// text of a message contains it; any other field equals it).
struct Sought {
  std::string event;
  std::string field;
  std::string value;

  bool Matches(const testing::LogLine& line) const {
    if (line.Event() != event) return false;
    if (field.empty()) return true;
    if (field == "text") return line.Str(field).find(value) != std::string::npos;
    return line.Str(field) == value;
  }
};

// The lines sought appear in this order (others may come between).
void ExpectInOrder(const std::vector<std::string>& lines, const std::vector<Sought>& sought) {
  const std::vector<testing::LogLine> parsed = testing::ParseLog(lines);
  size_t at = 0;
  for (const Sought& one : sought) {
    while (at < parsed.size() && !one.Matches(parsed[at]))
      ++at;
    EXPECT_LT(at, parsed.size()) << "not found in order: " << one.event << " " << one.field << " "
                                 << one.value;
  }
}

// The lines matching `sought`.
size_t CountLines(const std::vector<std::string>& lines, const Sought& sought) {
  const std::vector<testing::LogLine> parsed = testing::ParseLog(lines);
  return static_cast<size_t>(
      std::count_if(parsed.begin(), parsed.end(),
                    [&](const testing::LogLine& line) { return sought.Matches(line); }));
}

// A whole week read with skipping: it is turned on after the first message
// (and stays on through the name entry) and again after each choice, since a
// choice turns it off; `choices` are the buttons picked, 1 to 3. The last
// scene's character-by-character line also turns it off, so one more click
// starts the ending; the play file then waits through the ending.
std::string WeekPlay(std::initializer_list<int> choices) {
  std::string play = "until title\n" + testing::TitleClick(kNewStoryEntry) +
                     "until click-wait\nmenu speedup\nuntil dialog\n"
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
    auto renderer = MakeFreeTypeTextRenderer().value();
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
  const std::vector<Sought> expected = {
      {"wave", "id", "104"},       // the loading bar's jingle
      {"bgm", "file", "01.mid"},   // the title music
      {"effect", "code", "BI"},    // the morning street fades in
      {"text", "text", "一日目"},  // the day's heading in large text
      {"text", "text", "名札に名前"},
      {"text", "tag", "【花子】"},  // the name entered is the speaker's tag
      {"effect", "code", "HC"},
      {"text", "text", "わからないことは"},  // a face change
      {"wave", "id", "101"},                 // the door bell
      {"text", "text", "カランコロン"},
      {"choice", "chosen", "0"},
      {"text", "text", "最初にコーヒー"},  // the counter the choice raised
      {"stage", "what", "start"},
      {"bgm", "file", "02.mid"},
      {"serve", "", ""},
      {"stage", "what", "end"},
      {"effect", "code", "DI"},
      {"text", "text", "おつかれさま"},
      {"effect", "code", "HB"},
      {"effect", "code", "MO"},  // she falls asleep
      {"effect", "code", "MI"},  // and wakes on the second day
      {"text", "text", "二日目"}};
  ExpectInOrder(lines, expected);
  for (const char* snap : {"day-heading", "choice", "cafe-served", "night", "second-day"})
    EXPECT_TRUE(fs::exists(game / (std::string(snap) + ".png"))) << snap;
  EXPECT_TRUE(fs::exists(game / "data" / "40.dat"));  // the first two save points
}

TEST_F(DemoStory, TheCakeRouteHearsAnotherLineAndRejoins) {
  const auto lines = Play("click 100 210");
  ExpectInOrder(lines, {{"choice", "chosen", "1"},
                        {"text", "text", "店の自慢"},
                        {"stage", "stage", "2"},
                        {"text", "text", "二日目"}});
  EXPECT_EQ(CountLines(lines, {"text", "text", "最初にコーヒー"}), 0u);
}

// Every day saves first and every afternoon from day 2 on is evaluated; the
// blend, the help for エドガー and listening to 小野寺 lead to the staff roll,
// and a well-served week to the master's praise.
TEST_F(DemoStory, AWarmWeekServedWellEndsWithTheStaffRoll) {
  const auto lines = PlayText(WeekPlay({1, 1, 1}), CafePolicy::Perfect);
  EXPECT_EQ(CountLines(lines, {"msgbox", "text", "セーブしました."}), 7u);
  EXPECT_EQ(CountLines(lines, {"msgbox", "", ""}), 7u);  // no content error
  EXPECT_EQ(CountLines(lines, {"day", "", ""}), 6u);
  ExpectInOrder(lines, {{"stage", "stage", "14"},
                        {"final", "grade", "A"},
                        {"text", "text", "すばらしい！"},
                        {"text", "text", "つばめで働いてくれませんか"},
                        {"ending", "staffroll", "true"},
                        {"ranking", "mode", "1"}});
}

// The cake, ノア's kitchen and the usual service leave `set` at 2: the quiet
// goodbye; nobody served gives grade "E" and the master's encouragement.
TEST_F(DemoStory, AWeekOfOtherChoicesUnservedEndsQuietly) {
  const auto lines = PlayText(WeekPlay({2, 2, 2}), CafePolicy::Idle);
  EXPECT_EQ(CountLines(lines, {"msgbox", "", ""}), 7u);
  ExpectInOrder(lines, {{"text", "text", "いっしょに仕込み"},
                        {"final", "grade", "E"},
                        {"text", "text", "うまくいかない日も"},
                        {"text", "text", "お客さんとして来てください"},
                        {"ending", "staffroll", "false"}});
  EXPECT_EQ(CountLines(lines, {"text", "text", "つばめで働いてくれませんか"}), 0u);
}

}  // namespace
}  // namespace dovetail
