#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "backends/audio/silent/NullAudioOutput.h"
#include "backends/hosts/headless/HeadlessHost.h"
#include "base/Files.h"
#include "base/ProgramExit.h"
#include "graphics/BitmapFile.h"
#include "graphics/TextRenderer.h"
#include "saves/SaveFile.h"
#include "screen/PictureRegions.h"
#include "shell/Game.h"
#include "storage/DataFolder.h"
#include "support/RecordedEvents.h"
#include "support/TestDataFolder.h"
#include "support/WholeGame.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;
using testing::HeaderOf;
using testing::TestDataFolder;

class GameTest : public testing::WholeGame {
 protected:
  GameTest() { RecordSounds(); }

  // Records what the sound module does, with the time it happened.
  void RecordSounds() {
    events.onEvent = [this](const GameEvent& event) {
      if (auto sound = testing::DescribeSound(event)) sounds.push_back({host.TickCount(), *sound});
    };
  }
  std::vector<std::string> SoundsSince(size_t first) const {
    std::vector<std::string> names;
    for (size_t i = first; i < sounds.size(); ++i)
      names.push_back(sounds[i].second);
    return names;
  }

  // The player clicks at once whenever a message waits (not the name dialog's
  // own wait).
  void ContinueClickWait() {
    if (game->Waiting() == WaitState::ClickWait && !game->nameEntry.IsOpen())
      game->story.message.WaitFlag = false;
  }

  const std::string& LastMessage() const { return host.MessageBoxes().back().request.text; }

  std::vector<std::pair<uint32_t, std::string>> sounds;
};

TEST_F(GameTest, AMissingSettingsFileEndsTheStartUpWithItsMessage) {
  fs::remove(folder.data / "20.dat");
  MakeGame();
  EXPECT_THROW(game->Start(), ProgramExit);
  EXPECT_EQ(LastMessage(), "DATAフォルダの内容が不正です.");
  EXPECT_EQ(HeaderOf(folder.data / "11.dat"), "JF");  // nothing touched
}

TEST_F(GameTest, TheMenuBarShowsItsItemsInOrder) {
  MakeGame();
  std::vector<std::string> onTheBar;
  std::vector<std::string> comforts;
  for (const auto& item : game->form.window.MenuItems())
    (item->Menu().empty() ? onTheBar : comforts).push_back(item->Caption());
  EXPECT_EQ(onTheBar, (std::vector<std::string>{"次の選択まで進む", "バージョン", "設定", "終了"}));
  // The comforts of our own sit in one drop-down after the game's items.
  EXPECT_EQ(comforts, (std::vector<std::string>{"履歴\tPage Up", "オート\tA", "オート速度：遅い",
                                                "オート速度：普通", "オート速度：速い",
                                                "既読スキップ\tCtrl", "画面保存\tF12"}));
}

TEST_F(GameTest, TheDataSubFolderIsFoundWhateverTheCaseOfItsName) {
  fs::rename(folder.data, folder.root / "Data");
  ASSERT_TRUE(StartGame());
  EXPECT_EQ(game->paths.DataPath, folder.root / "Data");
  fs::rename(folder.root / "Data", folder.data);
}

TEST_F(GameTest, StartUpRestoresHeadersAndQuittingHidesThemAgain) {
  ASSERT_TRUE(StartGame());
  EXPECT_EQ(game->paths.DataPath, folder.data);
  for (const char* name : kPictureFiles)
    EXPECT_EQ(HeaderOf(folder.data / name), "BM") << name;
  EXPECT_FALSE(fs::exists(folder.data / "51.cod"));
  EXPECT_FALSE(fs::exists(folder.data / "52.cod"));
  EXPECT_EQ(game->story.Ranking[1].Name, "名人");
  EXPECT_EQ(game->story.Ranking[2].Score, 8000);
  EXPECT_FALSE(game->form.LOAD_NOW.Visible());
  EXPECT_TRUE(game->form.ends.Enabled());

  host.PostMenuClick("ends");
  try {
    RunUntil([] { return false; }, 10);
    FAIL() << "the program did not end";
  } catch (const ProgramExit& exit) {
    EXPECT_EQ(exit.code, ExitCode::Done);
  }
  for (const char* name : kPictureFiles)
    EXPECT_EQ(HeaderOf(folder.data / name), "JF") << name;
}

TEST_F(GameTest, ASaveWhoseStagesDisagreeEndsTheRunWithTheFolderAtRest) {
  ASSERT_TRUE(StartGame());
  game->story.CurLabel = 1000;
  game->story.StageNo = 5;
  std::string save = FormatSave(game->story).value();
  const size_t field4 = save.find(",5,");
  ASSERT_NE(field4, std::string::npos);
  save.replace(field4, 3, ",6,");
  ASSERT_TRUE(ReplaceFileAtomically(folder.data / "40.dat", save));

  // つづきから, guarded as the event loop is.
  try {
    game->Guarded([&] { game->title.Tmenu_MouseDown(2); });
    FAIL() << "the program did not end";
  } catch (const ProgramExit& exit) {
    EXPECT_EQ(exit.code, ExitCode::Failed);
  }
  EXPECT_EQ(LastMessage(), "40.dat: the two stage numbers disagree");
  for (const char* name : kPictureFiles)
    EXPECT_EQ(HeaderOf(folder.data / name), "JF") << name;
}

TEST_F(GameTest, StartUpPlaysTheJingleToItsEndThenTheTitleMusic) {
  ASSERT_TRUE(StartGame());
  ASSERT_EQ(SoundsSince(0), (std::vector<std::string>{"wave 104", "open 01.mid", "play 01.mid"}));
  // The jingle plays to its end before the bar goes, and a second passes after it.
  const uint32_t jingle = audio->EffectLengthMs(104).value();
  EXPECT_GE(sounds[1].first - sounds[0].first, jingle + 1000);
  EXPECT_EQ(game->sound.CurrentBgm(), DataFile(folder.data, "01.mid").string());
  EXPECT_TRUE(game->form.BGM_Timer.Enabled());

  // Back on the title screen the music goes on; when it ends, the timer
  // starts it again within two seconds.
  game->title.ShowTitle();
  EXPECT_EQ(sounds.size(), 3u);
  ASSERT_TRUE(RunUntil([&] { return sounds.size() > 3; }, 600));
  EXPECT_EQ(sounds[3].second, "rewind 01.mid");
  EXPECT_LE(sounds[3].first - sounds[2].first, 3000u + 2000u);
}

TEST_F(GameTest, QuittingStopsTheMusicAndPutsTheVolumeBack) {
  ASSERT_TRUE(StartGame());
  EXPECT_EQ(game->sound.StartVolume, 65535u);
  audio->SetMasterVolume(1200);  // as a fade would have left it
  const size_t before = sounds.size();
  EXPECT_THROW(game->Quit(), ProgramExit);
  EXPECT_EQ(SoundsSince(before), (std::vector<std::string>{"stop 01.mid", "volume 65535"}));
  EXPECT_EQ(audio->MasterVolume(), 65535);
}

TEST_F(GameTest, WithMusicOffTheTitleIsSilentAndTheJingleStillPlays) {
  folder.SetSettings("0100", false);
  ASSERT_TRUE(StartGame());
  EXPECT_EQ(SoundsSince(0), (std::vector<std::string>{"wave 104"}));
  EXPECT_FALSE(game->form.BGM_Timer.Enabled());
}

TEST_F(GameTest, TheSplashIsCrossFadedInCentredBeforeTheProgressBar) {
  const Surface splash = *LoadBitmapFile(folder.data / "P99.dat");
  MakeGame();
  std::optional<Pixel> centre;
  std::optional<Pixel> bar;
  host.onPresent = [&](const Surface&) {
    PictureBox& loadNow = game->form.LOAD_NOW;
    if (!centre && loadNow.Visible()) {
      centre = game->form.PicMain.Image().At(320, 240);
      bar = loadNow.Image().At(81, 5);
    }
  };
  game->Start();
  ASSERT_TRUE(centre.has_value());
  EXPECT_EQ(*centre, splash.At(splash.Width() / 2, splash.Height() / 2));
  EXPECT_EQ(game->form.LOAD_NOW.Left(), 224);
  EXPECT_EQ(game->form.LOAD_NOW.Top(), 292);
  EXPECT_EQ(game->form.LOAD_NOW.Image().At(179, 10), Rgb(160, 220, 115));  // the full bar
  EXPECT_EQ(game->form.LOAD_NOW.Image().At(180, 12), Rgb(128, 128, 128));  // its outline
}

TEST_F(GameTest, WithoutADataSubfolderTheProgramFolderIsTheDataFolder) {
  for (const auto& entry : fs::directory_iterator(folder.data)) {
    fs::rename(entry.path(), folder.root / entry.path().filename());
  }
  fs::remove(folder.data);
  ASSERT_TRUE(StartGame());
  EXPECT_EQ(game->paths.DataPath, folder.root);
}

TEST_F(GameTest, ABrokenPictureFileEndsTheStartUpCleanly) {
  std::string bytes = *ReadWholeFile(folder.data / "90.dat");
  bytes.resize(100);
  ASSERT_TRUE(ReplaceFileAtomically(folder.data / "90.dat", bytes));
  MakeGame();
  EXPECT_THROW(game->Start(), ProgramExit);
  EXPECT_NE(LastMessage().find("90.dat"), std::string::npos) << LastMessage();
  EXPECT_EQ(HeaderOf(folder.data / "11.dat"), "JF");
  EXPECT_FALSE(fs::exists(folder.data / "51.cod"));
}

TEST_F(GameTest, TheExtraStoryIsOfferedOnlyWithTheClearMarker) {
  folder.SetScript("1000,,,,,,,,はじめ,,,,\r\n1059,,,,,,,,おまけ,,,,\r\n1060,,,,,,,,end,,,,\r\n");
  auto title = LoadBitmapFile(folder.data / "p03.dat");
  ASSERT_TRUE(title.ok());
  const Rect extra = TitleItem(3);
  const int x = extra.x + extra.w / 2, y = extra.y + extra.h / 2;
  ASSERT_TRUE(StartGame());
  EXPECT_FALSE(game->form.Tmenu[3]->Visible());
  EXPECT_TRUE(game->form.Tmenu[4]->Visible());
  // The locked entry reads as unavailable: the picture under it is greyed,
  // the picture around it is the title as drawn.
  const Pixel locked = game->form.window.Picture()->At(x, y);
  EXPECT_NE(locked, title->At(x, y));
  EXPECT_TRUE(RedOf(locked) == GreenOf(locked) && GreenOf(locked) == BlueOf(locked));
  EXPECT_EQ(game->form.window.Picture()->At(x, extra.y - 2), title->At(x, extra.y - 2));

  folder.SetSettings("1100", true);
  game.reset();
  ASSERT_TRUE(StartGame());
  EXPECT_TRUE(game->form.Tmenu[3]->Visible());
  EXPECT_EQ(game->form.Tmenu[3]->Image().At(extra.w / 2, extra.h / 2), title->At(x, y));
  std::vector<int16_t> labels;
  events.onEvent = [&](const GameEvent& event) {
    if (const auto* step = std::get_if<StepEvent>(&event)) labels.push_back(step->label);
  };
  host.onDoEvents = [&] { ContinueClickWait(); };
  game->title.Tmenu_MouseDown(3);
  EXPECT_EQ(labels, std::vector<int16_t>{1059});
  // Back at the title, the extra entry is still there.
  EXPECT_TRUE(game->form.Tmenu[3]->Visible());
  EXPECT_EQ(game->Waiting(), WaitState::Title);
}

TEST_F(GameTest, TheHighlightFollowsTheMouse) {
  ASSERT_TRUE(StartGame());
  const Surface& sheet = game->form.GItems.Image();
  auto highlighted = [&](int i) {
    return game->form.Tmenu[i]->Image().At(5, 5) == sheet.At(270 + 5, 330 + 27 * (i - 1) + 5);
  };
  auto normal = [&](int i) {
    return game->form.Tmenu[i]->Image().At(5, 5) ==
           game->form.window.Picture()->At(405 + 5, 237 + 27 * (i - 1) + 5);
  };
  Window& window = game->form.window;
  EXPECT_EQ(game->title.CurCategory, 4);
  window.DeliverMouseMove(410, 330);  // onto entry 4 first: it lights up too
  EXPECT_TRUE(highlighted(4));
  window.DeliverMouseMove(410, 240);  // onto entry 1
  EXPECT_TRUE(highlighted(1));
  EXPECT_FALSE(highlighted(4));
  window.DeliverMouseMove(410, 270);  // onto entry 2
  EXPECT_TRUE(highlighted(2));
  EXPECT_TRUE(normal(1));

  // Off the entries, onto the picture beside them: no entry stays lit, and
  // coming back lights the same entry again.
  window.DeliverMouseMove(300, 270);
  EXPECT_TRUE(normal(2));
  EXPECT_EQ(game->title.CurCategory, 2);
  window.DeliverMouseMove(410, 270);
  EXPECT_TRUE(highlighted(2));
}

TEST_F(GameTest, QuittingFromTheTitleSaysSoFirst) {
  ASSERT_TRUE(StartGame());
  Window& window = game->form.window;
  window.DeliverMouseMove(410, 350);  // onto entry 5, which lights up
  ASSERT_EQ(game->title.CurCategory, 5);
  // What the screen shows under the quit message: the title picture with
  // its entries in their normal look, no highlight left over.
  std::optional<bool> titleUnderTheBox;
  Surface shown;
  host.onPresent = [&](const Surface& frame) { shown = frame; };
  host.onMessageBox = [&](const MessageBoxRequest&) -> std::optional<MessageBoxAnswer> {
    if (shown.Width() < 545 || shown.Height() < 372) return std::nullopt;
    const Surface& title = *window.Picture();
    bool same = true;
    for (int32_t y = 237; y < 372; ++y) {
      for (int32_t x = 405; x < 545; ++x)
        same = same && shown.At(x, y) == title.At(x, y);
    }
    titleUnderTheBox = same;
    return std::nullopt;
  };
  EXPECT_THROW(window.DeliverMouseDown(410, 350, MouseButton::Left), ProgramExit);
  EXPECT_EQ(LastMessage(), "終了します.");
  EXPECT_EQ(titleUnderTheBox, true);
  EXPECT_EQ(HeaderOf(folder.data / "p04.dat"), "JF");
}

TEST_F(GameTest, TheNameDialogSetsTheNamesOrKeepsThemWhenClosed) {
  folder.SetScript("1000,g4,,,,,,,,,,,\r\n1000,,,,,,,,&1&2,,,1,\r\n1001,,,,,,,,end,,,,\r\n");
  ASSERT_TRUE(StartGame());
  std::vector<std::string> shown;
  events.onEvent = [&](const GameEvent& event) {
    if (const auto* message = std::get_if<TextEvent>(&event)) shown.push_back(message->text);
  };
  host.onDoEvents = [&] {
    if (game->Waiting() == WaitState::Dialog && !host.InputPending()) {
      host.PostDialogInput(InputEvent::Kind::Type, "山田　花子");
      host.PostDialogInput(InputEvent::Kind::Press, "Command1");
    }
    ContinueClickWait();
  };
  game->title.Tmenu_MouseDown(1);
  EXPECT_EQ(shown, std::vector<std::string>{"山田花子"});
  EXPECT_TRUE(game->form.window.Enabled());

  // Closing by the close box keeps the default names and the story goes on.
  shown.clear();
  host.onDoEvents = [&] {
    if (game->Waiting() == WaitState::Dialog && !host.InputPending()) {
      host.PostDialogInput(InputEvent::Kind::DialogClose);
    }
    ContinueClickWait();
  };
  game->title.Tmenu_MouseDown(1);
  EXPECT_EQ(shown, std::vector<std::string>{"桐原ほのか"});
}

TEST_F(GameTest, TheNameDialogTakesEnterAsOkAndEscapeAsItsCloseBox) {
  folder.SetScript("1000,g4,,,,,,,,,,,\r\n1000,,,,,,,,&1&2,,,1,\r\n1001,,,,,,,,end,,,,\r\n");
  ASSERT_TRUE(StartGame());
  std::vector<std::string> shown;
  events.onEvent = [&](const GameEvent& event) {
    if (const auto* message = std::get_if<TextEvent>(&event)) shown.push_back(message->text);
  };
  struct Case {
    int16_t key;
    const char* names;
  };
  // Enter takes the typed name; Escape keeps the names, and the story goes
  // on either way.
  for (const Case& c : {Case{kKeyReturn, "山田花子"}, Case{kKeyEscape, "桐原ほのか"}}) {
    shown.clear();
    host.onDoEvents = [&] {
      if (game->Waiting() == WaitState::Dialog && !host.InputPending()) {
        host.PostDialogInput(InputEvent::Kind::Type, "山田　花子");
        host.PostKey(c.key);
      }
      ContinueClickWait();
    };
    game->title.Tmenu_MouseDown(1);
    EXPECT_EQ(shown, std::vector<std::string>{c.names}) << c.key;
    EXPECT_FALSE(game->nameEntry.IsOpen());
    EXPECT_TRUE(game->form.window.Enabled());
  }
}

}  // namespace
}  // namespace dovetail
