#include "graphics/BitmapFile.h"
#include "script/DataFolder.h"
#include "script/SaveFile.h"
#include "shell/Game.h"
#include "shell/HeroName.h"

namespace dovetail {

namespace {

constexpr int32_t kItemLeft = 405;
constexpr int32_t kItemTop = 237;
constexpr int32_t kItemWidth = 140;
constexpr int32_t kItemHeight = 27;
constexpr int32_t kHighlightLeft = 270;
constexpr int32_t kHighlightTop = 330;
constexpr int16_t kExtraStoryLabel = 1059;

int32_t ItemTop(int index) {
  return kItemTop + kItemHeight * (index - 1);
}

}  // namespace

void Game::ShowTitle() {
  const std::string titleMusic = DataFile(DataPath, "01.mid").string();
  if (mci.CurrentBgm() != titleMusic) {
    mci.StopBgm();
    mci.PlayBgm(titleMusic);
  }
  auto picture = LoadBitmapFile(DataFile(DataPath, "p03.dat"));
  if (!picture.ok()) FatalError(picture.error().message);
  form.window.SetPicture(std::move(*picture));
  ShowTitleItems();
  form.PicMain.SetVisible(false);
  for (PictureBox* box : {form.MesBox[0], form.MesBox[1], form.Doll_Disp[0], form.Doll_Disp[1]}) {
    box->SetVisible(false);
  }
  RankingShown = false;
  for (MenuItem* item : {&form.speedup, &form.vers, &form.ends, &form.opt})
    item->SetEnabled(true);
  NewGame(story);
  CurCategory = 4;
}

// Shows the five entries in their normal look, the window picture beneath
// them; the extra story only after the clear marker.
void Game::ShowTitleItems() {
  const Surface* picture = form.window.Picture() ? &*form.window.Picture() : nullptr;
  for (int i = 1; i <= 5; ++i) {
    PictureBox& item = *form.Tmenu[i];
    item.Move(kItemLeft, ItemTop(i), kItemWidth, kItemHeight);
    if (picture != nullptr) {
      BitBlt(item.Image(), 0, 0, kItemWidth, kItemHeight, *picture, kItemLeft, ItemTop(i));
    }
    item.SetEnabled(true);
    item.SetVisible(i != 3 || settings.Cleared);
  }
}

void Game::Tmenu_MouseMove(int index) {
  const int highlighted = CurCategory;
  if (index == highlighted || highlighted == 0) return;
  PictureBox& item = *form.Tmenu[index];
  BitBlt(item.Image(), 0, 0, kItemWidth, kItemHeight, form.GItems.Image(), kHighlightLeft,
         kHighlightTop + kItemHeight * (index - 1));
  if (form.window.Picture()) {
    BitBlt(form.Tmenu[highlighted]->Image(), 0, 0, kItemWidth, kItemHeight, *form.window.Picture(),
           kItemLeft, ItemTop(highlighted));
  }
  item.Refresh();
  CurCategory = static_cast<int16_t>(index);
}

void Game::Tmenu_MouseDown(int index) {
  for (int i = 1; i <= 5; ++i) {
    form.Tmenu[i]->SetVisible(false);
    form.Tmenu[i]->SetEnabled(false);
  }
  switch (index) {
    case 1:
      StoryInit();
      interpreter.RunScript();
      break;
    case 2:
      LoadGame(story, interpreter, host, DataPath);
      StoryInit();
      interpreter.RunScript();
      break;
    case 3:
      story.StageNo = 2;
      story.CurLabel = kExtraStoryLabel;
      interpreter.FindLabel(kExtraStoryLabel);
      StoryInit();
      interpreter.RunScript();
      break;
    case 4:
      if (dispRanking) dispRanking(0);
      break;
    case 5:
      host.MessageBox({"終了します.", kAppTitle, MessageBoxButtons::Ok});
      Form_Unload();
  }
  // A story that ran to its last record leaves its last scene on the stage:
  // go back to the title picture rather than show the menu over the story.
  if (form.PicMain.Visible() && !RankingShown) {
    ShowTitle();
    return;
  }
  ShowTitleItems();
}

void Game::StoryInit() {
  pictures.StoryInit();
  // Characters of an earlier story do not stand in the new one.
  for (PictureBox* sprite : form.Doll_Disp)
    sprite->SetVisible(false);
  for (auto& positions : pictures.DollShown)
    positions.fill(0);
  messages.BaseFontSize = BaseFontSize;
  PictureBox& picMain = form.PicMain;
  picMain.Move(0, 0, 640, 480);
  auto picture = LoadBitmapFile(DataFile(DataPath, "p03.dat"));
  if (!picture.ok()) FatalError(picture.error().message);
  picMain.SetPicture(std::move(*picture));
  picMain.SetVisible(true);
  form.window.ClearPicture();

  PictureBox& page = *form.MesBox[0];
  page.font = FontSpec{"ＭＳ Ｐゴシック", static_cast<float>(BaseFontSize), true, false};
  page.SetForeColor(kWhite);
  page.Move(0, 400, 640, 80);
  page.SetBackColor(kBlack);
  PictureBox& strip = *form.MesBox[1];
  strip.Move(0, 0, 640, 20);
  strip.SetBackColor(kBlack);

  Shape& blinker = form.Blinker;
  blinker.left = 600;
  blinker.top = 60;
  blinker.width = 10;
  blinker.height = 10;

  for (int k = 0; k < 6; ++k) {
    PictureBox& choice = *form.SelTxt[k];
    choice.Move(k < 3 ? 50 : 330, 135 + 60 * (k % 3), 255, 37);
    choice.SetVisible(false);
    choice.font = page.font;
    choice.SetForeColor(kWhite);
  }
  form.window.Refresh();

  MessageState& message = story.message;
  if (message.MessageMode == 0) {
    message.MessageMode = 1;
    message.WaitFlag = true;
    form.speedup.SetCaption("次の選択まで進む");
  }
}

}  // namespace dovetail
