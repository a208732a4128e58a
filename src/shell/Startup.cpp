#include "shell/Startup.h"

#include <memory>
#include <system_error>

#include "base/ProgramExit.h"
#include "graphics/BitmapFile.h"
#include "graphics/CursorFile.h"
#include "host/ScreenSize.h"
#include "minigame/RankingFile.h"
#include "storage/DataFolder.h"

namespace dovetail {

namespace fs = std::filesystem;

namespace {

constexpr Pixel kProgressGrey = Rgb(128, 128, 128);
constexpr Pixel kProgressGreen = Rgb(160, 220, 115);

}  // namespace

Startup::Startup(const SceneContext& scene, Settings& settings, Sound& sound, Pictures& pictures,
                 Shutdown& shutdown, TitleScreen& title)
    : scene_(scene),
      settings_(settings),
      sound_(sound),
      pictures_(pictures),
      shutdown_(shutdown),
      title_(title) {}

void Startup::LoadPictureInto(PictureBox& box, std::string_view name) {
  auto picture = LoadPicture(scene_.paths.DataPath, name);
  if (!picture.ok()) throw GameFailure{picture.error().message};
  box.SetPicture(std::move(*picture));
}

void Startup::Form_Load() {
  MainForm& form = scene_.form;
  StoryState& story = scene_.story;
  Host& host = scene_.host;
  const GamePaths& paths = scene_.paths;
  story.StageNo = 2;
  story.message = MessageState{};
  settings_.sound = SoundFlags{};
  story.NameEntered = false;
  for (MenuItem* item : {&form.speedup, &form.vers, &form.ends, &form.opt})
    item->SetEnabled(false);

  if (!scene_.files.State(kSettingsFile).exists) {
    throw GameFailure{"DATAフォルダの内容が不正です."};
  }

  form.window.Refresh();
  host.DoEvents();

  PictureBox& picMain = form.PicMain;
  picMain.SetBackColor(kWhite);
  picMain.Move(0, 0, kScreenWidth, kScreenHeight);
  picMain.font = FontSpec{"ＭＳ ゴシック", 12, true, false};
  picMain.SetForeColor(kWhite);
  picMain.SetVisible(true);

  scene_.effects.EffectCode = "BI";
  LoadPictureInto(form.PicMainBak, kSplashPicture);
  scene_.effects.RunEffect(picMain, form.PicMainBak);
  host.DoEvents();

  ShowProgress(0);
  auto read = ReadSettings(scene_.files);
  if (!read.ok()) throw GameFailure{read.error().message};
  settings_ = std::move(*read);
  sound_.StartUp();

  ShowProgress(20);
  if (paths.writesDataFolder) shutdown_.HeadersRestored();
  const auto progress = [this](int16_t percent) { ShowProgress(percent); };
  if (Status status = PrepareAssets(paths, progress); !status)
    throw GameFailure{status.error().message};
  ShowProgress(40);

  LoadPictureInto(form.GItems, kInterfaceSheet);
  if (Status status = LoadScript(paths.DataPath, story.tables, progress); !status) {
    throw GameFailure{status.error().message};
  }

  if (Status status = pictures_.LoadFaceTable(); !status) throw GameFailure{status.error().message};

  auto cursor = LoadCursorFile(DataFile(paths.DataPath, kChoiceCursor));
  if (!cursor.ok()) throw GameFailure{cursor.error().message};
  auto shared = std::make_shared<const Cursor>(std::move(*cursor));
  for (PictureBox* choice : form.SelTxt) {
    choice->mouseIcon = shared;
    form.window.BringToFront(*choice);
  }
  form.window.BringToFront(form.LOAD_NOW);

  // A missing or malformed ranking starts with an empty table, as it always
  // has: the reason is of no use to the player.
  static_cast<void>(ReadRankingFile(scene_.files, story.Ranking));

  ShowProgress(100);
  title_.ShowTitle();
}

void Startup::ShowProgress(int16_t percent) {
  PictureBox& bar = scene_.form.LOAD_NOW;
  if (percent == 0) {
    bar.Move(224, 292, 200, 30);
    bar.SetBackColor(kWhite);
    bar.font = FontSpec{"Arial", 8, false, false};
    bar.SetForeColor(kProgressGrey);
    scene_.text.DrawText(bar, 5, 0, "Loading now");
    bar.Image().DrawRectOutline(80, 3, 180, 12, kProgressGrey);
    bar.SetVisible(true);
    bar.Refresh();
    return;
  }
  // Drawn over what is there: a smaller value after a larger one changes nothing.
  const int16_t shown = percent >= 100 ? int16_t{100} : percent;
  if (shown > 0) {
    bar.Image().FillRect(81, 5, 79 + shown - 81 + 1, 10 - 5 + 1, kProgressGreen);
    bar.Refresh();
  }
  if (percent >= 100) {
    sound_.PlayWave(Sound::kSynchronousWave);
    scene_.host.Sleep(500);
    bar.SetVisible(false);
    bar.SetEnabled(false);
    scene_.host.DoEvents();
    scene_.host.Sleep(500);
  }
}

}  // namespace dovetail
