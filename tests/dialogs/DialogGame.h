#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/TextRenderer.h"
#include "platform/HeadlessHost.h"
#include "shell/Game.h"
#include "sound/NullAudioOutput.h"
#include "support/RecordedEvents.h"
#include "support/TestDataFolder.h"

namespace dovetail::testing {

// A whole program on the test data folder, started to its title screen, for
// the menu bar's dialogs: the player's clicks reach a dialog through the
// headless host, as the runner's "press" does.
class DialogGame : public ::testing::Test {
 protected:
  DialogGame()
      : folder(::testing::UnitTest::GetInstance()->current_test_info()->name()),
        text(TextRenderer::Create().value()) {}

  void Start() {
    game =
        std::make_unique<Game>(host, *text, GamePaths::ForGameFolder(folder.root), *audio, events);
    game->Start();
    ASSERT_EQ(game->Waiting(), WaitState::Title);
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
