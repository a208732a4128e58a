// The desktop host on a real (virtual) X display: window geometry, the menu
// bar mirror, frames on the screen, input translation, program exit through
// DoEvents, message boxes and cursors.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSysInfo>
#include <QTimer>
#include <QWindow>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "backends/hosts/qt/InputMapping.h"
#include "backends/hosts/qt/QtHost.h"
#include "backends/hosts/qt/WindowFrame.h"
#include "base/ProgramExit.h"
#include "window/Window.h"

namespace dovetail {
namespace {

// Lets events run until `done` holds or `timeoutMs` passed; returns `done()`.
bool RunUntil(QtHost& host, const std::function<bool()>& done, uint32_t timeoutMs = 3000) {
  const uint32_t start = host.TickCount();
  while (!done()) {
    if (host.TickCount() - start > timeoutMs) return false;
    host.DoEvents();
    host.Sleep(5);
  }
  return true;
}

// Waits for the player in rounds of `roundMs` until `done` holds; the rounds
// it took, or nothing when about three seconds passed first (a fault then
// fails the test instead of hanging it).
std::optional<int> WaitForPlayerUntil(QtHost& host, const std::function<bool()>& done,
                                      uint32_t roundMs) {
  const uint32_t start = host.TickCount();
  int rounds = 0;
  while (!done()) {
    if (host.TickCount() - start > 3000) return std::nullopt;
    host.WaitForPlayer(roundMs);
    ++rounds;
  }
  return rounds;
}

// A frame whose every pixel differs from its neighbours.
Surface PatternFrame() {
  Surface frame(640, 480);
  for (int32_t y = 0; y < 480; ++y) {
    for (int32_t x = 0; x < 640; ++x)
      frame.Set(x, y, Rgb(x * 7 + y, y * 3 + (x & 1) * 128, (x ^ y) & 0xFF));
  }
  return frame;
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  int count = 0;
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

class DesktopHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    picMain.Move(0, 0, 640, 480);
    picMain.SetVisible(true);
    target.Move(100, 50, 200, 100);
    target.SetVisible(true);
    host.Shell().SetZoom(1);
    host.ShowWindow();
    ASSERT_TRUE(RunUntil(host, [this] {
      const QWindow* handle = host.Shell().windowHandle();
      return handle != nullptr && handle->isExposed();
    }));
  }

  void Send(QEvent* event) { QCoreApplication::sendEvent(&host.Canvas(), event); }

  void SendMouse(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, at, host.Canvas().mapToGlobal(at), button, buttons, modifiers);
    Send(&event);
  }

  QtHost host;
  Window window{host, "Dovetail"};
  PictureBox& picMain = window.AddPictureBox("PicMain");
  PictureBox& target = window.AddPictureBox("Target");
};

TEST_F(DesktopHostTest, ClientAreaIsThePictureTimesTheZoom) {
  EXPECT_EQ(host.Shell().windowTitle(), QStringLiteral("Dovetail"));
  EXPECT_EQ(host.Canvas().size(), QSize(640, 480));
  EXPECT_EQ(host.Shell().centralWidget(), &host.Canvas());
  // The window is exactly menu bar plus client area.
  EXPECT_EQ(host.Shell().size(), QSize(640, 480 + host.Shell().menuBar()->height()));

  host.Shell().SetZoom(2);
  RunUntil(host, [this] { return host.Canvas().size() == QSize(1280, 960); });
  EXPECT_EQ(host.Canvas().size(), QSize(1280, 960));
  EXPECT_TRUE(host.Shell().ZoomAction(2)->isChecked());

  window.SetCaption("Another caption");
  host.DoEvents();
  EXPECT_EQ(host.Shell().windowTitle(), QStringLiteral("Another caption"));
}

TEST_F(DesktopHostTest, MenuBarMirrorsTheProgramsItems) {
  for (auto [name, caption] :
       std::vector<std::pair<std::string, std::string>>{{"speedup", "次の選択まで進む"},
                                                        {"vers", "バージョン"},
                                                        {"ends", "終了"},
                                                        {"opt", "設定"}}) {
    window.AddMenuItem(name, caption).SetEnabled(false);
  }
  host.DoEvents();

  auto captions = [this] {
    std::vector<std::pair<QString, bool>> result;
    for (const QAction* action : host.Shell().menuBar()->actions())
      result.emplace_back(action->text(), action->isEnabled());
    return result;
  };
  using Items = std::vector<std::pair<QString, bool>>;
  EXPECT_EQ(captions(), (Items{{"次の選択まで進む", false},
                               {"バージョン", false},
                               {"終了", false},
                               {"設定", false},
                               {"表示", true}}));

  window.FindMenuItem("ends")->SetEnabled(true);
  window.FindMenuItem("vers")->SetCaption("版");
  window.AddMenuItem("extra", "追加");
  host.DoEvents();
  EXPECT_EQ(captions(), (Items{{"次の選択まで進む", false},
                               {"版", false},
                               {"終了", true},
                               {"設定", false},
                               {"追加", true},
                               {"表示", true}}));

  const QMenu* view = host.Shell().ViewMenu();
  QStringList viewItems;
  for (const QAction* action : view->actions()) {
    if (!action->isSeparator()) viewItems << action->text();
  }
  EXPECT_EQ(viewItems, (QStringList{"1倍", "2倍", "3倍", "全画面表示"}));
  EXPECT_TRUE(host.Shell().FullScreenAction()->shortcuts().contains(
      QKeySequence(Qt::ALT | Qt::Key_Return)));
}

// run-with-display.sh says when it started a bare X server of its own
// (1280 × 1024, no window manager), as `make run` does on a machine without
// a display.
bool OnOurOwnBareXServer() {
  const char* bare = std::getenv("DOVETAIL_BARE_X_SERVER");
  return bare != nullptr && std::string(bare) == "1";
}

TEST_F(DesktopHostTest, WithoutAWindowManagerThereIsNoFrameAndTwiceFitsTheVirtualScreen) {
  if (!OnOurOwnBareXServer()) GTEST_SKIP() << "needs the bare X server of run-with-display.sh";
  EXPECT_FALSE(WindowManagerFrames());
  EXPECT_EQ(WindowFrameMargins(host.Shell()), QMargins());
  const QSize screen = host.Shell().screen()->availableGeometry().size();
  ASSERT_EQ(screen, QSize(1280, 1024));
  EXPECT_TRUE(host.Shell().ZoomFits(2));
  EXPECT_FALSE(host.Shell().ZoomFits(3));
  EXPECT_EQ(host.Shell().LargestFittingZoom(), 2);
}

TEST_F(DesktopHostTest, FullScreenShowsTheMenuBarOnlyAtTheTopEdgeOrOnAlt) {
  MainWindowShell& shell = host.Shell();
  shell.move(120, 90);
  ASSERT_TRUE(RunUntil(host, [&] { return shell.pos() == QPoint(120, 90); }));
  const QPoint inside = shell.geometry().topLeft();
  shell.SetFullScreen(true);
  const QSize screen = shell.screen()->geometry().size();
  ASSERT_TRUE(RunUntil(host, [&] { return host.Canvas().size() == screen; }));
  EXPECT_FALSE(shell.menuBar()->isVisible());
  auto pictureOnScreen = [&] {
    const QRect picture = host.Canvas().PictureRect();
    return QRect(host.Canvas().mapToGlobal(picture.topLeft()), picture.size());
  };
  const QRect picture = pictureOnScreen();
  auto moveTo = [&](double y) {
    SendMouse(QEvent::MouseMove, QPointF(300, y), Qt::NoButton, Qt::NoButton);
    host.DoEvents();
  };

  // The pointer at the top edge brings the bar over the picture, which stays
  // where it is; back down in the picture, the bar goes.
  moveTo(0);
  ASSERT_TRUE(RunUntil(host, [&] { return host.Canvas().y() > 0; }));
  EXPECT_TRUE(shell.menuBar()->isVisible());
  EXPECT_EQ(pictureOnScreen(), picture);
  moveTo(200);
  ASSERT_TRUE(RunUntil(host, [&] { return host.Canvas().y() == 0; }));
  EXPECT_FALSE(shell.menuBar()->isVisible());
  EXPECT_EQ(pictureOnScreen(), picture);

  // Alt alone shows it until Alt again; Alt with another key does not.
  // Keys as the window gets them, before any widget (the menu bar takes
  // the keyboard after Alt).
  auto key = [&](QEvent::Type type, int code, Qt::KeyboardModifiers modifiers) {
    QKeyEvent event(type, code, modifiers);
    QCoreApplication::sendEvent(shell.windowHandle(), &event);
  };
  key(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
  key(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
  EXPECT_TRUE(shell.menuBar()->isVisible());
  moveTo(200);  // shown by the key, it stays while the pointer moves
  EXPECT_TRUE(shell.menuBar()->isVisible());
  key(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
  key(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
  EXPECT_FALSE(shell.menuBar()->isVisible());
  key(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
  key(QEvent::KeyPress, Qt::Key_Tab, Qt::AltModifier);
  key(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
  EXPECT_FALSE(shell.menuBar()->isVisible());
  // Nor Alt of a shortcut, which the window only sees as its override.
  key(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
  QKeyEvent shortcut(QEvent::ShortcutOverride, Qt::Key_Return, Qt::AltModifier);
  QCoreApplication::sendEvent(&host.Canvas(), &shortcut);
  key(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
  EXPECT_FALSE(shell.menuBar()->isVisible());

  // Choosing an item puts it away again.
  moveTo(0);
  EXPECT_TRUE(shell.menuBar()->isVisible());
  shell.ZoomAction(1)->trigger();
  EXPECT_FALSE(shell.menuBar()->isVisible());

  shell.SetFullScreen(false);
  EXPECT_TRUE(shell.menuBar()->isVisible());
  ASSERT_TRUE(RunUntil(host, [&] { return host.Canvas().size() == QSize(640, 480); }));
  // Back where it was, not at the screen's corner.
  EXPECT_TRUE(RunUntil(host, [&] { return shell.geometry().topLeft() == inside; }))
      << shell.geometry().x() << "," << shell.geometry().y();
}

TEST_F(DesktopHostTest, PresentPutsTheFrameOnTheScreenBeforeReturning) {
  PaintCounter painted;
  host.Canvas().installEventFilter(&painted);
  const Surface frame = PatternFrame();

  host.Present(frame);  // no events run after this

  EXPECT_EQ(painted.count, 1);
  // What the X server holds for the window, not a fresh rendering.
  const QPoint offset = host.Canvas().mapTo(&host.Shell(), QPoint(0, 0));
  const QImage shown = host.Shell()
                           .screen()
                           ->grabWindow(host.Shell().winId(), offset.x(), offset.y(), 640, 480)
                           .toImage();
  ASSERT_EQ(shown.size(), QSize(640, 480));
  int wrong = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x)
      wrong += (shown.pixel(x, y) & 0xFFFFFFu) != frame.At(x, y);
  }
  EXPECT_EQ(wrong, 0);
  host.Canvas().removeEventFilter(&painted);
}

TEST_F(DesktopHostTest, ZoomEnlargesEveryPixelToASharpBlock) {
  host.Shell().SetZoom(2);
  const Surface frame = PatternFrame();
  host.Present(frame);
  const QImage shown = host.Canvas().grab().toImage();
  ASSERT_EQ(shown.size(), QSize(1280, 960));
  int wrong = 0;
  for (int y = 0; y < 960; ++y) {
    for (int x = 0; x < 1280; ++x)
      wrong += (shown.pixel(x, y) & 0xFFFFFFu) != frame.At(x / 2, y / 2);
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(DesktopHostTest, MouseInputReachesTheBoxInClientCoordinatesWhenEventsRun) {
  host.Shell().SetZoom(2);
  std::vector<MouseEvent> downs;
  std::vector<MouseEvent> ups;
  int clicks = 0;
  target.onMouseDown = [&](const MouseEvent& event) { downs.push_back(event); };
  target.onMouseUp = [&](const MouseEvent& event) { ups.push_back(event); };
  target.onClick = [&] { ++clicks; };

  // Client pixel (150, 70) is canvas pixels (300..301, 140..141) at zoom 2.
  SendMouse(QEvent::MouseButtonPress, QPointF(301, 141), Qt::LeftButton, Qt::LeftButton,
            Qt::ShiftModifier);
  EXPECT_TRUE(downs.empty()) << "input waits until the program lets events run";
  host.DoEvents();
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].x, 50);
  EXPECT_EQ(downs[0].y, 20);
  EXPECT_EQ(downs[0].button, MouseButton::Left);
  EXPECT_EQ(downs[0].shift, kShiftShift);

  // Released outside the window's picture: the pressed box still gets it.
  SendMouse(QEvent::MouseButtonRelease, QPointF(1500, 141), Qt::LeftButton, Qt::NoButton);
  host.DoEvents();
  ASSERT_EQ(ups.size(), 1u);
  EXPECT_EQ(ups[0].x, 639 - 100);
  EXPECT_EQ(clicks, 0);

  SendMouse(QEvent::MouseButtonPress, QPointF(210, 110), Qt::RightButton, Qt::RightButton,
            Qt::ControlModifier | Qt::AltModifier);
  SendMouse(QEvent::MouseButtonRelease, QPointF(210, 110), Qt::RightButton, Qt::NoButton);
  SendMouse(QEvent::MouseButtonPress, QPointF(210, 110), Qt::LeftButton, Qt::LeftButton);
  SendMouse(QEvent::MouseButtonRelease, QPointF(210, 110), Qt::LeftButton, Qt::NoButton);
  host.DoEvents();
  ASSERT_EQ(downs.size(), 3u);
  EXPECT_EQ(downs[1].button, MouseButton::Right);
  EXPECT_EQ(downs[1].shift, kShiftCtrl | kShiftAlt);
  EXPECT_EQ(downs[1].x, 5);
  EXPECT_EQ(downs[1].y, 5);
  EXPECT_EQ(clicks, 1);
}

TEST_F(DesktopHostTest, PressesOnTheBlackBarsAreOutsideTheWindow) {
  struct Case {
    QSize widget;
    int zoom;
    bool fit;
    QRect picture;
  };
  for (const Case& c : {Case{{1280, 1024}, 1, true, {0, 32, 1280, 960}},
                        Case{{1920, 1056}, 1, true, {320, 48, 1280, 960}},
                        Case{{1920, 1440}, 3, false, {0, 0, 1920, 1440}},
                        Case{{320, 300}, 1, true, {0, 30, 320, 240}}}) {
    EXPECT_EQ(CanvasWidget::PictureRect(c.widget, QSize(640, 480), c.zoom, c.fit), c.picture);
  }

  const QRect letterbox(0, 32, 1280, 960);
  const QSize client(640, 480);
  EXPECT_EQ(CanvasWidget::MapToClient({10, 31.5}, letterbox, client, false), std::nullopt);
  EXPECT_EQ(CanvasWidget::MapToClient({0, 32}, letterbox, client, false), QPoint(0, 0));
  EXPECT_EQ(CanvasWidget::MapToClient({1279.9, 991.9}, letterbox, client, false), QPoint(639, 479));
  EXPECT_EQ(CanvasWidget::MapToClient({10, 1000}, letterbox, client, true), QPoint(5, 479));
  EXPECT_EQ(CanvasWidget::MapToClient({-4, 0}, letterbox, client, true), QPoint(0, 0));
  // Smaller than the picture: the fraction maps back.
  EXPECT_EQ(CanvasWidget::MapToClient({319, 269}, {0, 30, 320, 240}, client, false),
            QPoint(638, 478));

  bool pressed = false;
  picMain.onMouseDown = [&](const MouseEvent&) { pressed = true; };
  host.Shell().SetFullScreen(true);
  // The picture is enlarged by a whole factor, with black bars around it.
  ASSERT_TRUE(RunUntil(host, [this] {
    return host.Shell().isFullScreen() && host.Canvas().PictureRect() != host.Canvas().rect();
  }));
  const QRect picture = host.Canvas().PictureRect();
  EXPECT_EQ(picture.width() % 640, 0);
  EXPECT_EQ(picture.width() * 3, picture.height() * 4);
  const QPointF onBar = picture.top() > 0 ? QPointF(picture.left() + 1, picture.top() - 1)
                                          : QPointF(picture.left() - 1, picture.top() + 1);
  SendMouse(QEvent::MouseButtonPress, onBar, Qt::LeftButton, Qt::LeftButton);
  host.DoEvents();
  EXPECT_FALSE(pressed);
  SendMouse(QEvent::MouseButtonPress, QPointF(picture.left() + 1, picture.top() + 1),
            Qt::LeftButton, Qt::LeftButton);
  host.DoEvents();
  EXPECT_TRUE(pressed);
  host.Shell().SetFullScreen(false);
  EXPECT_FALSE(host.Shell().FullScreenAction()->isChecked());
  RunUntil(host, [this] { return host.Canvas().size() == QSize(640, 480); });
  EXPECT_EQ(host.Canvas().size(), QSize(640, 480));
}

TEST_F(DesktopHostTest, KeysArriveAsVirtualKeyCodesExceptAltEnter) {
  std::vector<KeyEvent> keys;
  window.onKeyDown = [&](const KeyEvent& event) { keys.push_back(event); };
  auto press = [this](int key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    Send(&event);
  };
  press(Qt::Key_Return, Qt::NoModifier);
  press(Qt::Key_Space, Qt::ShiftModifier);
  press(Qt::Key_Return, Qt::AltModifier);  // full screen, not the program's
  press(Qt::Key_Enter, Qt::AltModifier | Qt::KeypadModifier);
  press(Qt::Key_Escape, Qt::NoModifier);
  press(Qt::Key_Tab, Qt::NoModifier);
  host.DoEvents();
  ASSERT_EQ(keys.size(), 4u);
  EXPECT_EQ(keys[0].keyCode, kKeyReturn);
  EXPECT_EQ(keys[1].keyCode, kKeySpace);
  EXPECT_EQ(keys[1].shift, kShiftShift);
  EXPECT_EQ(keys[2].keyCode, kKeyEscape);
  EXPECT_EQ(keys[3].keyCode, 9);
}

TEST(InputMappingTest, QtKeysBecomeWindowsVirtualKeyCodes) {
  struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    int16_t code;
  };
  for (const Case& c : {
           Case{Qt::Key_Enter, Qt::KeypadModifier, 13},
           Case{Qt::Key_A, Qt::NoModifier, 65},
           Case{Qt::Key_Z, Qt::ShiftModifier, 90},
           Case{Qt::Key_0, Qt::NoModifier, 48},
           Case{Qt::Key_9, Qt::NoModifier, 57},
           Case{Qt::Key_5, Qt::KeypadModifier, 101},
           Case{Qt::Key_Left, Qt::NoModifier, 37},
           Case{Qt::Key_Up, Qt::KeypadModifier, 38},
           Case{Qt::Key_Right, Qt::NoModifier, 39},
           Case{Qt::Key_Down, Qt::NoModifier, 40},
           Case{Qt::Key_F1, Qt::NoModifier, 112},
           Case{Qt::Key_F12, Qt::NoModifier, 123},
           Case{Qt::Key_Control, Qt::ControlModifier, 17},
           Case{Qt::Key_Plus, Qt::KeypadModifier, 107},
           Case{Qt::Key_Plus, Qt::NoModifier, 0},
           Case{Qt::Key_Meta, Qt::NoModifier, 0},
           Case{Qt::Key_unknown, Qt::NoModifier, 0},
       }) {
    EXPECT_EQ(VirtualKeyFromQt(c.key, c.modifiers), c.code) << "Qt key " << std::hex << c.key;
  }
  EXPECT_EQ(ShiftFromQt(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier),
            kShiftShift | kShiftCtrl | kShiftAlt);
  EXPECT_EQ(ButtonsFromQt(Qt::LeftButton | Qt::MiddleButton), static_cast<MouseButton>(5));
  EXPECT_EQ(ButtonFromQt(Qt::BackButton), MouseButton::None);
}

TEST_F(DesktopHostTest, ProgramExitFromAMenuHandlerLeavesDoEvents) {
  MenuItem& ends = window.AddMenuItem("ends", "終了");
  ends.onClick = [] { throw ProgramExit{ExitCode::Stalled}; };
  host.DoEvents();
  QAction* action = host.Shell().ProgramMenuAction("ends");
  ASSERT_NE(action, nullptr);

  action->trigger();  // Qt's dispatch returns normally: the click is only recorded
  try {
    host.DoEvents();
    FAIL() << "ProgramExit did not come out of DoEvents";
  } catch (const ProgramExit& exit) {
    EXPECT_EQ(exit.code, ExitCode::Stalled);
  }
}

TEST_F(DesktopHostTest, ProgramExitUnwindsThroughAWaitingHandler) {
  // A click starts a wait that lets events run (like the click-wait); the menu
  // item chosen meanwhile ends the program from inside that wait.
  window.AddMenuItem("ends", "終了").onClick = [] { throw ProgramExit{ExitCode::Done}; };
  int waits = 0;
  target.onMouseDown = [&](const MouseEvent&) {
    // Waits until the program ends; gives up after about three seconds, so
    // that an exit that never comes fails the test instead of hanging it.
    const uint32_t start = host.TickCount();
    while (host.TickCount() - start < 3000) {
      ++waits;
      host.DoEvents();
      host.Sleep(1);
    }
  };
  host.DoEvents();
  SendMouse(QEvent::MouseButtonPress, QPointF(150, 60), Qt::LeftButton, Qt::LeftButton);
  host.Shell().ProgramMenuAction("ends")->trigger();
  EXPECT_THROW(host.DoEvents(), ProgramExit);
  EXPECT_EQ(waits, 1);

  // Nothing is left over: later events run normally.
  target.onMouseDown = nullptr;
  EXPECT_NO_THROW(host.DoEvents());
}

TEST_F(DesktopHostTest, TheCloseBoxAsksTheProgram) {
  int requests = 0;
  window.onCloseRequest = [&] { ++requests; };
  EXPECT_FALSE(host.Shell().close());
  EXPECT_TRUE(host.Shell().isVisible());
  EXPECT_EQ(requests, 0);
  host.DoEvents();
  EXPECT_EQ(requests, 1);
}

TEST_F(DesktopHostTest, TimersFireOnlyWhileEventsRun) {
  int fired = 0;
  Timer& timer = window.AddTimer("Clicker", 20);
  timer.onTimer = [&] { ++fired; };
  timer.SetEnabled(true);
  const uint32_t before = host.TickCount();
  host.Sleep(30);
  EXPECT_GE(host.TickCount() - before, 30u);
  EXPECT_EQ(fired, 0);
  host.DoEvents();
  EXPECT_EQ(fired, 1);
}

TEST_F(DesktopHostTest, AWaitForThePlayerSleepsUntilInputArrivesOrATimerIsDue) {
  host.DoEvents();  // what setting up the window left queued
  int fired = 0;
  Timer& timer = window.AddTimer("Clicker", 100);
  timer.onTimer = [&] { ++fired; };
  timer.SetEnabled(true);
  // Nothing arrives: rounds sleep past their 10 ms until the timer is due,
  // instead of ten rounds of 10 ms.
  const std::optional<int> rounds = WaitForPlayerUntil(
      host, [&] { return fired > 0; }, 10);
  ASSERT_TRUE(rounds.has_value()) << "the timer never fired";
  EXPECT_LE(*rounds, 3);

  // Input arrives: the round lets it run.
  int downs = 0;
  target.onMouseDown = [&](const MouseEvent&) { ++downs; };
  SendMouse(QEvent::MouseButtonPress, QPointF(210, 110), Qt::LeftButton, Qt::LeftButton);
  host.WaitForPlayer(10);
  EXPECT_EQ(downs, 1);
}

// A change the program made without a refresh (the title's boxes shown at
// the end of start-up) is on the screen before the wait sleeps, not only once
// input or a timer wakes it.
TEST_F(DesktopHostTest, AWaitShowsWhatChangedBeforeItSleeps) {
  host.DoEvents();
  int presented = 0;
  host.onPresented = [&] { ++presented; };
  target.SetVisible(false);
  int presentedWhenTheTimerFired = -1;
  Timer& timer = window.AddTimer("Clicker", 150);
  timer.onTimer = [&] { presentedWhenTheTimerFired = presented; };
  timer.SetEnabled(true);
  ASSERT_TRUE(WaitForPlayerUntil(
      host, [&] { return presentedWhenTheTimerFired >= 0; }, 10))
      << "the timer never fired";
  EXPECT_GT(presentedWhenTheTimerFired, 0);
}

// What the message box answered by AnswerNextMessageBox showed.
struct SeenBox {
  QString title;
  QString text;
  QStringList buttons;
  bool hasIcon = true;
  bool onTop = false;
};

// Answers the next message box from a timer and reports what it showed. When
// no message box is found within about three seconds, whatever modal window
// is open is closed and `seen` stays empty: the test fails instead of hanging
// in a modal loop nobody answers.
void AnswerNextMessageBox(SeenBox& seen, QMessageBox::StandardButton answer) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, &seen, answer, polls = 0]() mutable {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) {
      if (++polls < 300) return;
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
      poll->deleteLater();
      poll->stop();
      return;
    }
    seen.title = box->windowTitle();
    seen.text = box->text();
    for (const QAbstractButton* button : box->buttons())
      seen.buttons << button->text();
    seen.hasIcon = box->icon() != QMessageBox::NoIcon;
    seen.onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    box->button(answer)->click();
    poll->deleteLater();
    poll->stop();
  });
  poll->start(10);
}

TEST_F(DesktopHostTest, MessageBoxesAreModalWithJapaneseButtons) {
  SeenBox seen;
  AnswerNextMessageBox(seen, QMessageBox::Cancel);
  EXPECT_EQ(host.MessageBox({"よろしいですか？\r\n二行目", "確認", MessageBoxButtons::OkCancel}),
            MessageBoxAnswer::Cancel);
  EXPECT_EQ(seen.title, QStringLiteral("確認"));
  EXPECT_EQ(seen.text, QStringLiteral("よろしいですか？\n二行目"));
  seen.buttons.sort();
  EXPECT_EQ(seen.buttons, (QStringList{"OK", "キャンセル"}));
  EXPECT_FALSE(seen.hasIcon);
  EXPECT_FALSE(seen.onTop);

  // The second copy's box stays above the running game.
  SeenBox plain;
  AnswerNextMessageBox(plain, QMessageBox::Ok);
  EXPECT_EQ(host.MessageBox({"既に起動しています。", "", MessageBoxButtons::Ok, true}),
            MessageBoxAnswer::Ok);
  EXPECT_EQ(plain.title, QStringLiteral("Dovetail"));
  EXPECT_EQ(plain.buttons, QStringList{"OK"});
  EXPECT_TRUE(plain.onTop);
}

TEST_F(DesktopHostTest, TheCursorFollowsTheBoxUnderThePointer) {
  host.Shell().SetZoom(2);
  auto cursor = std::make_shared<Cursor>();
  cursor->width = 8;
  cursor->height = 8;
  cursor->argb.assign(64, 0xFF00FF00u);
  cursor->hotX = 3;
  cursor->hotY = 4;
  target.mouseIcon = cursor;

  SendMouse(QEvent::MouseMove, QPointF(250, 150), Qt::NoButton, Qt::NoButton);
  host.DoEvents();
  const QCursor shown = host.Canvas().cursor();
  EXPECT_EQ(shown.shape(), Qt::BitmapCursor);
  EXPECT_EQ(shown.pixmap().size(), QSize(16, 16));
  EXPECT_EQ(shown.hotSpot(), QPoint(6, 8));

  SendMouse(QEvent::MouseMove, QPointF(10, 10), Qt::NoButton, Qt::NoButton);
  host.DoEvents();
  EXPECT_EQ(host.Canvas().cursor().shape(), Qt::ArrowCursor);
}

// The machine's facts come from the system: the screen the window is on, the
// kernel's memory figures, the system's own name and version, the clock.
TEST_F(DesktopHostTest, TheMachinesFactsAreTheSystems) {
  const ScreenFacts screen = host.Screen();
  const QScreen* shown = host.Shell().screen();
  EXPECT_EQ(screen.width, shown->geometry().width());
  EXPECT_EQ(screen.height, shown->geometry().height());
  EXPECT_EQ(screen.bitsPerPixel, shown->depth());

  const MemoryFacts memory = host.Memory();
  EXPECT_GT(memory.totalPhysical, 0u);
  EXPECT_GT(memory.availablePhysical, 0u);
  EXPECT_LE(memory.availablePhysical, memory.totalPhysical);
  EXPECT_LE(memory.availablePageFile, memory.totalPageFile);
  EXPECT_LT(memory.availableVirtual, memory.totalVirtual);
  EXPECT_LE(memory.loadPercent, 100u);

  const SystemFacts system = host.System();
  EXPECT_FALSE(system.name.empty());
  EXPECT_EQ(system.version, QSysInfo::kernelVersion().toStdString());
  EXPECT_GT(system.majorVersion, 0);
  EXPECT_EQ(system.version.rfind(
                std::to_string(system.majorVersion) + "." + std::to_string(system.minorVersion), 0),
            0u)
      << system.version;

  const LocalDateTime now = host.LocalNow();
  const QDateTime clock = QDateTime::currentDateTime();
  EXPECT_NE(now.date.find(std::to_string(clock.date().year() % 100)), std::string::npos)
      << now.date;
  EXPECT_FALSE(now.time.empty());
}

TEST(DesktopProgramTest, SmokeTestRunEndsByItself) {
  const QString program = QCoreApplication::applicationDirPath() + "/../dovetail";
  if (!QFileInfo::exists(program)) GTEST_SKIP() << "dovetail is not built next to the tests";
  QProcess process;
  process.start(program, {"--smoke-test"});
  ASSERT_TRUE(process.waitForFinished(30000)) << "dovetail --smoke-test did not end";
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

TEST(DesktopProgramTest, ASoundFontThatCannotBeLoadedIsRefusedNamingIt) {
  const QString program = QCoreApplication::applicationDirPath() + "/../dovetail";
  if (!QFileInfo::exists(program)) GTEST_SKIP() << "dovetail is not built next to the tests";
  QProcess process;
  process.start(program, {"--soundfont", "/nonexistent/piano.sf2"});
  ASSERT_TRUE(process.waitForFinished(30000)) << "dovetail did not end";
  EXPECT_EQ(process.exitCode(), 2);
  EXPECT_NE(process.readAllStandardError().toStdString().find("/nonexistent/piano.sf2"),
            std::string::npos);
}

}  // namespace
}  // namespace dovetail

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
