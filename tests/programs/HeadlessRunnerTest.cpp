#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "graphics/TextRenderer.h"
#include "programs/runner/HeadlessRunner.h"
#include "shell/Game.h"
#include "support/LogLine.h"
#include "support/PlayedRun.h"
#include "support/RunnerGame.h"
#include "support/TestDataFolder.h"
#include "support/TitleClick.h"

namespace dovetail {
namespace {

class HeadlessRunnerTest : public testing::RunnerGame {
 protected:
  // Runs the game with a play file; returns the exit code and fills `lines`.
  int Play(const std::string& playText, uint32_t maxMs = 3'600'000, uint32_t snapEvery = 0) {
    RunnerOptions options = Options();
    options.maxMs = maxMs;
    options.snapEvery = snapEvery;
    return PlayWith(std::move(options), playText);
  }

  // The index of the first log line from `from` on with the event `event`
  // for which `holds` is true; npos when there is none.
  size_t Find(
      const std::string& event,
      const std::function<bool(const testing::LogLine&)>& holds =
          [](const testing::LogLine&) { return true; },
      size_t from = 0) const {
    for (size_t i = from; i < lines.size(); ++i) {
      const auto line = testing::LogLine::Parse(lines[i]);
      if (line && line->Event() == event && holds(*line)) return i;
    }
    return std::string::npos;
  }
  // A predicate: the field holds `text` somewhere in it.
  static std::function<bool(const testing::LogLine&)> Holds(const std::string& key,
                                                            const std::string& text) {
    return [key, text](const testing::LogLine& line) {
      return line.Str(key).find(text) != std::string::npos;
    };
  }
};

// The name dialog's field takes seven characters at the most; a name the
// rule does not take is told, and the dialog stays open for another.
TEST_F(HeadlessRunnerTest, TheNameDialogSaysWhyANameIsNotTakenAndStaysOpen) {
  folder.SetScript(
      "1000,g4,,,,,,,,,,,\r\n"
      "1000,,,,,,,2,&1&2です,,,1,\r\n"
      "1999,,,,,,,,,,,,\r\n");
  EXPECT_EQ(Play("until title\n" + testing::TitleClick(kNewStoryEntry) +
                 "until dialog\n"
                 "type 山田花子\n"
                 "press Command1\n"
                 "until message-box\n"
                 "answer ok\n"
                 "type 山田　花子さんだ\n"
                 "press Command1\n"
                 "until click-wait\n"),
            0)
      << failure;
  const size_t told = Find("msgbox", Holds("text", "空白"));
  ASSERT_NE(told, std::string::npos);
  const size_t closed = Find("dialog", Holds("what", "close"));
  EXPECT_GT(closed, told);
  EXPECT_EQ(Find("dialog", Holds("what", "close"), closed + 1), std::string::npos);
  EXPECT_NE(Find("text", Holds("text", "山田花子さんです"), closed), std::string::npos);
}

// A press must name a control of the open dialog: a misspelt one stops the
// run, naming it, instead of doing nothing.
TEST_F(HeadlessRunnerTest, APressOfAControlTheDialogLacksIsAnError) {
  EXPECT_EQ(Play("until title\nmenu opt\nuntil dialog\npress Comand1\n"), 2);
  EXPECT_NE(
      failure.find("press Comand1: the dialog \"オプション設定\" has no control named Comand1"),
      std::string::npos)
      << failure;
  EXPECT_EQ(Play("until title\npress Command1\n"), 2);
  EXPECT_NE(failure.find("press Command1: no dialog is open"), std::string::npos) << failure;
}

// Keyboard play at a choice: a digit takes its option; the arrows move the
// highlight round the options and Enter takes the highlighted one.
TEST_F(HeadlessRunnerTest, KeysTakeTheOptionsOfAChoice) {
  folder.SetScript(
      "1000,s,,,,,,,3,,,,\r\n1010,,,,,,,0,一,,,,\r\n1010,e,,,,,,,,,,,\r\n"
      "1020,,,,,,,0,二,,,,\r\n1020,e,,,,,,,,,,,\r\n1030,,,,,,,0,三,,,,\r\n"
      "1030,e,,,,,,,,,,,\r\n1999,,,,,,,,,,,,\r\n",
      "1000,一へ,1010\r\n1000,二へ,1020\r\n1000,三へ,1030\r\n");
  const struct {
    const char* keys;
    int chosen;
  } cases[] = {
      {"key 3\n", 2},
      {"key down\nkey down\nkey enter\n", 1},
      {"key up\nkey enter\n", 2},  // up from none wraps to the last
      {"key 4\nkey 1\n", 0},       // an option not offered is no key of the choice
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Play("until title\n" + testing::TitleClick(kNewStoryEntry) + "until choice\n" +
                   c.keys + "until click-wait\n"),
              0)
        << c.keys << failure;
    EXPECT_NE(Find("choice",
                   [&](const testing::LogLine& line) { return line.Num("chosen") == c.chosen; }),
              std::string::npos)
        << c.keys;
  }
}

// On the title the arrows move the highlight over the entries offered (the
// extra story is not, on a fresh folder) and Enter takes it; Enter with
// nothing highlighted does nothing.
TEST_F(HeadlessRunnerTest, KeysTakeATitleEntry) {
  folder.SetScript("1000,,,,,,,0,はじめ,,,,\r\n1999,,,,,,,,,,,,\r\n");
  ASSERT_EQ(Play("until title\nkey enter\nwait 1000\n"), 0) << failure;
  EXPECT_EQ(Find("step"), std::string::npos);
  // From ランキング (4) up: past the hidden extra story to つづきから, then はじめから.
  ASSERT_EQ(Play("until title\nkey up\nkey up\nkey enter\nuntil click-wait\n"), 0) << failure;
  EXPECT_NE(Find("text", Holds("text", "はじめ")), std::string::npos);
  EXPECT_EQ(Find("msgbox"), std::string::npos) << "つづきから was taken";
}

TEST_F(HeadlessRunnerTest, TimedSnapshotsAreTakenAtTheirMomentsOfVirtualTime) {
  folder.SetScript("1000,,,,,,,,はじめ,,,,\r\n1001,,,,,,,,おわり,,,,\r\n");
  EXPECT_EQ(Play("until title\nwait 2500\n", 3'600'000, 1000), 0) << failure;
  std::vector<std::string> names;
  for (const std::string& line : lines) {
    if (line.find("\"snap\"") == std::string::npos) continue;
    const size_t at = line.find("at-");
    ASSERT_NE(at, std::string::npos) << line;
    names.push_back(line.substr(at, 10));
    EXPECT_TRUE(std::filesystem::exists(folder.root / (names.back() + ".png"))) << line;
  }
  // Start-up lets no events run during its jingle, so moments passed then
  // are skipped; at the title, one snapshot a second.
  ASSERT_GE(names.size(), 3u);
  std::vector<int> moments;
  for (const std::string& name : names)
    moments.push_back(std::stoi(name.substr(3)));
  EXPECT_EQ(moments.front(), 0);
  for (size_t i = 1; i < moments.size(); ++i) {
    EXPECT_EQ(moments[i] % 1000, 0) << names[i];
    EXPECT_GT(moments[i], moments[i - 1]) << names[i];
  }
  EXPECT_EQ(moments.back() - moments[moments.size() - 2], 1000);
}

TEST_F(HeadlessRunnerTest, ASavedStoryContinuesAfterItsSavePointInTheNextRun) {
  folder.SetScript(
      "1000,,,,,,,,はじめ,,,,\r\n"
      "2000,g2,,,,,,,,,,,\r\n"
      "2000,w,,,,,,,100,,,,\r\n"
      "2000,,,,,,,,セーブの後,,,,\r\n"
      "3000,,,,,,,,おわり,,,,\r\n");
  const std::string firstRun = "until title\n" + testing::TitleClick(kNewStoryEntry) +
                               "until click-wait\n"
                               "click 320 440\n"
                               "until message-box\n"
                               "answer ok\n"
                               "until click-wait\n"
                               "click 320 440\n"
                               "until title\n"
                               "menu ends\n";
  EXPECT_EQ(Play(firstRun), 0) << failure;
  const size_t saved = Find("msgbox", Holds("text", "セーブしました."));
  ASSERT_NE(saved, std::string::npos);
  EXPECT_NE(Find("step",
                 [](const testing::LogLine& line) {
                   return line.Num("position") == 1 && line.Num("label") == 2000 &&
                          line.Str("command") == "g2";
                 }),
            std::string::npos);
  EXPECT_NE(Find(
                "exit", [](const testing::LogLine& line) { return line.Num("code") == 0; }, saved),
            std::string::npos);

  const std::string secondRun = "until title\n" + testing::TitleClick(kLoadEntry) +
                                "until message-box\n"
                                "answer ok\n"
                                "until click-wait\n"
                                "click 320 440\n"
                                "until title\n";
  EXPECT_EQ(Play(secondRun), 0) << failure;
  const size_t loaded = Find("msgbox", Holds("text", "ロードしました."));
  ASSERT_NE(loaded, std::string::npos);
  // The first step after loading is the record after the save point's first record.
  const size_t firstStep = Find(
      "step", [](const testing::LogLine&) { return true; }, loaded);
  ASSERT_NE(firstStep, std::string::npos);
  EXPECT_EQ(testing::LogLine::Parse(lines[firstStep])->Num("position"), 2) << lines[firstStep];
  EXPECT_EQ(
      Find(
          "step", [](const testing::LogLine& line) { return line.Str("command") == "g2"; }, loaded),
      std::string::npos);
  EXPECT_NE(Find("stop", Holds("reason", "play file is done")), std::string::npos);
  // A run that stops before the program ends leaves the data folder at rest.
  EXPECT_EQ(testing::HeaderOf(folder.data / "11.dat"), "JF");
}

TEST_F(HeadlessRunnerTest, RunningPastTheTimeLimitStopsWithAnError) {
  folder.SetScript("1000,w,,,,,,,30000,,,,\r\n1001,,,,,,,,end,,,,\r\n");
  EXPECT_EQ(Play("until title\n" + testing::TitleClick(kNewStoryEntry) + "wait 60000\n", 5000), 3);
  EXPECT_NE(failure.find("--max-ms"), std::string::npos) << failure;
}

TEST_F(HeadlessRunnerTest, SnapshotsAreWrittenAsPng) {
  EXPECT_EQ(Play("until title\nsnap title\n"), 0) << failure;
  EXPECT_TRUE(std::filesystem::exists(folder.root / "title.png"));
  EXPECT_NE(Find("snap", Holds("file", "title.png")), std::string::npos);
}

}  // namespace
}  // namespace dovetail
