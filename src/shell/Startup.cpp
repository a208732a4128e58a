#include <system_error>

#include "base/ProgramExit.h"
#include "graphics/BitmapFile.h"
#include "graphics/CursorFile.h"
#include "graphics/TextRenderer.h"
#include "minigame/RankingFile.h"
#include "script/DataFolder.h"
#include "shell/Game.h"

namespace dovetail {

namespace fs = std::filesystem;

namespace {

constexpr int kStartUpFailedExit = 1;
constexpr Pixel kProgressGrey = Rgb(128, 128, 128);
constexpr Pixel kProgressGreen = Rgb(160, 220, 115);

// Disguises every picture file again and removes the decoded script copies:
// what shutdown does to the data folder, also after a failed start-up.
void RestoreDataFolderAtRest(const fs::path& dataPath) {
  for (const char* name : kPictureFiles) {
    const fs::path path = DataFile(dataPath, name);
    std::error_code ec;
    if (fs::exists(path, ec)) HideHeader(path);
  }
  RemoveLeftovers(dataPath);
}

}  // namespace

void Game::ChooseDataFolder() {
  BasePath = programFolder_;
  // The sub-folder is found like every data file, whatever the case of its
  // name ("Data", "DATA").
  const fs::path data = DataFile(BasePath, "data");
  std::error_code ec;
  DataPath = fs::is_directory(data, ec) ? data : BasePath;
}

void Game::FatalError(const std::string& message) {
  unloading_ = true;
  host.MessageBox({message, kAppTitle, MessageBoxButtons::Ok});
  if (headersRestored_) RestoreDataFolderAtRest(DataPath);
  throw ProgramExit{kStartUpFailedExit};
}

void Game::LoadPictureInto(PictureBox& box, const char* name) {
  auto picture = LoadBitmapFile(DataFile(DataPath, name));
  if (!picture.ok()) FatalError(picture.error().message);
  box.SetPicture(std::move(*picture));
}

void Game::Form_Load() {
  story.StageNo = 2;
  story.message = MessageState{};
  BaseFontSize = 12;
  settings.sound = SoundFlags{};
  story.NameEntered = false;
  for (MenuItem* item : {&form.speedup, &form.vers, &form.ends, &form.opt})
    item->SetEnabled(false);

  ChooseDataFolder();
  std::error_code ec;
  if (!fs::exists(DataFile(DataPath, "20.dat"), ec)) {
    host.MessageBox({"DATAフォルダの内容が不正です.", kAppTitle, MessageBoxButtons::Ok});
    throw ProgramExit{kStartUpFailedExit};
  }

  form.window.Refresh();
  host.DoEvents();

  PictureBox& picMain = form.PicMain;
  picMain.SetBackColor(kWhite);
  picMain.Move(0, 0, 640, 480);
  picMain.font = FontSpec{"ＭＳ ゴシック", 12, true, false};
  picMain.SetForeColor(kWhite);
  picMain.SetVisible(true);

  effects.EffectCode = "BI";
  LoadPictureInto(form.PicMainBak, "P99.dat");
  effects.RunEffect(picMain, form.PicMainBak);
  host.DoEvents();

  ShowProgress(0);
  auto read = ReadSettings(DataFile(DataPath, "20.dat"));
  if (!read.ok()) FatalError(read.error().message);
  settings = std::move(*read);
  mci.StartUp();

  ShowProgress(20);
  headersRestored_ = true;
  const auto progress = [this](int16_t percent) { ShowProgress(percent); };
  if (Status status = PrepareAssets(DataPath, progress); !status)
    FatalError(status.error().message);
  ShowProgress(40);

  LoadPictureInto(form.GItems, "90.dat");
  if (Status status = LoadScript(DataPath, story.tables, progress); !status) {
    FatalError(status.error().message);
  }

  if (Status status = pictures.LoadFaceTable(); !status) FatalError(status.error().message);

  auto cursor = LoadCursorFile(DataFile(DataPath, "select.cur"));
  if (!cursor.ok()) FatalError(cursor.error().message);
  auto shared = std::make_shared<const Cursor>(std::move(*cursor));
  for (PictureBox* choice : form.SelTxt) {
    choice->mouseIcon = shared;
    form.window.BringToFront(*choice);
  }
  form.window.BringToFront(form.LOAD_NOW);

  // A missing or malformed ranking starts with an empty table.
  ReadRankingFile(DataFile(DataPath, "30.dat"), story.Ranking);

  ShowProgress(100);
  ShowTitle();
}

void Game::ShowProgress(int16_t percent) {
  PictureBox& bar = form.LOAD_NOW;
  if (percent == 0) {
    bar.Move(224, 292, 200, 30);
    bar.SetBackColor(kWhite);
    bar.font = FontSpec{"Arial", 8, false, false};
    bar.SetForeColor(kProgressGrey);
    text.DrawText(bar, 5, 0, "Loading now");
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
    mci.PlayWave(Mci::kSynchronousWave);
    host.Sleep(500);
    bar.SetVisible(false);
    bar.SetEnabled(false);
    host.DoEvents();
    host.Sleep(500);
  }
}

void Game::PutDataFolderAtRest() {
  if (!DataPath.empty()) RestoreDataFolderAtRest(DataPath);
}

void Game::Form_Unload() {
  unloading_ = true;
  mci.ShutDown();
  if (!DataPath.empty()) RestoreDataFolderAtRest(DataPath);
  host.DoEvents();
  throw ProgramExit{0};
}

}  // namespace dovetail
