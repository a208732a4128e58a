#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "base/ProgramExit.h"
#include "support/TempFolder.h"
#include "support/WholeGame.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::WriteBytes;

// The settings file with a first line of more than four characters, so that
// a rewrite must keep the characters after the flags.
constexpr const char* kFlags = "1100-rest";

class OptionsDialogTest : public testing::WholeGame {
 protected:
  void SetUp() override {
    folder.SetSettings(kFlags, false);
    Start();
    original = ReadBytes(Settings());
    Menu("opt");
    ASSERT_TRUE(game->options.IsOpen());
  }

  fs::path Settings() const { return folder.data / "20.dat"; }
  const DialogControl& Control(const char* name) { return *game->options.Model().Find(name); }
  std::string FirstLine() {
    const std::string bytes = ReadBytes(Settings());
    return bytes.substr(0, bytes.find("\r\n"));
  }

  std::string original;
};

// A settings file named in capitals, as a folder copied from another system
// may hold it, is the one the options rewrite; the temporary files an
// interrupted rewrite left beside it are cleaned at start-up.
class UpperCaseSettingsTest : public testing::WholeGame {};

TEST_F(UpperCaseSettingsTest, TheOptionsRewriteItAndLeftoversOfItAreCleaned) {
  folder.SetSettings(kFlags, false);
  fs::rename(folder.data / "20.dat", folder.data / "20.DAT");
  WriteBytes(folder.data / ".20.DAT.x1Y2z3", "left by a kill");
  Start();
  EXPECT_FALSE(fs::exists(folder.data / ".20.DAT.x1Y2z3"));
  Menu("opt");
  Press("Check3");
  Press("Command1");
  EXPECT_TRUE(host.MessageBoxes().empty());
  EXPECT_FALSE(fs::exists(folder.data / "20.dat"));
  const std::string bytes = ReadBytes(folder.data / "20.DAT");
  EXPECT_EQ(bytes.substr(0, bytes.find("\r\n")), "1101-rest");
  for (const auto& entry : fs::directory_iterator(folder.data))
    EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
}

TEST_F(OptionsDialogTest, OpensOverTheDisabledWindowShowingTheCurrentChoices) {
  Dialog& dialog = game->options.Model();
  EXPECT_EQ(dialog.caption, "オプション設定");
  EXPECT_TRUE(dialog.topmost);
  EXPECT_EQ(host.OpenDialogs(), std::vector<Dialog*>{&dialog});
  EXPECT_FALSE(game->form.window.Enabled());
  EXPECT_EQ(game->Waiting(), WaitState::Dialog);
  const std::pair<const char*, const char*> captions[] = {{"Frame2", "メッセージ速度"},
                                                          {"Option3", "選択までｽｷｯﾌﾟ"},
                                                          {"Option4", "1行ずつ表示"},
                                                          {"Option5", "1文字ずつ表示"},
                                                          {"Label1", "Low"},
                                                          {"Label2", "High"},
                                                          {"Check1", "ＢＧＭ"},
                                                          {"Check2", "効果音"},
                                                          {"Frame1", "音の設定"},
                                                          {"Check3", "ﾌｪｰﾄﾞｱｳﾄ"},
                                                          {"Option1", "MCI"},
                                                          {"Option2", "DirectMusic"},
                                                          {"Command1", "OK"},
                                                          {"Command2", "Cancel"}};
  for (const auto& [name, caption] : captions)
    EXPECT_EQ(Control(name).text, caption) << name;
  // "1100": music and effects on, the sequencer, no fade; line at a time.
  for (const char* ticked : {"Option4", "Check1", "Check2", "Option1"})
    EXPECT_TRUE(Control(ticked).checked) << ticked;
  for (const char* clear : {"Option3", "Option5", "Option2", "Check3"})
    EXPECT_FALSE(Control(clear).checked) << clear;

  // The main window takes no input meanwhile: its menu bar neither.
  EXPECT_NO_THROW(Menu("ends"));
  EXPECT_TRUE(game->options.IsOpen());
}

TEST_F(OptionsDialogTest, OkWithoutChangeRewritesTheFileByteForByteAndCloses) {
  const fs::file_time_type before = fs::last_write_time(Settings());
  fs::last_write_time(Settings(), before - std::chrono::hours(1));
  Press("Command1");
  EXPECT_FALSE(game->options.IsOpen());
  EXPECT_TRUE(host.OpenDialogs().empty());
  EXPECT_TRUE(game->form.window.Enabled());
  EXPECT_EQ(ReadBytes(Settings()), original);
  EXPECT_GT(fs::last_write_time(Settings()), before - std::chrono::hours(1));  // written
  EXPECT_TRUE(host.MessageBoxes().empty());
  EXPECT_EQ(DialogEvents(),
            (std::vector<std::string>{"open Option_Window", "close Option_Window"}));
}

TEST_F(OptionsDialogTest, CancelAndTheCloseBoxChangeNothing) {
  Press("Option5");
  Press("Check2");
  Press("Command2");
  EXPECT_FALSE(game->options.IsOpen());
  EXPECT_TRUE(game->form.window.Enabled());
  EXPECT_EQ(game->story.message.MessageMode, 1);
  EXPECT_TRUE(game->settings.sound.SeEnabled);

  Menu("opt");
  Press("Check2");
  host.PostDialogInput(InputEvent::Kind::DialogClose);
  Run();
  EXPECT_FALSE(game->options.IsOpen());
  EXPECT_TRUE(game->form.window.Enabled());
  EXPECT_TRUE(game->settings.sound.SeEnabled);
  EXPECT_EQ(ReadBytes(Settings()), original);

  // Escape is Cancel.
  Menu("opt");
  Press("Check2");
  host.PostKey(kKeyEscape);
  Run();
  EXPECT_FALSE(game->options.IsOpen());
  EXPECT_TRUE(game->settings.sound.SeEnabled);
  EXPECT_EQ(ReadBytes(Settings()), original);
}

TEST_F(OptionsDialogTest, EnterIsOk) {
  Press("Check2");
  host.PostKey(kKeyReturn);
  Run();
  EXPECT_FALSE(game->options.IsOpen());
  EXPECT_FALSE(game->settings.sound.SeEnabled);
  EXPECT_EQ(FirstLine(), "1000-rest");
}

TEST_F(OptionsDialogTest, EachChoiceGoesToItsCharacterAndKeepsTheRestOfTheLine) {
  Press("Check2");
  Press("Check3");
  Press("Option3");
  Press("Command1");
  EXPECT_EQ(FirstLine(), "1001-rest");
  EXPECT_EQ(ReadBytes(Settings()).substr(FirstLine().size()),
            original.substr(std::string(kFlags).size()));
  EXPECT_FALSE(game->settings.sound.SeEnabled);
  EXPECT_TRUE(game->settings.sound.FadeOnStop);
  // Skipping is on, and the menu bar's skip switch says so.
  EXPECT_EQ(game->story.message.MessageMode, 0);
  EXPECT_EQ(game->form.speedup.Caption(), "スキップ停止");
}

TEST_F(OptionsDialogTest, DeviceChangeAnsweredCancelKeepsFileAndFlagsButTheSpeed) {
  Press("Option5");
  Press("Option2");
  Press("Check1");
  host.QueueAnswer(MessageBoxAnswer::Cancel);
  Press("Command1");
  ASSERT_EQ(host.MessageBoxes().size(), 1u);
  const MessageBoxRequest& asked = host.MessageBoxes()[0].request;
  EXPECT_EQ(asked.title, "終了確認");
  EXPECT_EQ(asked.text,
            "DirectMusicの設定を変更したときはゲームの再起動が必要です.\r\n"
            "ここでゲームを終了してもよろしいですか？");
  EXPECT_EQ(asked.buttons, MessageBoxButtons::OkCancel);
  EXPECT_TRUE(game->options.IsOpen());
  EXPECT_FALSE(game->form.window.Enabled());
  EXPECT_EQ(ReadBytes(Settings()), original);
  EXPECT_TRUE(game->settings.sound.BgmEnabled);
  EXPECT_FALSE(game->settings.sound.UseDirectMusic);
  EXPECT_EQ(game->story.message.MessageMode, 3);  // in force all the same
}

TEST_F(OptionsDialogTest, DeviceChangeAnsweredOkSavesEndsAndTheNextStartUsesTheNewDevice) {
  Press("Option2");
  host.QueueAnswer(MessageBoxAnswer::Ok);
  try {
    Press("Command1");
    FAIL() << "the program did not end";
  } catch (const ProgramExit& exit) {
    EXPECT_EQ(exit.code, ExitCode::Done);
  }
  EXPECT_EQ(FirstLine(), "1110-rest");
  ASSERT_EQ(host.MessageBoxes().size(), 2u);
  EXPECT_EQ(host.MessageBoxes()[1].request.text, "DirectMusicの設定は次の起動から有効になります.");
  EXPECT_EQ(host.MessageBoxes()[1].request.buttons, MessageBoxButtons::Ok);
  // The device in use did not change before the end.
  EXPECT_FALSE(game->settings.sound.UseDirectMusic);
  EXPECT_TRUE(host.OpenDialogs().empty());

  game.reset();
  Start();
  EXPECT_TRUE(game->sound.Flags().UseDirectMusic);
}

TEST_F(OptionsDialogTest, MusicSwitchedOffStopsAtOnceAndSwitchedOnWaitsForTheNextPiece) {
  ASSERT_EQ(Sounds().back(), "play 01.mid");
  Press("Check1");
  Press("Command1");
  EXPECT_EQ(Sounds().back(), "stop 01.mid");
  EXPECT_FALSE(game->settings.sound.BgmEnabled);
  EXPECT_EQ(FirstLine(), "0100-rest");

  const size_t heard = Sounds().size();
  Menu("opt");
  EXPECT_FALSE(Control("Check1").checked);
  Press("Check1");
  Press("Command1");
  Run(3000);  // the music timer has had its chances
  EXPECT_TRUE(game->settings.sound.BgmEnabled);
  EXPECT_EQ(Sounds().size(), heard);
}

TEST_F(OptionsDialogTest, AnUnreadableSettingsFileIsToldAndNothingChanges) {
  fs::remove(Settings());
  Press("Check2");
  Press("Command1");
  ASSERT_EQ(host.MessageBoxes().size(), 1u);
  EXPECT_NE(host.MessageBoxes()[0].request.text.find("20.dat"), std::string::npos);
  EXPECT_FALSE(fs::exists(Settings()));
  EXPECT_TRUE(game->settings.sound.SeEnabled);
  EXPECT_TRUE(game->options.IsOpen());  // to try again or cancel
  Press("Command2");
  EXPECT_TRUE(game->form.window.Enabled());
}

// A message mode the story's own commands set (2) shows as line at a time,
// and OK stores line at a time.
class OptionWindowModeTest : public testing::WholeGame {};

TEST_F(OptionWindowModeTest, ModeTwoShowsLineAtATimeAndOkStoresOne) {
  Start();
  game->story.message.MessageMode = 2;
  Menu("opt");
  EXPECT_TRUE(game->options.Model().Find("Option4")->checked);
  Press("Command1");
  EXPECT_EQ(game->story.message.MessageMode, 1);
}

TEST_F(OptionWindowModeTest, OpensWithTheSoundOptionsOfTheSettingsFile) {
  folder.SetSettings("0011", false);
  Start();
  Menu("opt");
  Dialog& dialog = game->options.Model();
  for (const auto& [name, ticked] : {std::pair{"Check1", false}, std::pair{"Check2", false},
                                     std::pair{"Option2", true}, std::pair{"Check3", true}})
    EXPECT_EQ(dialog.Find(name)->checked, ticked) << name;
}

}  // namespace
}  // namespace dovetail
