#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "backends/audio/silent/NullAudioOutput.h"
#include "backends/hosts/headless/HeadlessHost.h"
#include "graphics/TextRenderer.h"
#include "shell/Game.h"
#include "support/RecordedEvents.h"
#include "support/TestDataFolder.h"
#include "support/WholeGame.h"

namespace dovetail {
namespace {

using testing::TestDataFolder;

// A story whose only record is the ending, played with a given HappyCount.
// The run's moments are taken from the staff-roll panel as each round of
// events sees it.
class EndingTest : public testing::WholeGame {
 protected:
  EndingTest() {
    folder.SetScript("1000,e,,,,,,,,,,,\r\n1001,,,,,,,,,,,,\r\n");
    MakeGame();
    game->Start();
  }

  void PlayEnding(int16_t happyCount) {
    game->title.StoryInit();
    game->story.ScriptPos = 0;
    game->story.counters.HappyCount = happyCount;
    events.onEvent = [this](const GameEvent& event) {
      if (std::holds_alternative<EndingEvent>(event)) {
        endingAt = host.TickCount();
        menuDuringEnding = game->form.opt.Enabled();
      }
      if (std::holds_alternative<RankingEvent>(event)) rankingAt = host.TickCount();
    };
    host.onDoEvents = [this] { Watch(); };
    game->interpreter.RunScript();
  }

  void Watch() {
    const PictureBox& panel = game->form.STAFF;
    const uint32_t now = host.TickCount();
    if (panel.Visible() && !panelShown) panelShown = now;
    if (panel.Visible() && panel.Width() == 170 && !panelOpen) panelOpen = now;
    if (panel.Visible() && panel.Left() > 240 && !panelClosing) panelClosing = now;
    if (panelShown && !panel.Visible() && !panelHidden) panelHidden = now;
    if (panelOpen && !panelClosing && onCreditFrame) onCreditFrame(now);
  }

  uint32_t endingAt = 0;
  uint32_t rankingAt = 0;
  bool menuDuringEnding = true;
  std::optional<uint32_t> panelShown, panelOpen, panelClosing, panelHidden;
  std::function<void(uint32_t)> onCreditFrame;
};

TEST_F(EndingTest, OnlyACountOfOneRollsTheStaff) {
  for (int16_t happy : {0, 2}) {
    PlayEnding(happy);
    ASSERT_EQ(events.All<EndingEvent>().size(), 1u);
    EXPECT_FALSE(events.All<EndingEvent>().back().staffroll);
    EXPECT_FALSE(panelShown) << "HappyCount " << happy;
    EXPECT_FALSE(menuDuringEnding);
    // 2 s, 1 s, then five darkening steps each followed by 0.5 s.
    EXPECT_GE(rankingAt - endingAt, 5500u);
    EXPECT_LT(rankingAt - endingAt, 9000u);
    events.events.clear();
    game->ranking.Ranking_exit_Click();
  }
}

TEST_F(EndingTest, TheStaffRollTakesItsLengthAndTheMenuComesBack) {
  PlayEnding(1);
  ASSERT_EQ(events.All<EndingEvent>().size(), 1u);
  EXPECT_TRUE(events.All<EndingEvent>()[0].staffroll);
  ASSERT_TRUE(panelShown && panelOpen && panelClosing && panelHidden);
  // 11 s of still picture (after the ending picture's transition).
  EXPECT_GE(*panelShown - endingAt, 11000u);
  EXPECT_LT(*panelShown - endingAt, 13000u);
  // The panel opens one column per 30 ms, and closes the same way.
  EXPECT_NEAR(static_cast<double>(*panelOpen - *panelShown), 170 * 30, 250);
  // 2 s, four credit blocks (4 + 4 + 4 + 5 s) each with a 2 s gap, 1 s
  // (within the few percent that letting events run adds to each pause).
  const double credits = 2000 + 17000 + 8000 + 1000;
  EXPECT_NEAR(static_cast<double>(*panelClosing - *panelOpen), credits, credits * 0.03);
  EXPECT_NEAR(static_cast<double>(*panelHidden - *panelClosing), 169 * 30, 250);
  EXPECT_FALSE(menuDuringEnding);
  for (const MenuItem* item :
       {&game->form.ends, &game->form.opt, &game->form.speedup, &game->form.vers})
    EXPECT_TRUE(item->Enabled()) << item->Name();
  EXPECT_TRUE(game->form.PicMain.Enabled());
  EXPECT_TRUE(game->ranking.RankingShown);
}

// Text is drawn white, smoothed at its edges; the darkened picture has no
// channel above 155.
bool IsText(Pixel p) {
  return RedOf(p) > 200 && GreenOf(p) > 200 && BlueOf(p) > 200;
}

// The leftmost column of the panel that holds text in the name's line (y 50
// and below).
std::optional<int32_t> NameLeft(const Surface& panel) {
  for (int32_t x = 0; x < panel.Width(); ++x) {
    for (int32_t y = 50; y < panel.Height(); ++y) {
      if (IsText(panel.At(x, y))) return x;
    }
  }
  return std::nullopt;
}

TEST_F(EndingTest, ACreditFrameShowsTheNameOverTheDarkenedPicture) {
  // Moments inside the first ("Quill") and third ("Sprocket") credit blocks.
  std::optional<Surface> quill, sprocket;
  std::optional<Surface> screen, picture;
  onCreditFrame = [&](uint32_t now) {
    const uint32_t sinceOpen = now - *panelOpen;
    if (!quill && sinceOpen > 3000) {
      quill = game->form.STAFF.Image();
      screen.emplace(1, 1);
      game->form.window.Compose(*screen);
      picture = game->form.PicMain.Image();
    }
    if (!sprocket && sinceOpen > 15000) sprocket = game->form.STAFF.Image();
  };
  PlayEnding(1);
  ASSERT_TRUE(quill && sprocket && screen && picture);

  const auto quillLeft = NameLeft(*quill);
  const auto sprocketLeft = NameLeft(*sprocket);
  ASSERT_TRUE(quillLeft && sprocketLeft);
  // 170 − 13 × 5 and 170 − 13 × 8: three more bytes, 39 pixels further left.
  EXPECT_NEAR(*quillLeft, 105, 4);
  EXPECT_NEAR(*sprocketLeft, 66, 4);

  // Around the panel the screen is the ending picture; the panel's
  // background is that picture darkened twice, 50 a channel each time.
  const auto darkened = [](Pixel p) {
    const auto down = [](uint32_t c) { return c > 100 ? c - 100 : 0; };
    return Rgb(down(RedOf(p)), down(GreenOf(p)), down(BlueOf(p)));
  };
  EXPECT_EQ(screen->At(100, 300), picture->At(100, 300));
  EXPECT_EQ(screen->At(242, 102), darkened(picture->At(242, 102)));
  EXPECT_EQ(screen->At(400, 170), darkened(picture->At(400, 170)));
  int textInPanel = 0;
  for (int32_t y = 100; y < 180; ++y) {
    for (int32_t x = 240; x < 410; ++x)
      textInPanel += IsText(screen->At(x, y)) ? 1 : 0;
  }
  EXPECT_GT(textInPanel, 10);
}

}  // namespace
}  // namespace dovetail
