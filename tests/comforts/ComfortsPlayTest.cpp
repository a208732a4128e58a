#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/Files.h"
#include "comforts/Comforts.h"
#include "support/LogLine.h"
#include "support/PlayedRun.h"
#include "support/RunnerGame.h"
#include "support/TestDataFolder.h"
#include "support/TitleClick.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;

// Three pages, a choice of two branches of two pages each, the end.
constexpr const char* kScript =
    "1000,,,,,,,0,一ページ目,,,,\r\n"  // 0
    "1000,,,,,,,0,二ページ目,,,,\r\n"  // 1
    "1000,,,,,,,0,三ページ目,,,,\r\n"  // 2
    "1000,s,,,,,,,2,,,,\r\n"           // 3
    "1010,,,,,,,0,甲の一,,,,\r\n"      // 4
    "1010,,,,,,,0,甲の二,,,,\r\n"      // 5
    "1010,g0,1999,,,,,,,,,,\r\n"       // 6
    "1020,,,,,,,0,乙の一,,,,\r\n"      // 7
    "1020,,,,,,,0,乙の二,,,,\r\n"      // 8
    "1999,,,,,,,,,,,,\r\n";            // 9
constexpr const char* kChoices = "1000,甲へ,1010\r\n1000,乙へ,1020\r\n";

// The play file up to the first page of a new story.
std::string NewStory() {
  return "until title\n" + testing::TitleClick(kNewStoryEntry) + "until click-wait\n";
}
constexpr const char* kNextPage = "click 320 440\nuntil click-wait\n";

// The comforts played through play files on the headless runner, with the
// player's own files kept in a folder of the test's.
class ComfortsPlayTest : public testing::RunnerGame {
 protected:
  ComfortsPlayTest() { folder.SetScript(kScript, kChoices); }

  int Play(const std::string& playText) {
    RunnerOptions options = Options();
    PlayerFolderChoice player;
    player.saveDir = PlayerFolder();
    options.playerFolder = player;
    return PlayWith(std::move(options), playText);
  }

  fs::path PlayerFolder() const { return folder.root / "player"; }

  // The log's lines of one event, in order.

  // The texts shown, in order.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const testing::LogLine& line : Events("text"))
      texts.push_back(line.Str("text"));
    return texts;
  }

  // The story's course without times: steps, texts and choices.
  std::vector<std::string> Course() const {
    std::vector<std::string> course;
    for (const testing::LogLine& line : testing::ParseLog(lines)) {
      const std::string& event = line.Event();
      if (event == "step") course.push_back("step " + std::to_string(line.Num("position")));
      if (event == "text") course.push_back("text " + line.Str("text"));
      if (event == "choice") course.push_back("choice " + std::to_string(line.Num("chosen")));
    }
    return course;
  }
};

// The history opens over the story with the pages shown so far, scrolls,
// closes past the newest page, and the story then goes on exactly as it
// would have without it.
TEST_F(ComfortsPlayTest, TheHistoryShowsThePagesSoFarAndLeavesTheStoryAsItWas) {
  const std::string reading = NewStory() + kNextPage + kNextPage;
  const std::string toTheEnd = "click 320 440\nuntil choice\nkey 1\nuntil click-wait\n";
  ASSERT_EQ(Play(reading + toTheEnd), 0) << failure;
  const std::vector<std::string> without = Course();

  ASSERT_EQ(Play(reading +
                 "wheel up\nkey up\nkey up\nkey pagedown\nwheel down\n"  // back to the newest, out
                 "key pageup\nkey escape\n"                              // in again, Escape
                 "menu history\nrclick 320 240\n" +                      // the menu, a right click
                 toTheEnd),
            0)
      << failure;
  const std::vector<testing::LogLine> history = Events("history");
  ASSERT_EQ(history.size(), 6u);
  for (size_t i = 0; i < history.size(); ++i) {
    EXPECT_EQ(history[i].Str("what"), i % 2 == 0 ? "open" : "close") << i;
    EXPECT_EQ(history[i].Num("pages"), 3) << i;
  }
  EXPECT_EQ(Course(), without);
}

// The history view itself: the newest page at the bottom, scrolling stops
// at the oldest, and past the newest it asks to be closed; it has the keys
// while open and gives them back.
TEST_F(ComfortsPlayTest, TheHistoryViewScrollsBetweenTheOldestAndTheNewestPage) {
  HeadlessHost host;
  MainForm form(host);
  PictureBox* focused = form.MesBox[0];
  form.window.SetFocus(focused);
  MessageHistory pages;
  for (const char* page : {"一", "二", "三"})
    pages.Add({0, 0, "", page, kWhite});
  HistoryView view(form, *text);
  view.Open(pages);
  EXPECT_EQ(view.LastShown(), 2u);
  EXPECT_EQ(form.window.Focus(), &view.Box());
  EXPECT_EQ(form.window.BoxAt(320, 440), &view.Box());
  EXPECT_TRUE(view.Scroll(5));
  EXPECT_EQ(view.LastShown(), 0u);
  EXPECT_TRUE(view.Scroll(-1));
  EXPECT_EQ(view.LastShown(), 1u);
  EXPECT_TRUE(view.Scroll(-3));
  EXPECT_EQ(view.LastShown(), 2u);
  EXPECT_FALSE(view.Scroll(-1));
  view.Close();
  EXPECT_FALSE(view.IsOpen());
  EXPECT_EQ(form.window.Focus(), focused);
}

// The history is not offered at the title, nor while the message window is
// hidden by the right button.
TEST_F(ComfortsPlayTest, TheHistoryIsNotOfferedAtTheTitleNorWhileTheWindowIsHidden) {
  ASSERT_EQ(Play(std::string("until title\nwheel up\nkey pageup\n") + NewStory() + kNextPage +
                 "rclick 320 440\nwheel up\nmenu history\n"),
            0)
      << failure;
  EXPECT_TRUE(Events("history").empty());
}

// Auto-advance turns the pages by itself, each after a pause that grows with
// its length, and stops at the choice; a click of the player's turns it off.
TEST_F(ComfortsPlayTest, AutoAdvanceReachesTheChoiceWithoutAClick) {
  ASSERT_EQ(Play(NewStory() + "key a\nuntil choice\n"), 0) << failure;
  EXPECT_EQ(Texts(), (std::vector<std::string>{"一ページ目", "二ページ目", "三ページ目"}));
  ASSERT_EQ(Events("choice").size(), 0u);  // still waiting there
  ASSERT_EQ(Events("auto").size(), 1u);
  EXPECT_EQ(Events("auto")[0].Str("what"), "on");
  // The second page came the normal speed's pause after the first (five
  // characters), give or take the runner's rounds of 10 ms.
  const std::vector<testing::LogLine> texts = Events("text");
  const int64_t pause = texts[2].Num("t") - texts[1].Num("t");
  EXPECT_GE(pause, AutoAdvance::Pause(AutoSpeed::Normal, 5));
  EXPECT_LT(pause, AutoAdvance::Pause(AutoSpeed::Normal, 5) + 50);

  fs::remove(PlayerFolder() / kComfortSettingsFile);  // auto-advance was remembered
  ASSERT_EQ(Play(NewStory() + "key a\nclick 320 440\nwait 10000\n"), 0) << failure;
  const std::vector<testing::LogLine> switched = Events("auto");
  ASSERT_EQ(switched.size(), 2u);
  EXPECT_EQ(switched[1].Str("what"), "off");
  EXPECT_EQ(Texts().size(), 2u) << "the page after the click waits for the player";

  // Nor does a page turn beneath a dialog.
  fs::remove(PlayerFolder() / kComfortSettingsFile);
  ASSERT_EQ(Play(NewStory() + "key a\nmenu opt\nuntil dialog\nwait 10000\n"), 0) << failure;
  EXPECT_EQ(Texts().size(), 1u);
}

// The skip of read text, on a second play, runs through what the first play
// showed and stops at the first page it did not: the other branch of the
// choice. What was read is remembered across runs; a damaged file means
// nothing was read.
TEST_F(ComfortsPlayTest, TheSkipOfReadTextStopsAtTheFirstPageNotReadBefore) {
  const std::string firstPlay = NewStory() + kNextPage + kNextPage +
                                "click 320 440\nuntil choice\nkey 1\nuntil click-wait\n" +
                                kNextPage + "click 320 440\nuntil title\n";
  ASSERT_EQ(Play(firstPlay), 0) << failure;
  ASSERT_TRUE(fs::exists(PlayerFolder() / kReadPagesFile));

  ASSERT_EQ(
      Play(NewStory() + "key ctrl-down\nuntil choice\nkey 2\nkey ctrl-down\nuntil click-wait\n"), 0)
      << failure;
  const std::vector<testing::LogLine> skips = Events("skip");
  ASSERT_EQ(skips.size(), 4u);
  EXPECT_EQ(skips[0].Str("what"), "read");
  EXPECT_EQ(skips[1].Str("why"), "choice");
  EXPECT_EQ(skips[2].Str("what"), "read");
  EXPECT_EQ(skips[3].Str("why"), "unread");
  EXPECT_EQ(skips[3].Num("at"), 7);
  EXPECT_EQ(Texts().back(), "乙の一");

  // Released, the held skip ends; from the menu it stays until it stops.
  ASSERT_EQ(Play(NewStory() + "key ctrl-down\nkey ctrl-up\n"), 0) << failure;
  ASSERT_EQ(Events("skip").size(), 2u);

  ASSERT_TRUE(ReplaceFileAtomically(PlayerFolder() / kReadPagesFile, "0-9\n").ok());
  ASSERT_EQ(Play(NewStory() + "menu skipread\nwait 1000\n"), 0) << failure;
  const std::vector<testing::LogLine> damaged = Events("skip");
  ASSERT_EQ(damaged.size(), 2u);
  EXPECT_EQ(damaged[1].Str("why"), "unread");
  EXPECT_EQ(Texts().size(), 1u);
}

// F12 saves the window as it is shown: the same PNG a snapshot of the same
// moment gives; a second one in the same second gets a name of its own and
// does not show the note of the first.
TEST_F(ComfortsPlayTest, AScreenshotIsTheSnapshotOfTheSameMoment) {
  ASSERT_EQ(Play(NewStory() + "snap same\nkey f12\nmenu screenshot\n"), 0) << failure;
  const std::vector<testing::LogLine> shots = Events("screenshot");
  ASSERT_EQ(shots.size(), 2u);
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder.root)) {
    if (entry.path().filename().string().rfind("dovetail-", 0) == 0) files.push_back(entry.path());
  }
  // The first taken has the shorter name.
  std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
    return a.string().size() < b.string().size();
  });
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(shots[0].Str("file"), files[0].filename().string());
  EXPECT_NE(files[1].filename().string().find("-2.png"), std::string::npos);
  const std::string snap = ReadWholeFile(folder.root / "same.png").value();
  EXPECT_EQ(ReadWholeFile(files[0]).value(), snap);
  EXPECT_EQ(ReadWholeFile(files[1]).value(), snap);
}

// The player's choices are remembered in a file of our own, never in the
// game's settings: the next run advances by itself at the speed chosen.
TEST_F(ComfortsPlayTest, TheComfortsChosenAreRememberedForTheNextRun) {
  const std::string settingsBefore = ReadWholeFile(folder.data / "20.dat").value();
  ASSERT_EQ(Play(NewStory() + "key a\nmenu auto-fast\nuntil choice\n"), 0) << failure;
  const ComfortSettings saved =
      ComfortSettings::Parse(ReadWholeFile(PlayerFolder() / kComfortSettingsFile).value());
  EXPECT_TRUE(saved.autoAdvance);
  EXPECT_EQ(saved.autoSpeed, AutoSpeed::Fast);
  EXPECT_FALSE(fs::exists(PlayerFolder() / "20.dat"));
  EXPECT_EQ(ReadWholeFile(folder.data / "20.dat").value(), settingsBefore);

  ASSERT_EQ(Play("until title\n" + testing::TitleClick(kNewStoryEntry) + "until choice\n"), 0)
      << failure;
  EXPECT_TRUE(Events("auto").empty());
  EXPECT_EQ(Texts().size(), 3u);
}

// Quitting by the menu or the close box asks first when pages were passed
// since the story started or was saved; not at the title, and not while the
// first page since is still waiting.
TEST_F(ComfortsPlayTest, QuittingMidStoryAsksFirst) {
  const struct {
    std::string play;
    bool asks;
  } cases[] = {
      {"until title\nmenu ends\n", false},
      {NewStory() + "menu ends\n", false},
      {NewStory() + kNextPage + "menu ends\n", true},
      {NewStory() + kNextPage + "close\n", true},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Play(c.play), 0) << c.play << failure;
    EXPECT_EQ(Events("quit-ask").size(), c.asks ? 1u : 0u) << c.play;
    EXPECT_EQ(Events("exit").size(), 1u) << c.play;
  }
  // Cancel: the story goes on where it was.
  ASSERT_EQ(Play(NewStory() + kNextPage + "menu ends\nuntil message-box\n" + "answer cancel\n" +
                 kNextPage),
            0)
      << failure;
  ASSERT_EQ(Events("quit-ask").size(), 1u);
  EXPECT_EQ(Events("quit-ask")[0].Str("answer"), "cancel");
  EXPECT_TRUE(Events("exit").empty());
  EXPECT_EQ(Texts().back(), "三ページ目");
}

}  // namespace
}  // namespace dovetail
