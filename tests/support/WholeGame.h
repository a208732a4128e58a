#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "backends/audio/silent/NullAudioOutput.h"
#include "backends/glyphs/freetype/FreeTypeGlyphs.h"
#include "backends/hosts/headless/HeadlessHost.h"
#include "graphics/TextRenderer.h"
#include "shell/Game.h"
#include "support/RecordedEvents.h"
#include "support/TestDataFolder.h"

namespace dovetail::testing {

// The whole program on a test data folder of the test's own (named after the
// test), on the headless host with silent sound, its events recorded: the one
// fixture of the tests that play the game end to end. The player's input
// reaches it through the headless host, as the runner's does.
class WholeGame : public ::testing::Test {
 protected:
  WholeGame()
      : folder(::testing::UnitTest::GetInstance()->current_test_info()->name()),
        text(MakeFreeTypeTextRenderer().value()) {}

  // Builds the program on the folder (the data folder is its own player's
  // folder).
  void MakeGame() {
    game =
        std::make_unique<Game>(host, *text, GamePaths::ForGameFolder(folder.root), *audio, events);
  }
  // Builds and starts the program; true when it reached the title screen.
  bool StartGame() {
    MakeGame();
    game->Start();
    return game->Waiting() == WaitState::Title;
  }
  // The same, as a test's precondition.
  void Start() { ASSERT_TRUE(StartGame()); }

  // Runs events until the predicate holds (at most `limit` rounds of 10 ms).
  template <typename Predicate>
  bool RunUntil(Predicate done, int limit = 200000) {
    for (int i = 0; i < limit && !done(); ++i) {
      host.DoEvents();
      host.Sleep(10);
    }
    return done();
  }

  // The menu item clicked and the events let run.
  void Menu(const std::string& item) {
    host.PostMenuClick(item);
    Run();
  }
  // A control of the open dialog clicked (a check box toggles, an option
  // button is chosen, as its widget does).
  void Press(const std::string& control) {
    host.PostDialogInput(InputEvent::Kind::Press, control);
    Run();
  }
  void Run(int rounds = 5) {
    for (int i = 0; i < rounds; ++i)
      host.DoEvents();
  }

  // The dialog events as "open Option_Window", "close frmAbout".
  std::vector<std::string> DialogEvents() const {
    std::vector<std::string> seen;
    for (const DialogEvent& e : events.All<DialogEvent>())
      seen.push_back(std::string(DialogActionName(e.action)) + " " + e.name);
    return seen;
  }
  // The sound events since the start, in words ("stop 01.mid").
  std::vector<std::string> Sounds() const {
    std::vector<std::string> seen;
    for (const GameEvent& event : events.events) {
      if (auto sound = DescribeSound(event)) seen.push_back(*sound);
    }
    return seen;
  }

  TestDataFolder folder;
  HeadlessHost host;
  std::unique_ptr<TextRenderer> text;
  std::unique_ptr<NullAudioOutput> audio = MakeSilentAudio(host);
  RecordedEvents events;
  std::unique_ptr<Game> game;
};

}  // namespace dovetail::testing
