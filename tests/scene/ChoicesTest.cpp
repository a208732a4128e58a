#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "backends/audio/silent/NullAudioOutput.h"
#include "backends/hosts/headless/HeadlessHost.h"
#include "graphics/TextRenderer.h"
#include "scene/Choices.h"
#include "shell/Game.h"
#include "support/RecordedEvents.h"
#include "support/TestDataFolder.h"
#include "support/WholeGame.h"

namespace dovetail {
namespace {

using testing::TestDataFolder;

// A story whose first record offers the choices of label 1000; the labels
// 1010 and 1020 are the targets. The other records are commands that do
// nothing, so that the story never waits for a click; their texts mark the
// path taken.
std::string ChoiceScript(const std::string& count) {
  return "1000,s,,,,,,," + count +
         ",,,,\r\n"
         "1000,p0,,,,,,,after,,,,\r\n"
         "1010,p0,,,,,,,first,,,,\r\n"
         "1010,p0,,,,,,,first2,,,,\r\n"
         "1020,p0,,,,,,,second,,,,\r\n"
         "1020,p0,,,,,,,second2,,,,\r\n"
         "1030,p0,,,,,,,end,,,,\r\n";
}

const char* const kTwoChoices = "1000, はい ,1010\r\n1000,いいえ,1020\r\n";
const char* const kFourChoices =
    "1000,はい,1010\r\n1000,いいえ,1020\r\n1000,たぶん,1010\r\n1000,まさか,1020\r\n";

class ChoicesTest : public testing::WholeGame {
 protected:
  void Start(const std::string& script, const std::string& choiceRows) {
    folder.SetScript(script, choiceRows);
    // The hooks of an earlier run look at that run's choices.
    host.onDoEvents = nullptr;
    events.onEvent = nullptr;
    MakeGame();
    game->Start();
    choices = &game->choices;
    events.onEvent = [this](const GameEvent& event) {
      if (const auto* wave = std::get_if<WaveEvent>(&event)) {
        sounds.push_back({wave->id, choices->ChoiceResult});
      } else if (const auto* choice = std::get_if<ChoiceEvent>(&event)) {
        offered = choice->texts;
        chosenIndex = choice->chosen;
      } else if (std::holds_alternative<StepEvent>(event)) {
        visited.push_back(game->story.CurText);
      }
    };
    game->title.StoryInit();
    game->story.ScriptPos = 0;
  }

  // Runs the story; `whenOpen` runs once, at the first moment the choice
  // waits for the player.
  void Run(std::function<void()> whenOpen) {
    host.onDoEvents = [this, whenOpen, done = false]() mutable {
      if (!done && choices->Open()) {
        done = true;
        whenOpen();
      }
    };
    game->interpreter.RunScript();
  }

  PictureBox& Button(int k) { return *game->form.SelTxt[k]; }
  // Window coordinates inside button k.
  int32_t X(int k) { return Button(k).Left() + 20; }
  int32_t Y(int k) { return Button(k).Top() + 15; }

  // The button as the player should see it: the plate with the caption in
  // white at (15, 10); pressed, the colour negative of that, pixel by pixel.
  Surface Expected(const std::string& caption, bool pressed) {
    Surface expected(255, 37);
    const Surface& sheet = game->form.GItems.Image();
    BitBlt(expected, 0, 0, 255, 37, sheet, 306, 292);
    const FontSpec& font = Button(0).font;
    text->DrawText(expected, 15, 10, caption, font, kWhite);
    if (pressed) {
      for (int32_t y = 0; y < 37; ++y) {
        for (int32_t x = 0; x < 255; ++x)
          expected.Set(x, y, ~expected.At(x, y) & 0xFFFFFF);
      }
    }
    return expected;
  }

  // How many distinct colours the caption's part of a button shows.
  static size_t CaptionColours(const Surface& button) {
    std::set<Pixel> colours;
    for (int32_t y = 10; y < 30; ++y) {
      for (int32_t x = 15; x < 120; ++x)
        colours.insert(button.At(x, y));
    }
    return colours.size();
  }

  Choices* choices = nullptr;
  struct Sound {
    int32_t id;
    int16_t choiceResultThen;
  };
  std::vector<Sound> sounds;
  std::vector<std::string> visited;
  std::vector<std::string> offered;
  int chosenIndex = -1;
};

TEST_F(ChoicesTest, TwoChoicesShowTheLeftColumnAndTheStoryGoesOnAtTheTargetItself) {
  Start(ChoiceScript("2"), kTwoChoices);
  game->form.Clicker.SetEnabled(true);
  game->form.Blinker.visible = true;
  Run([&] {
    for (int k : {0, 1}) {
      EXPECT_TRUE(Button(k).Visible()) << k;
      EXPECT_EQ(Button(k).Left(), 50) << k;
    }
    EXPECT_EQ(Button(0).Top(), 135);
    EXPECT_EQ(Button(1).Top(), 195);
    for (int k = 2; k < 6; ++k)
      EXPECT_FALSE(Button(k).Visible()) << k;
    EXPECT_FALSE(game->form.Clicker.Enabled());
    EXPECT_FALSE(game->form.Blinker.visible);
    EXPECT_EQ(choices->ChoiceResult, -1);
    host.PostClick(X(1), Y(1));
  });
  EXPECT_EQ(choices->ChoiceResult, 1);
  EXPECT_FALSE(choices->Open());
  EXPECT_FALSE(Button(0).Visible());
  EXPECT_FALSE(Button(1).Visible());
  // The target record itself runs next, then the records after it.
  EXPECT_EQ(visited, (std::vector<std::string>{"2", "second", "second2"}));
  EXPECT_EQ(offered, (std::vector<std::string>{"はい", "いいえ"}));
  EXPECT_EQ(chosenIndex, 1);
  EXPECT_EQ(game->page.LastSpeaker, 0);
  EXPECT_EQ(game->story.CurJump, 0);
}

TEST_F(ChoicesTest, FourChoicesAddTheRightColumn) {
  Start(ChoiceScript("4"), kFourChoices);
  Run([&] {
    EXPECT_TRUE(Button(2).Visible());
    EXPECT_EQ(Button(2).Left(), 50);
    EXPECT_EQ(Button(2).Top(), 255);
    EXPECT_TRUE(Button(3).Visible());
    EXPECT_EQ(Button(3).Left(), 330);
    EXPECT_EQ(Button(3).Top(), 135);
    EXPECT_FALSE(Button(4).Visible());
    EXPECT_FALSE(Button(5).Visible());
    host.PostClick(X(3), Y(3), MouseButton::Right);  // any button chooses
  });
  EXPECT_EQ(chosenIndex, 3);
  EXPECT_EQ(visited, (std::vector<std::string>{"4", "second", "second2"}));
}

TEST_F(ChoicesTest, PressPlaysTheSoundAndReleaseOnAnotherButtonChoosesThePressedOne) {
  Start(ChoiceScript("2"), kTwoChoices);
  Run([&] {
    const uint32_t now = host.TickCount();
    host.Post({now, InputEvent::Mouse(InputEvent::Kind::MouseDown, X(0), Y(0), MouseButton::Left)});
    host.Post(
        {now + 200, InputEvent::Mouse(InputEvent::Kind::MouseUp, X(1), Y(1), MouseButton::Left)});
  });
  ASSERT_EQ(sounds.size(), 1u);
  EXPECT_EQ(sounds[0].id, 105);
  EXPECT_EQ(sounds[0].choiceResultThen, -1);  // the press alone chooses nothing
  EXPECT_EQ(chosenIndex, 0);
  EXPECT_EQ(visited, (std::vector<std::string>{"2", "first", "first2", "second", "second2"}));
}

TEST_F(ChoicesTest, ButtonsShowThePlateAndCaptionNormalThenPressed) {
  Start(ChoiceScript("2"), kTwoChoices);
  const Surface normal0 = Expected("はい", false);
  const Surface normal1 = Expected("いいえ", false);
  const Surface pressed1 = Expected("いいえ", true);
  ASSERT_NE(normal1.Pixels(), pressed1.Pixels());
  // Pressed, the caption stays as legible as before: none of its smoothed
  // edge colours runs into another or into the plate.
  EXPECT_EQ(CaptionColours(pressed1), CaptionColours(normal1));
  EXPECT_GT(CaptionColours(pressed1), 2u);
  bool seenPressed = false;
  events.onEvent = [&](const GameEvent& event) {
    if (!std::holds_alternative<WaveEvent>(event)) return;
    seenPressed = true;
    EXPECT_EQ(Button(1).Image().Pixels(), pressed1.Pixels());
  };
  Run([&] {
    EXPECT_EQ(Button(0).Image().Pixels(), normal0.Pixels());
    EXPECT_EQ(Button(1).Image().Pixels(), normal1.Pixels());
    const uint32_t now = host.TickCount();
    host.Post({now, InputEvent::Mouse(InputEvent::Kind::MouseDown, X(1), Y(1), MouseButton::Left)});
    host.Post(
        {now + 100, InputEvent::Mouse(InputEvent::Kind::MouseUp, X(1), Y(1), MouseButton::Left)});
  });
  EXPECT_TRUE(seenPressed);
  // The chosen button is left pressed; the other one untouched.
  EXPECT_EQ(Button(1).Image().Pixels(), pressed1.Pixels());
  EXPECT_EQ(Button(0).Image().Pixels(), normal0.Pixels());
}

TEST_F(ChoicesTest, AChoiceEndsSkipMode) {
  Start(ChoiceScript("2"), kTwoChoices);
  game->story.message.MessageMode = 0;
  game->form.speedup.SetCaption("スキップ中");
  game->form.speedup.SetEnabled(false);
  Run([&] { host.PostClick(X(0), Y(0)); });
  EXPECT_EQ(game->story.message.MessageMode, 1);
  EXPECT_EQ(game->form.speedup.Caption(), "次の選択まで進む");
  EXPECT_TRUE(game->form.speedup.Enabled());
}

TEST_F(ChoicesTest, BadChoiceDataIsReportedAndTheStoryGoesOn) {
  struct Case {
    std::string count;
    std::string choiceRows;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"7", kTwoChoices, "label 1000: the number of choices \"7\" is not from 1 to 6"},
      {"0", kTwoChoices, "label 1000: the number of choices \"0\" is not from 1 to 6"},
      {"", kTwoChoices, "label 1000: the number of choices \"\" is not from 1 to 6"},
      {"two", kTwoChoices, "label 1000: the number of choices \"two\" is not a number"},
      {"3", kTwoChoices, "the choice table ends at entry 1"},
      {"2", "1020,x,1010\r\n", "SCT:1000 not found."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count + " / " + c.choiceRows);
    visited.clear();
    const size_t reported = host.MessageBoxes().size();
    Start(ChoiceScript(c.count), c.choiceRows);
    Run([&] { ADD_FAILURE() << "a choice opened"; });
    ASSERT_EQ(host.MessageBoxes().size(), reported + 1);
    EXPECT_NE(host.MessageBoxes().back().request.text.find(c.message), std::string::npos)
        << host.MessageBoxes().back().request.text;
    EXPECT_EQ(visited.at(1), "after");
    for (int k = 0; k < 6; ++k)
      EXPECT_FALSE(Button(k).Visible());
  }
}

}  // namespace
}  // namespace dovetail
