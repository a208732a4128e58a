#include "scene/Ending.h"

#include <utility>

#include "base/Cp932.h"
#include "base/ProgramExit.h"
#include "graphics/BitmapFile.h"
#include "host/Waits.h"
#include "scene/SceneEvents.h"
#include "storage/DataFolder.h"

namespace dovetail {

namespace {

// The staff-roll panel's place and size on the screen.
constexpr int32_t kPanelLeft = 240;
constexpr int32_t kPanelTop = 100;
constexpr int32_t kPanelWidth = 170;
constexpr int32_t kPanelHeight = 80;
// The panel opens and closes one pixel column per step at this pace.
constexpr uint32_t kColumnMs = 30;
// A name's right end, and the width given to each of its ANSI bytes.
constexpr int32_t kNameRight = 170;
constexpr int32_t kNameByteWidth = 13;

struct CreditBlock {
  const char* role1;
  const char* role2;  // empty when the role takes one line
  const char* name;
  int16_t ms;
};

constexpr CreditBlock kCredits[] = {
    {"原案・構成", "", "Quill", 4000},
    {"背景・キャラクター", "　デザイン", "Quill", 4000},
    {"プログラム", "", "Sprocket", 4000},
    {"製作・著作", "", "Fernleaf", 5000},
};

constexpr int kDarkeningSteps = 5;

}  // namespace

Ending::Ending(const SceneContext& scene, SceneEvents& events,
               std::function<void(int16_t mode)> dispRanking)
    : scene_(scene), events_(events), dispRanking_(std::move(dispRanking)) {}

void Ending::PlayEnding() {
  MainForm& form = scene_.form;
  Host& host = scene_.host;
  const bool staffRoll = PlaysStaffRoll(scene_.story.counters);
  EnableStoryInput(false);
  events_.Report(EndingEvent{staffRoll});

  // The ending's own picture comes onto the screen before the waits, so that
  // the staff roll runs over it and the darkening darkens it. The message
  // window and the characters belong to the last scene and leave with it.
  HideStory();
  ShowEndingPicture(staffRoll ? "p06.dat" : "p05.dat");
  scene_.effects.EffectCode = "DK2";
  if (staffRoll) {
    PlayStaffRoll();
  } else {
    WaitMs(host, 2000);
  }

  HideStory();
  WaitMs(host, 1000);
  for (int step = 0; step < kDarkeningSteps; ++step) {
    scene_.effects.EffectCode = "DK2";
    scene_.effects.RunEffect(form.PicMain, form.PicMain);
    WaitMs(host, 500);
  }
  EnableStoryInput(true);
  dispRanking_(1);
}

void Ending::EnableStoryInput(bool enabled) {
  MainForm& form = scene_.form;
  for (PictureBox* box :
       {form.MesBox[0], form.MesBox[1], form.Doll_Disp[0], form.Doll_Disp[1], &form.PicMain})
    box->SetEnabled(enabled);
  for (MenuItem* item : {&form.ends, &form.opt, &form.speedup, &form.vers})
    item->SetEnabled(enabled);
}

void Ending::HideStory() {
  MainForm& form = scene_.form;
  for (PictureBox* box : {form.MesBox[0], form.MesBox[1], form.Doll_Disp[0], form.Doll_Disp[1]})
    box->SetVisible(false);
}

void Ending::ShowEndingPicture(const char* file) {
  MainForm& form = scene_.form;
  auto picture = LoadPicture(scene_.paths.DataPath, file);
  if (!picture.ok()) throw GameFailure{picture.error().message};
  form.PicMainBak.SetPicture(std::move(*picture));
  scene_.effects.EffectCode = "BC";
  scene_.effects.RunEffect(form.PicMain, form.PicMainBak);
}

void Ending::PlayStaffRoll() {
  MainForm& form = scene_.form;
  Host& host = scene_.host;
  form.MesBox[0]->SetVisible(false);
  form.MesBox[1]->SetVisible(false);
  WaitMs(host, 1000);
  WaitMs(host, 10000);

  form.PicMainBak.ClearPicture();
  PictureBox& panel = form.STAFF;
  panel.Move(kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight);
  BitBlt(panel.Image(), 0, 0, kPanelWidth, kPanelHeight, form.PicMain.Image(), kPanelLeft,
         kPanelTop);
  panel.SetForeColor(kWhite);
  panel.font = FontSpec{"ＭＳ Ｐ明朝", 12, false, false};
  panel.Refresh();
  form.window.BringToFront(panel);
  for (int i = 0; i < 2; ++i)
    scene_.effects.RunEffect(panel, panel);
  // The darkened panel is kept in the back buffer: the opening reveals it,
  // each credit is erased with it and the closing slides it away.
  BitBlt(form.PicMainBak.Image(), 0, 0, kPanelWidth, kPanelHeight, panel.Image(), 0, 0);
  form.PicMainBak.Refresh();

  OpenPanel();
  WaitMs(host, 2000);
  ShowCredits();
  WaitMs(host, 1000);
  ClosePanel();
  panel.SetVisible(false);
}

void Ending::OpenPanel() {
  PictureBox& panel = scene_.form.STAFF;
  const Surface& kept = scene_.form.PicMainBak.Image();
  panel.Move(kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight);
  panel.SetVisible(true);
  for (int32_t width = 1; width <= kPanelWidth; ++width) {
    panel.Move(kPanelLeft, kPanelTop, width, kPanelHeight);
    // The column that has just appeared (the panel's last one).
    BitBlt(panel.Image(), width - 1, 0, 1, kPanelHeight, kept, width - 1, 0);
    panel.Refresh();
    scene_.host.Sleep(kColumnMs);
    scene_.host.DoEvents();
  }
}

void Ending::ShowCredits() {
  PictureBox& panel = scene_.form.STAFF;
  const Surface& kept = scene_.form.PicMainBak.Image();
  for (const CreditBlock& block : kCredits) {
    scene_.text.DrawText(panel, 10, 10, block.role1);
    if (*block.role2 != '\0') scene_.text.DrawText(panel, 10, 30, block.role2);
    scene_.text.DrawText(panel, kNameRight - kNameByteWidth * AnsiLen(block.name), 50, block.name);
    panel.Refresh();
    WaitMs(scene_.host, block.ms);
    BitBlt(panel.Image(), 0, 0, kPanelWidth, kPanelHeight, kept, 0, 0);
    panel.Refresh();
    WaitMs(scene_.host, 2000);
  }
}

void Ending::ClosePanel() {
  PictureBox& panel = scene_.form.STAFF;
  const Surface& kept = scene_.form.PicMainBak.Image();
  for (int32_t i = 1; i <= kPanelWidth; ++i) {
    BitBlt(panel.Image(), 0, 0, kPanelWidth - i, kPanelHeight, kept, i, 0);
    panel.Refresh();
    panel.Move(kPanelLeft + i, kPanelTop, kPanelWidth - i, kPanelHeight);
    scene_.host.Sleep(kColumnMs);
    scene_.host.DoEvents();
  }
}

}  // namespace dovetail
