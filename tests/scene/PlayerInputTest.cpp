#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "backends/hosts/headless/HeadlessHost.h"
#include "graphics/TextRenderer.h"
#include "scene/MessageWindow.h"
#include "scene/PlayerInput.h"
#include "support/SceneParts.h"

namespace dovetail {
namespace {

// Points of the client area over each control.
constexpr int32_t kPageX = 320, kPageY = 440;    // the message page
constexpr int32_t kStripX = 320, kStripY = 10;   // the strip along the top
constexpr int32_t kStageX = 500, kStageY = 200;  // the picture, away from the sprite
constexpr int32_t kDollX = 150, kDollY = 200;    // the left sprite

class PlayerInputTest : public ::testing::Test, protected testing::SceneParts {
 protected:
  PlayerInputTest() {
    form.PicMain.Move(0, 0, 640, 480);
    form.PicMain.SetVisible(true);
    form.Doll_Disp[0]->Move(100, 100, 100, 250);
    form.Doll_Disp[0]->SetVisible(true);
    PictureBox& box = *form.MesBox[0];
    box.font = FontSpec{"ＭＳ Ｐゴシック", 12.0f, true, false};
    box.Move(0, 400, 640, 80);
    box.SetBackColor(kBlack);
    form.MesBox[1]->Move(0, 0, 640, 20);
    ShowWindow(true);
    WirePlayerInput(form, story, stageTimeLeft);
  }

  // The café's time left, as the café keeps it.
  int16_t stageTimeLeft = 0;

  void ShowWindow(bool shown) {
    form.MesBox[0]->SetVisible(shown);
    form.MesBox[1]->SetVisible(shown);
  }
  void Click(int32_t x, int32_t y, MouseButton button) {
    form.window.DeliverMouseDown(x, y, button);
    form.window.DeliverMouseUp(x, y, button);
  }
};

TEST_F(PlayerInputTest, SpaceAndEnterContinueOnlyWhileTheWindowIsShown) {
  struct Case {
    int16_t key;
    bool shown;
    bool releases;
  };
  const std::vector<Case> cases = {{kKeySpace, true, true},   {kKeyReturn, true, true},
                                   {kKeyEscape, true, false}, {'A', true, false},
                                   {kKeySpace, false, false}, {kKeyReturn, false, false}};
  // Whichever control has the keys: none, the picture, the page, a sprite.
  const std::vector<PictureBox*> focus = {nullptr, &form.PicMain, form.MesBox[0],
                                          form.Doll_Disp[0]};
  for (PictureBox* target : focus) {
    for (const Case& c : cases) {
      ShowWindow(c.shown);
      form.window.SetFocus(target);
      story.message.WaitFlag = true;
      form.window.DeliverKeyDown(c.key);
      EXPECT_EQ(story.message.WaitFlag, !c.releases)
          << "key " << c.key << " shown " << c.shown << " focus "
          << (target ? target->Name() : "none");
    }
  }
}

TEST_F(PlayerInputTest, TheLeftButtonContinuesOnEveryControlWhileTheWindowIsShown) {
  struct Case {
    int32_t x, y;
    bool shown;
    int16_t stageTime;
    bool releases;
  };
  const std::vector<Case> cases = {
      {kPageX, kPageY, true, 0, true},     {kStripX, kStripY, true, 0, true},
      {kStageX, kStageY, true, 0, true},   {kDollX, kDollY, true, 0, true},
      {kStageX, kStageY, false, 0, false}, {kDollX, kDollY, false, 0, false},
      {kStageX, kStageY, true, 30, false},  // a café stage is running
  };
  for (const Case& c : cases) {
    ShowWindow(c.shown);
    stageTimeLeft = c.stageTime;
    story.message.WaitFlag = true;
    Click(c.x, c.y, MouseButton::Left);
    EXPECT_EQ(story.message.WaitFlag, !c.releases) << c.x << "," << c.y << " shown " << c.shown;
  }
}

TEST_F(PlayerInputTest, TheRightButtonHidesTheWindowAndBringsItBack) {
  story.message.MessageMode = 0;
  form.speedup.SetCaption(kSkipOnCaption);
  story.message.WaitFlag = true;

  Click(kPageX, kPageY, MouseButton::Right);
  EXPECT_FALSE(form.MesBox[0]->Visible());
  EXPECT_FALSE(form.MesBox[1]->Visible());
  EXPECT_EQ(story.message.MessageMode, 1);  // skipping stops
  EXPECT_EQ(form.speedup.Caption(), kSkipOffCaption);
  EXPECT_FALSE(form.speedup.Enabled());
  EXPECT_TRUE(story.message.WaitFlag);

  // Hidden: left clicks and the skip switch do nothing.
  Click(kStageX, kStageY, MouseButton::Left);
  form.window.DeliverMenuClick("speedup");
  EXPECT_TRUE(story.message.WaitFlag);
  EXPECT_EQ(story.message.MessageMode, 1);

  // Not while a café stage runs.
  stageTimeLeft = 5;
  Click(kStageX, kStageY, MouseButton::Right);
  EXPECT_FALSE(form.MesBox[0]->Visible());
  stageTimeLeft = 0;

  Click(kStageX, kStageY, MouseButton::Right);
  EXPECT_TRUE(form.MesBox[0]->Visible());
  EXPECT_TRUE(form.MesBox[1]->Visible());
  EXPECT_TRUE(form.speedup.Enabled());
  EXPECT_TRUE(story.message.WaitFlag);  // showing it does not continue
  Click(kStageX, kStageY, MouseButton::Left);
  EXPECT_FALSE(story.message.WaitFlag);

  // A sprite brings the window back too.
  Click(kPageX, kPageY, MouseButton::Right);
  Click(kDollX, kDollY, MouseButton::Right);
  EXPECT_TRUE(form.MesBox[0]->Visible());
  EXPECT_TRUE(form.speedup.Enabled());
}

TEST_F(PlayerInputTest, SkippingFromAClickWaitContinuesAtOnceAndRunsOn) {
  MessageWindow window(scene, events);
  int shown = -1;
  std::set<int> waitedAfter;
  events.onEvent = [&](const GameEvent& event) {
    if (std::holds_alternative<TextEvent>(event)) ++shown;
  };
  host.onDoEvents = [&] {
    if (!story.message.WaitFlag) return;
    waitedAfter.insert(shown);
    if (!host.InputPending()) host.PostMenuClick("speedup");
  };
  for (const char* line : {"一", "二", "三", "四", "五"}) {
    story.CurText = line;
    window.ShowMessage();
  }
  EXPECT_EQ(shown, 4);
  EXPECT_EQ(waitedAfter, std::set<int>{0});
  EXPECT_EQ(story.message.MessageMode, 0);
  EXPECT_EQ(form.speedup.Caption(), kSkipOnCaption);

  // Switching it off returns to whole lines, even from character mode.
  host.onDoEvents = nullptr;
  form.window.DeliverMenuClick("speedup");
  EXPECT_EQ(story.message.MessageMode, 1);
  EXPECT_EQ(form.speedup.Caption(), kSkipOffCaption);
  story.message.MessageMode = 3;
  form.window.DeliverMenuClick("speedup");
  form.window.DeliverMenuClick("speedup");
  EXPECT_EQ(story.message.MessageMode, 1);
}

TEST_F(PlayerInputTest, AClickDuringTheRevealEndsTheFollowingWaitAtOnce) {
  MessageWindow window(scene, events);
  story.message.MessageMode = 3;
  // The click arrives 100 ms into a reveal of ten characters (400 ms).
  const uint32_t start = host.TickCount();
  host.Post({start + 100,
             InputEvent::Mouse(InputEvent::Kind::MouseDown, kPageX, kPageY, MouseButton::Left)});
  host.Post({start + 100,
             InputEvent::Mouse(InputEvent::Kind::MouseUp, kPageX, kPageY, MouseButton::Left)});
  // Should the click be lost, the test still ends: release after a while.
  bool lost = false;
  host.onDoEvents = [&] {
    if (story.message.WaitFlag && host.TickCount() - start > 2000) {
      lost = true;
      story.message.WaitFlag = false;
    }
  };
  const uint64_t before = host.DoEventsCount();
  story.CurText = "あいうえおかきくけこ";
  window.ShowMessage();
  EXPECT_FALSE(lost);
  // One round of the click-wait: its first pause, then the queued click.
  EXPECT_EQ(host.DoEventsCount() - before, 1u);
  EXPECT_EQ(host.TickCount() - start, 10u * 40u + 10u + 1u);
}

}  // namespace
}  // namespace dovetail
