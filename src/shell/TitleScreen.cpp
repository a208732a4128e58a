#include "shell/TitleScreen.h"

#include <cassert>
#include <utility>

#include "base/ProgramExit.h"
#include "graphics/BitmapFile.h"
#include "host/ScreenSize.h"
#include "saves/SaveFile.h"
#include "scene/PlayerInput.h"
#include "screen/PictureRegions.h"
#include "shell/HeroName.h"
#include "storage/DataFolder.h"

namespace dovetail {

namespace {

// The title picture draws every entry in its normal look; an entry that is not
// offered (the extra story before it is unlocked) is hidden, and the picture
// under it is faded to a flat grey so that it reads as unavailable.
void ShowUnavailableLook(Surface& picture, const Rect& item) {
  for (int32_t y = item.y; y < item.y + item.h && y < picture.Height(); ++y) {
    Pixel* row = picture.Row(y);
    for (int32_t x = item.x; x < item.x + item.w && x < picture.Width(); ++x) {
      const uint32_t luma = (77 * RedOf(row[x]) + 150 * GreenOf(row[x]) + 29 * BlueOf(row[x])) >> 8;
      const uint32_t grey = 104 + luma / 3;
      row[x] = Rgb(grey, grey, grey);
    }
  }
}

}  // namespace

void EnterExtraStory(StoryState& story, Interpreter& interpreter) {
  story.StageNo = 2;
  story.CurLabel = kExtraStoryLabel;
  interpreter.FindLabel(kExtraStoryLabel);
}

TitleScreen::TitleScreen(const SceneContext& scene, const Settings& settings, Sound& sound,
                         Interpreter& interpreter, Pictures& pictures, Shutdown& shutdown,
                         std::function<void(int16_t mode)> dispRanking,
                         std::function<bool()> rankingShown)
    : scene_(scene),
      settings_(settings),
      sound_(sound),
      interpreter_(interpreter),
      pictures_(pictures),
      shutdown_(shutdown),
      dispRanking_(std::move(dispRanking)),
      rankingShown_(std::move(rankingShown)) {
  assert(dispRanking_ && "the title's ranking entry needs a screen to show");
  for (int i = 1; i <= kTitleEntries; ++i) {
    PictureBox& item = *scene_.form.Tmenu[i];
    item.onMouseMove = [this, i](const MouseEvent&) { Tmenu_MouseMove(i); };
    item.onMouseDown = [this, i](const MouseEvent&) { Tmenu_MouseDown(i); };
  }
  // The pointer on the title picture beside the entries.
  scene_.form.window.onMouseMove = [this](const MouseEvent&) {
    if (Waiting()) ClearHighlight();
  };
}

bool TitleScreen::KeyDown(int16_t keyCode) {
  if (!Waiting()) return false;
  MainForm& form = scene_.form;
  if (keyCode == kKeyReturn) {
    if (!highlightShown_ || CurCategory < 1) return false;
    Tmenu_MouseDown(CurCategory);
    return true;
  }
  const int step = keyCode == kKeyUp ? -1 : keyCode == kKeyDown ? 1 : 0;
  if (step == 0 || CurCategory < 1) return false;
  // The next entry offered (the extra story may be hidden), round the ends.
  int next = CurCategory;
  for (int tries = 0; tries < kTitleEntries; ++tries) {
    next = (next - 1 + step + kTitleEntries) % kTitleEntries + 1;
    if (form.Tmenu[next]->Visible()) break;
  }
  Tmenu_MouseMove(next);
  return true;
}

void TitleScreen::WireKeys() {
  GiveKeysFirstTo(scene_.form, [this](int16_t keyCode) { return KeyDown(keyCode); });
}

bool TitleScreen::Waiting() const {
  const MainForm& form = scene_.form;
  const PictureBox& first = *form.Tmenu[1];
  return first.Visible() && first.Enabled() && form.window.Enabled();
}

void TitleScreen::ShowTitle() {
  MainForm& form = scene_.form;
  const std::string titleMusic = DataFile(scene_.paths.DataPath, kTitleMusic).string();
  if (sound_.CurrentBgm() != titleMusic) {
    sound_.StopBgm();
    sound_.PlayBgm(titleMusic);
  }
  auto picture = LoadPicture(scene_.paths.DataPath, kTitlePicture);
  if (!picture.ok()) throw GameFailure{picture.error().message};
  if (!settings_.Cleared) ShowUnavailableLook(*picture, TitleItem(kExtraStoryEntry));
  form.window.SetPicture(std::move(*picture));
  ShowTitleItems();
  form.PicMain.SetVisible(false);
  for (PictureBox* box : {form.MesBox[0], form.MesBox[1], form.Doll_Disp[0], form.Doll_Disp[1]}) {
    box->SetVisible(false);
  }
  for (MenuItem* item : {&form.speedup, &form.vers, &form.ends, &form.opt})
    item->SetEnabled(true);
  NewGame(scene_.story);
  CurCategory = kRankingEntry;
  if (onTitleShown) onTitleShown();
}

void TitleScreen::ShowTitleItems() {
  MainForm& form = scene_.form;
  const Surface* picture = form.window.Picture() ? &*form.window.Picture() : nullptr;
  for (int i = 1; i <= kTitleEntries; ++i) {
    PictureBox& item = *form.Tmenu[i];
    const Rect place = TitleItem(i);
    item.Move(place.x, place.y, place.w, place.h);
    if (picture != nullptr)
      BitBlt(item.Image(), 0, 0, place.w, place.h, *picture, place.x, place.y);
    item.SetEnabled(true);
    item.SetVisible(i != kExtraStoryEntry || settings_.Cleared);
  }
  highlightShown_ = false;
}

void TitleScreen::Tmenu_MouseMove(int index) {
  MainForm& form = scene_.form;
  const int highlighted = CurCategory;
  if (highlighted == 0 || (index == highlighted && highlightShown_)) return;
  PictureBox& item = *form.Tmenu[index];
  const Rect look = TitleHighlight(index);
  BitBlt(item.Image(), 0, 0, look.w, look.h, form.GItems.Image(), look.x, look.y);
  if (index != highlighted) ShowNormalLook(highlighted);
  item.Refresh();
  CurCategory = static_cast<int16_t>(index);
  highlightShown_ = true;
}

void TitleScreen::ShowNormalLook(int index) {
  MainForm& form = scene_.form;
  if (!form.window.Picture()) return;
  const Rect normal = TitleItem(index);
  BitBlt(form.Tmenu[index]->Image(), 0, 0, normal.w, normal.h, *form.window.Picture(), normal.x,
         normal.y);
  form.Tmenu[index]->Refresh();
}

void TitleScreen::ClearHighlight() {
  if (!highlightShown_) return;
  highlightShown_ = false;
  const int highlighted = CurCategory;
  if (highlighted >= 1 && highlighted <= kTitleEntries) ShowNormalLook(highlighted);
}

void TitleScreen::Tmenu_MouseDown(int index) {
  MainForm& form = scene_.form;
  StoryState& story = scene_.story;
  ClearHighlight();
  for (int i = 1; i <= kTitleEntries; ++i) {
    form.Tmenu[i]->SetVisible(false);
    form.Tmenu[i]->SetEnabled(false);
  }
  // The menu leaves the screen now, before whatever the entry opens (the
  // quit message box is modal and would stand over a stale highlight).
  form.window.Refresh();
  switch (index) {
    case kNewStoryEntry:
      StoryInit();
      interpreter_.RunScript();
      break;
    case kLoadEntry:
      LoadGame(story, interpreter_, scene_.host, scene_.files);
      StoryInit();
      interpreter_.RunScript();
      break;
    case kExtraStoryEntry:
      EnterExtraStory(story, interpreter_);
      StoryInit();
      interpreter_.RunScript();
      break;
    case kRankingEntry:
      dispRanking_(0);
      break;
    case kQuitEntry:
      scene_.host.MessageBox({"終了します.", kAppTitle, MessageBoxButtons::Ok});
      shutdown_.Form_Unload();
  }
  // A story that ran to its last record leaves its last scene on the stage:
  // go back to the title picture rather than show the menu over the story.
  if (form.PicMain.Visible() && !rankingShown_()) {
    ShowTitle();
    return;
  }
  ShowTitleItems();
}

void TitleScreen::StoryInit() {
  MainForm& form = scene_.form;
  pictures_.StoryInit();
  // Characters of an earlier story do not stand in the new one.
  for (PictureBox* sprite : form.Doll_Disp)
    sprite->SetVisible(false);
  for (auto& positions : pictures_.DollShown)
    positions.fill(0);
  MessageState& message = scene_.story.message;
  PictureBox& picMain = form.PicMain;
  picMain.Move(0, 0, kScreenWidth, kScreenHeight);
  auto picture = LoadPicture(scene_.paths.DataPath, kTitlePicture);
  if (!picture.ok()) throw GameFailure{picture.error().message};
  picMain.SetPicture(std::move(*picture));
  picMain.SetVisible(true);
  form.window.ClearPicture();

  PictureBox& page = *form.MesBox[0];
  page.font = FontSpec{"ＭＳ Ｐゴシック", static_cast<float>(message.BaseFontSize), true, false};
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

  if (message.MessageMode == 0) {
    message.MessageMode = 1;
    message.WaitFlag = true;
    form.speedup.SetCaption(kSkipOffCaption);
  }
  if (onStoryStarts) onStoryStarts();
}

}  // namespace dovetail
