#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backends/hosts/headless/HeadlessHost.h"
#include "window/Dialog.h"
#include "window/Window.h"

namespace dovetail {
namespace {

TEST(HeadlessDialog, ScriptedInputReachesTheDialogOpenedLast) {
  HeadlessHost host;
  Window window(host, "Dovetail");
  Dialog dialog;
  dialog.Add(DialogControlKind::TextBox, "Text1", "桐原　ほのか", 10, 10, 200, 20);
  dialog.Add(DialogControlKind::Frame, "Frame1", "音の設定", 0, 40, 200, 60);
  dialog.Add(DialogControlKind::OptionButton, "Option1", "MCI", 10, 50, 80, 20).frame = "Frame1";
  dialog.Add(DialogControlKind::OptionButton, "Option2", "DirectMusic", 10, 70, 80, 20).frame =
      "Frame1";
  dialog.Add(DialogControlKind::CheckBox, "Check1", "ＢＧＭ", 10, 100, 80, 20);
  dialog.Add(DialogControlKind::Button, "Command1", "ＯＫ", 10, 130, 80, 20);
  dialog.SetChecked("Option1", true);
  std::vector<std::string> clicks;
  int closes = 0;
  dialog.onClick = [&](const std::string& name) { clicks.push_back(name); };
  dialog.onCloseRequest = [&] { ++closes; };
  host.ShowDialog(dialog);

  host.PostDialogInput(InputEvent::Kind::Type, "山田　花子");
  host.PostDialogInput(InputEvent::Kind::Press, "Option2");
  host.PostDialogInput(InputEvent::Kind::Press, "Check1");
  host.PostDialogInput(InputEvent::Kind::Press, "Command1");
  host.PostDialogInput(InputEvent::Kind::DialogClose);
  EXPECT_TRUE(clicks.empty());  // nothing before events run
  host.DoEvents();
  EXPECT_EQ(dialog.Find("Text1")->text, "山田　花子");
  EXPECT_TRUE(dialog.Find("Option2")->checked);
  EXPECT_FALSE(dialog.Find("Option1")->checked);
  EXPECT_TRUE(dialog.Find("Check1")->checked);
  EXPECT_EQ(clicks, (std::vector<std::string>{"Option2", "Check1", "Command1"}));
  EXPECT_EQ(closes, 1);

  host.CloseDialog(dialog);
  EXPECT_TRUE(host.OpenDialogs().empty());
  host.PostDialogInput(InputEvent::Kind::Press, "Command1");
  host.DoEvents();
  EXPECT_EQ(clicks.size(), 3u);
}

TEST(HeadlessDialog, EnterPressesTheDefaultButtonAndEscapeClosesOnlyWhereTheDialogSaysSo) {
  struct Case {
    const char* what;
    std::string defaultButton;
    bool okEnabled;
    bool escapeCloses;
    int16_t key;
    std::vector<std::string> clicks;
    int closes;
  };
  const std::vector<Case> cases = {
      {"Enter with a default button", "cmdOK", true, false, kKeyReturn, {"cmdOK"}, 0},
      {"Enter without one", "", true, true, kKeyReturn, {}, 0},
      {"Enter on a disabled default button", "cmdOK", false, false, kKeyReturn, {}, 0},
      {"Escape as the close box", "cmdOK", true, true, kKeyEscape, {}, 1},
      {"Escape where it is not the close box", "cmdOK", true, false, kKeyEscape, {}, 0},
      {"another key", "cmdOK", true, true, kKeySpace, {}, 0},
  };
  for (const Case& c : cases) {
    HeadlessHost host;
    Window window(host, "Dovetail");
    int windowKeys = 0;
    window.onKeyDown = [&](const KeyEvent&) { ++windowKeys; };
    Dialog dialog;
    dialog.Add(DialogControlKind::Button, "cmdOK", "ＯＫ", 0, 0, 10, 10).enabled = c.okEnabled;
    dialog.defaultButton = c.defaultButton;
    dialog.escapeCloses = c.escapeCloses;
    std::vector<std::string> clicks;
    int closes = 0;
    dialog.onClick = [&](const std::string& name) { clicks.push_back(name); };
    dialog.onCloseRequest = [&] { ++closes; };
    host.ShowDialog(dialog);
    // The key of the play file or test, as the player presses it: the open
    // dialog has the keyboard.
    host.PostKey(c.key);
    host.DoEvents();
    EXPECT_EQ(clicks, c.clicks) << c.what;
    EXPECT_EQ(closes, c.closes) << c.what;
    EXPECT_EQ(windowKeys, 0) << c.what;
  }
}

TEST(HeadlessDialog, ADisabledControlCannotBePressed) {
  HeadlessHost host;
  Dialog dialog;
  dialog.Add(DialogControlKind::Button, "cmdOK", "ＯＫ", 0, 0, 10, 10).enabled = false;
  int clicks = 0;
  dialog.onClick = [&](const std::string&) { ++clicks; };
  host.ShowDialog(dialog);
  host.PostDialogInput(InputEvent::Kind::Press, "cmdOK");
  host.DoEvents();
  EXPECT_EQ(clicks, 0);
}

}  // namespace
}  // namespace dovetail
