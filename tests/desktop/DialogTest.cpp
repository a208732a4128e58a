// Program dialogs on the desktop host: widgets from the model, edits written
// back before the handlers, handlers only inside DoEvents.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <string>
#include <vector>

#include "base/ProgramExit.h"
#include "platform/Dialog.h"
#include "platform/Window.h"
#include "platform/qt/QtHost.h"

namespace dovetail {
namespace {

class DesktopDialogTest : public ::testing::Test {
 protected:
  DesktopDialogTest() : window(host, "Dovetail") {
    dialog.caption = "なまえの変更";
    dialog.width = 360;
    dialog.height = 160;
    dialog.imeOpen = true;
    dialog.Add(DialogControlKind::Label, "Label1", "主人公の名前を変更できます。\r\n好きな名前を",
               10, 5, 340, 36);
    dialog.Add(DialogControlKind::TextBox, "Text1", "桐原　ほのか", 10, 45, 200, 24);
    dialog.Add(DialogControlKind::Frame, "Frame1", "音の設定", 10, 75, 200, 50);
    dialog.Add(DialogControlKind::OptionButton, "Option1", "MCI", 20, 95, 80, 20).frame = "Frame1";
    dialog.Add(DialogControlKind::OptionButton, "Option2", "DirectMusic", 100, 95, 100, 20).frame =
        "Frame1";
    dialog.Add(DialogControlKind::CheckBox, "Check1", "ＢＧＭ", 220, 95, 80, 20);
    dialog.Add(DialogControlKind::Button, "Command1", "ＯＫ", 250, 45, 90, 26);
    dialog.SetChecked("Option1", true);
    dialog.onClick = [this](const std::string& name) {
      clicks.push_back(name + ":" + dialog.Find("Text1")->text);
    };
    dialog.onCloseRequest = [this] { ++closes; };
    host.ShowDialog(dialog);
    host.DoEvents();
  }

  template <typename T>
  T* Widget(const char* name) {
    for (QWidget* w : host.DialogWindowFor(dialog)->findChildren<T*>()) {
      if (w->geometry().topLeft() == QPoint(dialog.Find(name)->left, dialog.Find(name)->top)) {
        return static_cast<T*>(w);
      }
    }
    return nullptr;
  }

  QtHost host;
  Window window;
  Dialog dialog;
  std::vector<std::string> clicks;
  int closes = 0;
};

TEST_F(DesktopDialogTest, ShowsTheModelAndWritesEditsBackBeforeTheHandler) {
  DialogWindow* shown = host.DialogWindowFor(dialog);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->windowTitle().toStdString(), "なまえの変更");
  EXPECT_EQ(shown->size(), QSize(360, 160));
  QLineEdit* text = Widget<QLineEdit>("Text1");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text().toStdString(), "桐原　ほのか");

  text->setText(QString::fromStdString("山田　花子"));
  Widget<QPushButton>("Command1")->click();
  EXPECT_TRUE(clicks.empty());  // not before events run
  host.DoEvents();
  EXPECT_EQ(clicks, std::vector<std::string>{"Command1:山田　花子"});

  Widget<QRadioButton>("Option2")->click();
  host.DoEvents();
  EXPECT_TRUE(dialog.Find("Option2")->checked);
  EXPECT_FALSE(dialog.Find("Option1")->checked);
}

TEST_F(DesktopDialogTest, TheCloseBoxAsksTheProgram) {
  host.DialogWindowFor(dialog)->close();
  host.DoEvents();
  EXPECT_EQ(closes, 1);
  EXPECT_NE(host.DialogWindowFor(dialog), nullptr);  // still open: the program decides
  EXPECT_TRUE(host.DialogWindowFor(dialog)->isVisible());
}

TEST_F(DesktopDialogTest, ProgramChangesReachTheWidgets) {
  dialog.Find("Check1")->enabled = false;
  dialog.Changed();
  host.DoEvents();
  EXPECT_FALSE(Widget<QCheckBox>("Check1")->isEnabled());
}

TEST_F(DesktopDialogTest, ClosingFromAHandlerAndEndingTheProgramAreSafe) {
  dialog.onClick = [this](const std::string&) { host.CloseDialog(dialog); };
  Widget<QPushButton>("Command1")->click();
  Widget<QPushButton>("Command1")->click();  // recorded before the close: dropped
  host.DoEvents();
  EXPECT_EQ(host.DialogWindowFor(dialog), nullptr);

  host.ShowDialog(dialog);
  dialog.onClick = [](const std::string&) { throw ProgramExit{0}; };
  Widget<QPushButton>("Command1")->click();
  EXPECT_THROW(host.DoEvents(), ProgramExit);
}

}  // namespace
}  // namespace dovetail
