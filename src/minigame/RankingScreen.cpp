#include "minigame/RankingScreen.h"

#include <utility>

#include "base/ProgramExit.h"
#include "graphics/BitmapFile.h"
#include "host/ScreenSize.h"
#include "minigame/CafeEvents.h"
#include "minigame/RankingFile.h"
#include "minigame/RankingRules.h"
#include "screen/PictureRegions.h"
#include "storage/DataFolder.h"
#include "story/Interpreter.h"

namespace dovetail {

namespace {

constexpr const char* kRankingPicture = "p07.dat";
constexpr int32_t kNameLeft = 155;
// The score's last digit ends at this x; each character is 12 pixels wide.
constexpr int32_t kScoreRight = 390;
constexpr int32_t kScoreCharWidth = 12;
constexpr int32_t kGradeLeft = 480;
constexpr Pixel kNewRowColor = Rgb(255, 255, 0);

}  // namespace

RankingScreen::RankingScreen(const SceneContext& scene, CafeEvents& events, Sound& sound,
                             std::function<void()> showTitle)
    : Ranking_exit(scene.form.window.AddPictureBox("Ranking_exit")),
      scene_(scene),
      events_(events),
      sound_(sound),
      showTitle_(std::move(showTitle)) {
  Ranking_exit.onMouseMove = [this](const MouseEvent&) { Ranking_exit_MouseMove(); };
  Ranking_exit.onClick = [this] { Ranking_exit_Click(); };
  scene_.form.PicMainBak.onMouseMove = [this](const MouseEvent&) { PicMainBak_MouseMove(); };
}

void RankingScreen::DispRanking(int16_t mode) {
  MainForm& form = scene_.form;
  StoryState& story = scene_.story;
  form.MesBox[0]->SetVisible(false);
  form.MesBox[1]->SetVisible(false);
  sound_.PlayBgm(DataFile(scene_.paths.DataPath, kTitleMusic).string());

  int16_t pos = 0;
  if (mode >= 1) {
    pos = RankingPlace(story.Ranking, story.Ranking[0].Score);
    if (pos == 0) {
      events_.Report(RankingEvent{mode, 0, false, {}});
      HideScreen();
      showTitle_();
      return;
    }
    InsertResult(story.Ranking, pos);
    const Status written = WriteRankingFile(scene_.files, story.Ranking);
    if (!written.ok() && !writeFailureReported_) {
      writeFailureReported_ = true;
      scene_.host.MessageBox(
          {written.error().message + "\r\nThe ranking is shown but could not be kept.", kAppTitle,
           MessageBoxButtons::Ok});
    }
  }

  PictureBox& screen = form.PicMainBak;
  screen.Move(0, 0, kScreenWidth, kScreenHeight);
  auto picture = LoadPicture(scene_.paths.DataPath, kRankingPicture);
  if (!picture.ok()) throw GameFailure{picture.error().message};
  screen.SetPicture(std::move(*picture));
  screen.font = FontSpec{"ＭＳ ゴシック", 16, false, false};

  scene_.effects.EffectCode = "BC";
  scene_.effects.RunEffect(form.PicMain, screen);

  const Rect exit = kRankingExit;
  Ranking_exit.Move(exit.x, exit.y, exit.w, exit.h);
  BitBlt(Ranking_exit.Image(), 0, 0, exit.w, exit.h, screen.Image(), exit.x, exit.y);
  Ranking_exit.SetVisible(true);
  form.window.BringToFront(Ranking_exit);

  RankingShown = true;
  screen.SetVisible(true);
  form.PicMain.SetVisible(false);
  events_.Report(RankingEvent{mode, pos, true, DrawRows(pos)});
}

std::vector<RankingRow> RankingScreen::DrawRows(int16_t pos) {
  PictureBox& screen = scene_.form.PicMainBak;
  std::vector<RankingRow> rows;
  for (int16_t rank = 1; rank <= 5; ++rank) {
    const RankEntry& entry = scene_.story.Ranking[rank];
    if (entry.Score == 0) continue;
    const int32_t y = RankingRowY(rank);
    const Pixel color = rank == pos ? kNewRowColor : kWhite;
    const std::string score = std::to_string(entry.Score);
    const int32_t scoreLeft = kScoreRight - kScoreCharWidth * static_cast<int32_t>(score.size());
    // The whole name is drawn, whatever mix of full- and half-width
    // characters it holds.
    scene_.text.DrawText(screen.Image(), kNameLeft, y, entry.Name, screen.font, color);
    scene_.text.DrawText(screen.Image(), scoreLeft, y, score, screen.font, color);
    scene_.text.DrawText(screen.Image(), kGradeLeft, y, entry.Grade, screen.font, color);
    rows.push_back({rank, entry.Name, entry.Score, entry.Grade});
  }
  screen.Refresh();
  return rows;
}

void RankingScreen::Ranking_exit_MouseMove() {
  const Rect hover = kRankingExitHover;
  BitBlt(Ranking_exit.Image(), 0, 0, hover.w, hover.h, scene_.form.GItems.Image(), hover.x,
         hover.y);
  Ranking_exit.Refresh();
}

void RankingScreen::PicMainBak_MouseMove() {
  if (RankingShown) {
    const Rect normal = kRankingExit;
    BitBlt(Ranking_exit.Image(), 0, 0, normal.w, normal.h, scene_.form.PicMainBak.Image(), normal.x,
           normal.y);
  }
  Ranking_exit.Refresh();
}

void RankingScreen::Ranking_exit_Click() {
  HideScreen();
  showTitle_();
}

void RankingScreen::HideScreen() {
  MainForm& form = scene_.form;
  form.PicMainBak.SetVisible(false);
  Ranking_exit.SetVisible(false);
  form.PicMain.SetVisible(false);
  RankingShown = false;
}

}  // namespace dovetail
