// Program dialogs on the desktop host: widgets from the model, the player's
// edits written back before the handlers, handlers only inside DoEvents, the
// program's changes shown after events ran.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "backends/hosts/qt/CanvasWidget.h"
#include "backends/hosts/qt/QtHost.h"
#include "base/ProgramExit.h"
#include "window/Dialog.h"
#include "window/Window.h"

namespace dovetail {
namespace {

class DesktopDialogTest : public ::testing::Test {
 protected:
  DesktopDialogTest() : window(host, "Dovetail") {
    dialog.caption = "なまえの変更";
    dialog.width = 360;
    dialog.height = 200;
    dialog.topmost = true;
    dialog.imeOpen = true;
    dialog.Add(DialogControlKind::Label, "Label1",
               "主人公の名前を変更できます。\r\n好きな名前を入力してください。", 10, 5, 340, 36);
    dialog.Add(DialogControlKind::TextBox, "Text1", "桐原　ほのか", 10, 45, 200, 24).maxLength = 7;
    DialogControl& greeting = dialog.Add(DialogControlKind::TextBox, "Text2",
                                         "山田　花子さん\r\n－－－\r\n", 220, 130, 130, 60);
    greeting.multiLine = true;
    dialog.Add(DialogControlKind::Frame, "Frame1", "音の設定", 10, 75, 200, 50);
    dialog.Add(DialogControlKind::OptionButton, "Option1", "MCI", 20, 95, 80, 20).frame = "Frame1";
    dialog.Add(DialogControlKind::OptionButton, "Option2", "DirectMusic", 100, 95, 100, 20).frame =
        "Frame1";
    dialog.Add(DialogControlKind::CheckBox, "Check1", "ＢＧＭ", 220, 95, 80, 20);
    dialog.Add(DialogControlKind::Link, "Label3", "https://example.org/", 10, 140, 200, 20);
    dialog.Add(DialogControlKind::Button, "Command1", "ＯＫ", 250, 45, 90, 26);
    dialog.SetChecked("Option1", true);
    dialog.onClick = [this](const std::string& name) {
      clicks.push_back(name + ":" + dialog.Find("Text1")->text);
    };
    dialog.onCloseRequest = [this] { ++closes; };
    dialog.onLostFocus = [this] { ++focusLosses; };
    // The layouts below are at the window's 1× zoom.
    host.Shell().SetZoom(1);
    host.ShowDialog(dialog);
    host.DoEvents();
  }

  DialogWindow& Shown() { return *host.DialogWindowFor(dialog); }
  template <typename T>
  T* Widget(const char* name) {
    return qobject_cast<T*>(Shown().ControlWidget(name));
  }

  // Lets events run until `done` holds or about three seconds passed.
  bool RunUntil(const std::function<bool()>& done) {
    const uint32_t start = host.TickCount();
    while (!done()) {
      if (host.TickCount() - start > 3000) return false;
      host.DoEvents();
      host.Sleep(5);
    }
    return true;
  }

  // What an input method hands over when the player confirms a composition.
  static void Commit(QWidget* widget, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(widget, &event);
  }

  static void Press(QWidget* widget, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
  }

  QtHost host;
  Window window;
  Dialog dialog;
  std::vector<std::string> clicks;
  int closes = 0;
  int focusLosses = 0;
};

TEST_F(DesktopDialogTest, ShowsTheModelOverTheMainWindow) {
  ASSERT_NE(host.DialogWindowFor(dialog), nullptr);
  EXPECT_EQ(Shown().windowTitle(), QStringLiteral("なまえの変更"));
  EXPECT_EQ(Shown().size(), QSize(360, 200));
  EXPECT_EQ(Shown().parentWidget(), &host.Shell());
  EXPECT_TRUE(Shown().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(Shown().isVisible());
  EXPECT_TRUE(host.Shell().isVisible());

  for (const DialogControl& control : dialog.Controls()) {
    QWidget* widget = Shown().ControlWidget(control.name);
    ASSERT_NE(widget, nullptr) << control.name;
    EXPECT_EQ(widget->geometry(), QRect(control.left, control.top, control.width, control.height))
        << control.name;
  }
  EXPECT_EQ(Widget<QLabel>("Label1")->text(),
            QStringLiteral("主人公の名前を変更できます。\n好きな名前を入力してください。"));
  EXPECT_EQ(Widget<QLineEdit>("Text1")->text(), QStringLiteral("桐原　ほのか"));
  EXPECT_EQ(Widget<QGroupBox>("Frame1")->title(), QStringLiteral("音の設定"));
  EXPECT_TRUE(Widget<QRadioButton>("Option1")->isChecked());
  EXPECT_FALSE(Widget<QRadioButton>("Option2")->isChecked());
  EXPECT_EQ(Widget<QPushButton>("Command1")->text(), QStringLiteral("ＯＫ"));
  // Full-width letters shown full-width: two whole 12-pixel cells.
  const QFontMetrics caption(Widget<QPushButton>("Command1")->font());
  EXPECT_EQ(caption.horizontalAdvance(QStringLiteral("ＯＫ")), 24);

  QLabel* link = Widget<QLabel>("Label3");
  EXPECT_TRUE(link->font().underline());
  EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);

  // The field takes seven characters at the most; a text of several lines
  // has its caret after the text, not on the first character.
  EXPECT_EQ(Widget<QLineEdit>("Text1")->maxLength(), 7);
  const QPlainTextEdit* greeting = Widget<QPlainTextEdit>("Text2");
  EXPECT_EQ(greeting->textCursor().position(), greeting->toPlainText().size());

  // With the input method open the player can type the name at once.
  QLineEdit* text = Widget<QLineEdit>("Text1");
  EXPECT_EQ(Shown().focusWidget(), text);
  EXPECT_TRUE(text->testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(DesktopDialogTest, EditsReachTheModelBeforeTheHandlerInsideDoEvents) {
  QLineEdit* text = Widget<QLineEdit>("Text1");
  text->selectAll();
  Commit(text, QStringLiteral("山田　花子"));
  Widget<QPushButton>("Command1")->click();
  EXPECT_TRUE(clicks.empty());  // not before events run
  EXPECT_EQ(dialog.Find("Text1")->text, "桐原　ほのか");
  host.DoEvents();
  host.DoEvents();
  EXPECT_EQ(clicks, std::vector<std::string>{"Command1:山田　花子"});
  EXPECT_EQ(dialog.Find("Text1")->text, "山田　花子");

  clicks.clear();
  Widget<QRadioButton>("Option2")->click();
  Widget<QCheckBox>("Check1")->click();
  EXPECT_TRUE(dialog.Find("Option1")->checked);
  host.DoEvents();
  EXPECT_EQ(clicks, (std::vector<std::string>{"Option2:山田　花子", "Check1:山田　花子"}));
  EXPECT_TRUE(dialog.Find("Option2")->checked);
  EXPECT_FALSE(dialog.Find("Option1")->checked);
  EXPECT_TRUE(dialog.Find("Check1")->checked);

  clicks.clear();
  QLabel* link = Widget<QLabel>("Label3");
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), link->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(link, &release);
  host.DoEvents();
  EXPECT_EQ(clicks, std::vector<std::string>{"Label3:山田　花子"});
}

TEST_F(DesktopDialogTest, OnlyTheProgramClosesTheDialog) {
  Shown().close();
  EXPECT_EQ(closes, 0);
  host.DoEvents();
  EXPECT_EQ(closes, 1);
  ASSERT_NE(host.DialogWindowFor(dialog), nullptr);
  EXPECT_TRUE(Shown().isVisible());

  // Neither Escape nor Enter acts by itself: this dialog names no default
  // button and keeps Escape from its close box.
  Press(&Shown(), Qt::Key_Escape);
  Press(Widget<QLineEdit>("Text1"), Qt::Key_Return);
  host.DoEvents();
  EXPECT_TRUE(Shown().isVisible());
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(clicks.empty());
}

TEST_F(DesktopDialogTest, EnterAndEscapeReachTheModelAsItsRulesSay) {
  dialog.defaultButton = "Command1";
  dialog.escapeCloses = true;
  QLineEdit* text = Widget<QLineEdit>("Text1");
  text->selectAll();
  Commit(text, QStringLiteral("山田　花子"));
  Press(text, Qt::Key_Return);  // from the text box, where the player types
  EXPECT_TRUE(clicks.empty());  // not before events run
  host.DoEvents();
  EXPECT_EQ(clicks, std::vector<std::string>{"Command1:山田　花子"});

  Press(text, Qt::Key_Escape);
  host.DoEvents();
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(Shown().isVisible());  // the program closes it, not the key
}

TEST_F(DesktopDialogTest, TheDialogIsEnlargedWithTheWindowAndCentredOverIt) {
  host.CloseDialog(dialog);
  host.Shell().SetZoom(2);
  host.ShowDialog(dialog);
  ASSERT_TRUE(RunUntil([this] { return Shown().isVisible(); }));
  EXPECT_EQ(Shown().size(), QSize(720, 400));
  EXPECT_EQ(Shown().font().pixelSize(), 24);
  EXPECT_EQ(Widget<QLineEdit>("Text1")->geometry(), QRect(20, 90, 400, 48));
  // Over the middle of the game's picture.
  const QPoint centre = Shown().frameGeometry().center();
  const QRect picture(host.Canvas().mapToGlobal(QPoint(0, 0)), host.Canvas().size());
  EXPECT_LE(std::abs(centre.x() - picture.center().x()), 40);
  EXPECT_LE(std::abs(centre.y() - picture.center().y()), 60);
  // The tick boxes grow with it, clear of their captions.
  QCheckBox* box = Widget<QCheckBox>("Check1");
  EXPECT_GE(box->sizeHint().height(), 26);
  EXPECT_GE(box->sizeHint().width(),
            QFontMetrics(box->font()).horizontalAdvance("ＢＧＭ") + 26 + 8);
  host.CloseDialog(dialog);
  host.Shell().SetZoom(1);
}

// "ＯＫ" takes the fixed-pitch gothic that shows it full-width; a caption of
// plain letters keeps the dialog's own font.
TEST_F(DesktopDialogTest, OnlyFullWidthCaptionsTakeTheFixedPitchFace) {
  host.CloseDialog(dialog);
  dialog.Add(DialogControlKind::Button, "Command2", "Cancel", 250, 80, 90, 26);
  host.ShowDialog(dialog);
  ASSERT_TRUE(RunUntil([this] { return Shown().isVisible(); }));
  EXPECT_EQ(Widget<QPushButton>("Command2")->font().family(), Shown().font().family());
  EXPECT_NE(Widget<QPushButton>("Command1")->font().families(),
            Widget<QPushButton>("Command2")->font().families());
}

TEST_F(DesktopDialogTest, ProgramChangesReachTheWidgetsWithoutLosingTyping) {
  QLineEdit* text = Widget<QLineEdit>("Text1");
  text->selectAll();
  Commit(text, QStringLiteral("山田　花子"));  // typed, not yet sent

  dialog.Find("Check1")->enabled = false;
  dialog.Find("Label1")->text = "変更";
  dialog.SetChecked("Option2", true);
  host.DoEvents();
  EXPECT_FALSE(Widget<QCheckBox>("Check1")->isEnabled());
  EXPECT_EQ(Widget<QLabel>("Label1")->text(), QStringLiteral("変更"));
  EXPECT_TRUE(Widget<QRadioButton>("Option2")->isChecked());
  EXPECT_FALSE(Widget<QRadioButton>("Option1")->isChecked());
  EXPECT_EQ(text->text(), QStringLiteral("山田　花子"));

  // The program changes the text in the first handler; the second click,
  // recorded before that, sees the program's text, not the old widget's.
  dialog.onClick = [this](const std::string& name) {
    clicks.push_back(name + ":" + dialog.Find("Text1")->text);
    dialog.Find("Text1")->text = "リセット";
    dialog.Changed();
  };
  Widget<QPushButton>("Command1")->click();
  Widget<QPushButton>("Command1")->click();
  host.DoEvents();
  EXPECT_EQ(clicks, (std::vector<std::string>{"Command1:山田　花子", "Command1:リセット"}));
  EXPECT_EQ(text->text(), QStringLiteral("リセット"));
}

TEST_F(DesktopDialogTest, AClickOnAControlTheProgramDisabledMeanwhileIsDropped) {
  Widget<QCheckBox>("Check1")->click();
  dialog.Find("Check1")->enabled = false;
  dialog.Changed();
  host.DoEvents();
  EXPECT_TRUE(clicks.empty());
  EXPECT_FALSE(dialog.Find("Check1")->checked);
  EXPECT_FALSE(Widget<QCheckBox>("Check1")->isChecked());
}

TEST_F(DesktopDialogTest, LosingTheFocusReachesTheProgram) {
  ASSERT_TRUE(RunUntil([this] { return Shown().isActiveWindow(); }))
      << "the dialog never became active";
  EXPECT_EQ(focusLosses, 0);
  host.Shell().activateWindow();
  ASSERT_TRUE(RunUntil([this] { return focusLosses > 0; }));
  EXPECT_EQ(focusLosses, 1);
}

// A press on the main window makes it the active window, also where no
// window manager does it: the dialog over it loses the focus (the about box
// closes so).
TEST_F(DesktopDialogTest, APressOnTheMainWindowTakesTheFocusFromTheDialog) {
  ASSERT_TRUE(RunUntil([this] { return Shown().isActiveWindow(); }))
      << "the dialog never became active";
  CanvasWidget& canvas = host.Canvas();
  const QPointF inside(10, 10);
  QMouseEvent press(QEvent::MouseButtonPress, inside, canvas.mapToGlobal(inside), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&canvas, &press);
  ASSERT_TRUE(RunUntil([this] { return focusLosses > 0; }));
}

// While the window is disabled (a dialog of the program is open) its menu
// items show disabled; enabled again, they show as the program set them.
TEST_F(DesktopDialogTest, ADisabledWindowShowsItsMenuDisabled) {
  MenuItem& opt = window.AddMenuItem("opt", "設定");
  host.DoEvents();
  ASSERT_NE(host.Shell().ProgramMenuAction("opt"), nullptr);
  EXPECT_TRUE(host.Shell().ProgramMenuAction("opt")->isEnabled());
  window.SetEnabled(false);
  host.DoEvents();
  EXPECT_FALSE(host.Shell().ProgramMenuAction("opt")->isEnabled());
  window.SetEnabled(true);
  host.DoEvents();
  EXPECT_TRUE(host.Shell().ProgramMenuAction("opt")->isEnabled());
  opt.SetEnabled(false);
  host.DoEvents();
  EXPECT_FALSE(host.Shell().ProgramMenuAction("opt")->isEnabled());
}

TEST_F(DesktopDialogTest, ClosingFromAHandlerAndEndingTheProgramAreSafe) {
  Dialog other;
  other.caption = "ﾊﾞｰｼﾞｮﾝ情報";
  other.width = 200;
  other.height = 100;
  other.Add(DialogControlKind::Button, "cmdOK", "ＯＫ", 10, 10, 80, 24);
  int otherClicks = 0;
  other.onClick = [&](const std::string&) { ++otherClicks; };
  host.ShowDialog(other);
  ASSERT_NE(host.DialogWindowFor(other), host.DialogWindowFor(dialog));

  QPointer<DialogWindow> closed = &Shown();
  dialog.onClick = [this](const std::string& name) {
    clicks.push_back(name);
    host.CloseDialog(dialog);
  };
  Widget<QPushButton>("Command1")->click();
  Widget<QPushButton>("Command1")->click();  // recorded before the close: dropped
  qobject_cast<QPushButton*>(host.DialogWindowFor(other)->ControlWidget("cmdOK"))->click();
  host.DoEvents();
  EXPECT_EQ(clicks, std::vector<std::string>{"Command1"});
  EXPECT_EQ(host.DialogWindowFor(dialog), nullptr);
  EXPECT_EQ(otherClicks, 1);  // the other dialog goes on
  host.DoEvents();
  EXPECT_TRUE(closed.isNull());

  other.onClick = [](const std::string&) { throw ProgramExit{ExitCode::Stalled}; };
  qobject_cast<QPushButton*>(host.DialogWindowFor(other)->ControlWidget("cmdOK"))->click();
  try {
    host.DoEvents();
    ADD_FAILURE() << "ProgramExit did not leave DoEvents";
  } catch (const ProgramExit& exit) {
    EXPECT_EQ(exit.code, ExitCode::Stalled);
  }
  host.CloseDialog(other);
}

}  // namespace
}  // namespace dovetail
