#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "backends/hosts/headless/HeadlessHost.h"
#include "window/Window.h"

namespace dovetail {
namespace {

// Two overlapping boxes: `lower` at (0, 0) 100 × 100, `upper` at (50, 50) 100 × 100.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : window(host, "Dovetail") {
    lower = &AddBox("lower", 0, 0);
    upper = &AddBox("upper", 50, 50);
  }

  PictureBox& AddBox(const std::string& name, int32_t x, int32_t y) {
    PictureBox& box = window.AddPictureBox(name);
    box.Move(x, y, 100, 100);
    box.SetVisible(true);
    box.onMouseDown = [this, &box](const MouseEvent& e) { Log(box, "down", e); };
    box.onMouseUp = [this, &box](const MouseEvent& e) { Log(box, "up", e); };
    box.onClick = [this, &box] { events.push_back(box.Name() + " click"); };
    box.onKeyDown = [this, &box](const KeyEvent& e) {
      events.push_back(box.Name() + " key " + std::to_string(e.keyCode));
    };
    return box;
  }

  void Log(const PictureBox& box, const char* what, const MouseEvent& e) {
    events.push_back(box.Name() + " " + what + " " + std::to_string(e.x) + "," +
                     std::to_string(e.y));
  }

  HeadlessHost host;
  Window window;
  PictureBox* lower = nullptr;
  PictureBox* upper = nullptr;
  std::vector<std::string> events;
};

TEST_F(WindowTest, TheTopmostVisibleBoxGetsTheClickInItsOwnCoordinates) {
  window.DeliverMouseDown(60, 70, MouseButton::Left);
  window.DeliverMouseUp(60, 70, MouseButton::Left);
  EXPECT_EQ(events,
            (std::vector<std::string>{"upper down 10,20", "upper up 10,20", "upper click"}));

  events.clear();
  upper->SetVisible(false);
  window.DeliverMouseDown(60, 70, MouseButton::Right);
  EXPECT_EQ(events, (std::vector<std::string>{"lower down 60,70"}));

  events.clear();
  upper->SetVisible(true);
  window.BringToFront(*lower);
  EXPECT_EQ(window.BoxAt(60, 70), lower);
  EXPECT_EQ(window.BoxAt(120, 120), upper);
  EXPECT_EQ(window.BoxAt(300, 300), nullptr);
}

TEST_F(WindowTest, MouseUpGoesToTheBoxThatGotTheMouseDown) {
  window.DeliverMouseDown(10, 10, MouseButton::Left);
  window.DeliverMouseUp(140, 140, MouseButton::Left);
  // Released over the other box: the pressed box gets the release, no click.
  EXPECT_EQ(events, (std::vector<std::string>{"lower down 10,10", "lower up 140,140"}));
}

TEST_F(WindowTest, TheSecondPressOfADoubleClickIsNoMouseDownAndMakesNoClick) {
  window.DeliverMouseDown(10, 10, MouseButton::Left);
  window.DeliverMouseUp(10, 10, MouseButton::Left);
  window.DeliverDoubleClick(11, 11, MouseButton::Left);
  window.DeliverMouseUp(12, 12, MouseButton::Left);
  window.DeliverMouseDown(13, 13, MouseButton::Left);  // a later press counts again
  window.DeliverMouseUp(13, 13, MouseButton::Left);
  EXPECT_EQ(events, (std::vector<std::string>{"lower down 10,10", "lower up 10,10", "lower click",
                                              "lower up 12,12", "lower down 13,13",
                                              "lower up 13,13", "lower click"}));
}

TEST_F(WindowTest, DisabledBoxesAndADisabledWindowReceiveNothing) {
  upper->SetEnabled(false);
  window.DeliverMouseDown(60, 70, MouseButton::Left);
  window.DeliverMouseUp(60, 70, MouseButton::Left);
  EXPECT_TRUE(events.empty());

  upper->SetEnabled(true);
  window.SetEnabled(false);
  MenuItem& ends = window.AddMenuItem("ends", "終了");
  ends.onClick = [this] { events.push_back("ends"); };
  window.DeliverMouseDown(10, 10, MouseButton::Left);
  window.DeliverKeyDown(kKeySpace);
  window.DeliverMenuClick("ends");
  EXPECT_TRUE(events.empty());

  window.SetEnabled(true);
  ends.SetEnabled(false);
  window.DeliverMenuClick("ends");
  EXPECT_TRUE(events.empty());
  ends.SetEnabled(true);
  window.DeliverMenuClick("ends");
  EXPECT_EQ(events, (std::vector<std::string>{"ends"}));
}

TEST_F(WindowTest, KeysGoToTheBoxLastPressedOrElseToTheWindow) {
  window.onKeyDown = [this](const KeyEvent& e) {
    events.push_back("window key " + std::to_string(e.keyCode));
  };
  window.DeliverKeyDown(kKeyReturn);
  window.DeliverMouseDown(10, 10, MouseButton::Left);
  window.DeliverMouseUp(10, 10, MouseButton::Left);
  events.clear();
  window.DeliverKeyDown(kKeySpace);
  lower->SetVisible(false);
  window.DeliverKeyDown(kKeySpace);
  EXPECT_EQ(events, (std::vector<std::string>{"lower key 32", "window key 32"}));
}

// The key preview sees every key before the box with the focus and keeps
// what it takes; a box that lets the mouse through is never hit.
TEST_F(WindowTest, TheKeyPreviewComesFirstAndANoteLetsTheMouseThrough) {
  window.keyPreview = [this](const KeyEvent& e) {
    events.push_back("preview " + std::to_string(e.keyCode));
    return e.keyCode == kKeyF12;
  };
  window.DeliverMouseDown(10, 10, MouseButton::Left);
  window.DeliverMouseUp(10, 10, MouseButton::Left);
  events.clear();
  window.DeliverKeyDown(kKeyF12);
  window.DeliverKeyDown(kKeySpace);
  EXPECT_EQ(events, (std::vector<std::string>{"preview 123", "preview 32", "lower key 32"}));

  events.clear();
  upper->letsMouseThrough = true;
  window.DeliverMouseDown(60, 60, MouseButton::Left);
  EXPECT_EQ(events, (std::vector<std::string>{"lower down 60,60"}));
}

TEST_F(WindowTest, TimersFireOnlyWhileEventsRun) {
  Timer& clicker = window.AddTimer("Clicker", 800);
  int fired = 0;
  clicker.onTimer = [&] { ++fired; };
  clicker.SetEnabled(true);
  host.Sleep(5000);  // time passes, but no events run
  EXPECT_EQ(fired, 0);
  host.DoEvents();  // several intervals overdue: fires once
  EXPECT_EQ(fired, 1);
  for (int i = 0; i < 798; ++i)
    host.DoEvents();
  EXPECT_EQ(fired, 1);
  host.DoEvents();
  host.DoEvents();
  EXPECT_EQ(fired, 2);
  clicker.SetEnabled(false);
  host.Sleep(2000);
  host.DoEvents();
  EXPECT_EQ(fired, 2);
}

TEST_F(WindowTest, ATimerHandlerThatLetsEventsRunIsNotReentered) {
  Timer& timer = window.AddTimer("BGM_Timer", 10);
  int depth = 0;
  int maxDepth = 0;
  timer.onTimer = [&] {
    ++depth;
    maxDepth = std::max(maxDepth, depth);
    for (int i = 0; i < 50; ++i)
      host.DoEvents();
    --depth;
  };
  timer.SetEnabled(true);
  host.Sleep(10);
  host.DoEvents();
  EXPECT_EQ(maxDepth, 1);
}

TEST_F(WindowTest, ComposesPictureThenBoxesInZOrderThenShapes) {
  window.backColor = 0x101010;
  lower->SetBackColor(0x0000FF);
  upper->SetBackColor(0x00FF00);
  Shape& blinker = upper->AddShape();
  blinker.left = 10;
  blinker.top = 10;
  blinker.width = 4;
  blinker.height = 4;
  blinker.filled = true;
  blinker.fillColor = 0xFF0000;
  blinker.visible = true;

  Surface frame;
  window.Compose(frame);
  EXPECT_EQ(frame.Width(), 640);
  EXPECT_EQ(frame.At(10, 10), 0x0000FFu);    // lower only
  EXPECT_EQ(frame.At(55, 55), 0x00FF00u);    // upper over lower
  EXPECT_EQ(frame.At(61, 61), 0xFF0000u);    // the shape over upper
  EXPECT_EQ(frame.At(300, 300), 0x101010u);  // the window's back colour
  // The shape is not part of the box's image.
  EXPECT_EQ(upper->Image().At(11, 11), 0x00FF00u);

  // A shape's picture (a mark) shows its pixels but its transparent colour.
  Shape& mark = lower->AddShape();
  auto picture = std::make_shared<Surface>(2, 1, kBlack);
  picture->Set(1, 0, 0xFFD27A);
  mark.picture = picture;
  mark.left = 20;
  mark.top = 20;
  mark.width = 2;
  mark.height = 1;
  mark.borderWidth = 0;
  mark.visible = true;
  window.Compose(frame);
  EXPECT_EQ(frame.At(20, 20), 0x0000FFu);
  EXPECT_EQ(frame.At(21, 20), 0xFFD27Au);
}

TEST_F(WindowTest, RefreshPresentsAtOnceAndInvalidationWaitsForEvents) {
  const uint64_t before = host.PresentCount();
  lower->Refresh();
  EXPECT_EQ(host.PresentCount(), before + 1);
  lower->SetVisible(false);  // invalidates only
  EXPECT_EQ(host.PresentCount(), before + 1);
  host.DoEvents();
  EXPECT_EQ(host.PresentCount(), before + 2);
  host.DoEvents();
  EXPECT_EQ(host.PresentCount(), before + 2);
}

// A shape's blink repaints its area alone: the composition there is the full
// one (boxes above it still cover it), and nothing outside it is composed.
TEST_F(WindowTest, AnInvalidatedAreaIsComposedAndShownAlone) {
  lower->SetBackColor(0x0000FF);
  upper->SetBackColor(0x00FF00);
  Shape& blinker = lower->AddShape();
  blinker.left = 40;
  blinker.top = 40;
  blinker.width = 20;
  blinker.height = 20;
  blinker.filled = true;
  blinker.fillColor = 0xFF0000;
  int shownFrames = 0;
  host.onPresent = [&](const Surface&) { ++shownFrames; };
  window.Refresh();
  const uint64_t before = host.PresentCount();

  // Drawn without telling the window: not shown by the blink's repaint.
  upper->Image().FillRect(90, 90, 10, 10, 0x777777);
  blinker.visible = true;
  lower->InvalidateShape(blinker);
  host.DoEvents();
  EXPECT_EQ(host.PresentCount(), before + 1);
  EXPECT_EQ(shownFrames, 2);
  const Surface& shown = window.LastFrame();
  EXPECT_EQ(shown.At(45, 45), 0xFF0000u) << "the shape shows";
  EXPECT_EQ(shown.At(55, 55), 0x00FF00u) << "the box above still covers it";
  EXPECT_EQ(shown.At(145, 145), 0x00FF00u) << "outside the area nothing was composed";
  Surface full;
  window.Compose(full);
  EXPECT_EQ(full.At(145, 145), 0x777777u);
  for (int32_t y = 40; y < 60; ++y) {
    for (int32_t x = 40; x < 60; ++x)
      ASSERT_EQ(shown.At(x, y), full.At(x, y)) << x << "," << y;
  }

  // Nothing changed: nothing is composed or shown.
  host.DoEvents();
  EXPECT_EQ(host.PresentCount(), before + 1);
}

// Nobody watches the frames: a refresh composes nothing but still counts as
// shown, and a blink after that composes the whole frame, not a stale patch.
TEST_F(WindowTest, WithoutAWatcherNothingIsComposedUntilOneComes) {
  lower->SetBackColor(0x0000FF);
  window.Refresh();
  EXPECT_TRUE(window.LastFrame().Empty());
  EXPECT_EQ(host.PresentCount(), 1u);

  Shape& blinker = lower->AddShape();
  blinker = Shape{5, 5, 4, 4, true, 0xFF0000, 0, true, 0xFF0000};
  std::vector<Surface> shown;
  host.onPresent = [&](const Surface& frame) { shown.push_back(frame); };
  lower->InvalidateShape(blinker);
  host.DoEvents();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].At(6, 6), 0xFF0000u);
  EXPECT_EQ(shown[0].At(20, 20), 0x0000FFu) << "the whole frame, not a patch of none";
}

TEST_F(WindowTest, ATimerThatDrawsNothingCostsNoFrameAndTheNextOneIsKnown) {
  Timer& quiet = window.AddTimer("BGM_Timer", 2000);
  Timer& blink = window.AddTimer("Clicker", 800);
  int fired = 0;
  quiet.onTimer = [&] { ++fired; };
  EXPECT_EQ(window.MsUntilNextTimer(host.TickCount()), std::nullopt) << "none enabled";
  quiet.SetEnabled(true);
  blink.SetEnabled(true);
  host.Sleep(300);
  EXPECT_EQ(window.MsUntilNextTimer(host.TickCount()), 500u);
  blink.SetEnabled(false);
  EXPECT_EQ(window.MsUntilNextTimer(host.TickCount()), 1700u);

  host.DoEvents();  // the window's first repaint
  const uint64_t before = host.PresentCount();
  host.Sleep(2000);
  host.DoEvents();
  EXPECT_EQ(fired, 1);
  EXPECT_EQ(host.PresentCount(), before);
  EXPECT_EQ(window.MsUntilNextTimer(host.TickCount()), 2000u);
}

TEST_F(WindowTest, PictureBoxKeepsItsPictureUnderItsDrawing) {
  Surface picture(4, 4, 0x123456);
  PictureBox& sheet = window.AddPictureBox("GItems");
  sheet.SetAutoSize(true);
  sheet.SetPicture(picture);
  EXPECT_EQ(sheet.Width(), 4);
  sheet.Image().Set(1, 1, kWhite);
  sheet.Cls();  // clears the drawing, the picture comes back
  EXPECT_EQ(sheet.Image(), picture);
  sheet.ClearPicture();
  EXPECT_EQ(sheet.Image().At(1, 1), sheet.BackColor());
  // Growing keeps the pixels at the top-left and fills with the back colour.
  sheet.Image().Set(0, 0, 0x00ABCDEF);
  sheet.SetSize(6, 5);
  EXPECT_EQ(sheet.Image().At(0, 0), 0x00ABCDEFu);
  EXPECT_EQ(sheet.Image().At(5, 4), sheet.BackColor());
}

TEST(HeadlessHostTest, VirtualClockAndScriptedInput) {
  HeadlessHost host(1000);
  Window window(host, "Dovetail");
  PictureBox& box = window.AddPictureBox("PicMain");
  box.Move(0, 0, 640, 480);
  box.SetVisible(true);
  std::vector<uint32_t> downAt;
  box.onMouseDown = [&](const MouseEvent&) { downAt.push_back(host.TickCount()); };

  EXPECT_EQ(host.TickCount(), 1000u);
  host.Sleep(250);
  EXPECT_EQ(host.TickCount(), 1250u);
  host.DoEvents();
  EXPECT_EQ(host.TickCount(), 1251u);

  host.Post({1300, InputEvent::Mouse(InputEvent::Kind::MouseDown, 5, 5, MouseButton::Left)});
  host.Sleep(40);  // input is never delivered during a sleep
  host.DoEvents();
  EXPECT_TRUE(downAt.empty());
  while (host.InputPending())
    host.DoEvents();
  EXPECT_EQ(downAt, std::vector<uint32_t>{1300});
}

TEST(HeadlessHostTest, MessageBoxesAreRecordedAndAnswered) {
  HeadlessHost host;
  host.QueueAnswer(MessageBoxAnswer::Cancel);
  EXPECT_EQ(host.MessageBox({"終了します.", "Dovetail", MessageBoxButtons::Ok}),
            MessageBoxAnswer::Ok);  // an OK-only box can only answer OK
  host.QueueAnswer(MessageBoxAnswer::Cancel);
  EXPECT_EQ(host.MessageBox({"よろしいですか？", "終了確認", MessageBoxButtons::OkCancel}),
            MessageBoxAnswer::Cancel);
  ASSERT_EQ(host.MessageBoxes().size(), 2u);
  EXPECT_EQ(host.MessageBoxes()[0].request.text, "終了します.");
  EXPECT_EQ(host.MessageBoxes()[1].answer, MessageBoxAnswer::Cancel);
}

}  // namespace
}  // namespace dovetail
