#include "minigame/CafeGame.h"

#include <algorithm>
#include <utility>

#include "host/Waits.h"
#include "minigame/CafeEvents.h"
#include "minigame/CafeRandom.h"
#include "minigame/DailyResultLog.h"
#include "minigame/ScoreLayout.h"
#include "minigame/StageCalendar.h"
#include "minigame/StageTicks.h"
#include "storage/DataFolder.h"

namespace dovetail::cafe {

namespace {

// Where the result panels go on the board; the grade glyph's place on it.
constexpr int32_t kPanelLeft = 92;
constexpr int32_t kPanelTop = 51;
constexpr int32_t kGlyphLeft = kPanelLeft + kPanelGrade.x;
constexpr int32_t kGlyphTop = kPanelTop + kPanelGrade.y;
constexpr int kGlyphBlinks = 3;
// The score fields: x of the daily and final columns, y of the three rows
// (each drawn 96 pixels lower).
constexpr int16_t kDailyScoreX = 215;
constexpr int16_t kFinalScoreX = 223;
constexpr int16_t kScoreRows[] = {0, 35, 70};
constexpr int32_t kScoreTop = 96;

constexpr int16_t kGradeSound = 103;
constexpr int16_t kScoreSound = 107;

}  // namespace

CafeGame::CafeGame(const SceneContext& scene, CafeEvents& events, Interpreter& interpreter,
                   Sound& sound, const CafeTables& tables, std::mt19937& random,
                   std::function<Status(int16_t)> markCleared)
    : board(scene, events, sound, tables),
      SScore(scene.form.window.AddPictureBox("SScore")),
      scene_(scene),
      events_(events),
      interpreter_(interpreter),
      sound_(sound),
      tables_(tables),
      random_(random),
      markCleared_(std::move(markCleared)),
      clock_(scene.host) {
  SScore.font = FontSpec{"ＭＳ Ｐゴシック", kScoreFontSize, true, true};
  SScore.SetForeColor(kWhite);
}

void CafeGame::PlayCafeStage() {
  if (const Status stage = CheckStageNo(scene_.story.StageNo); !stage.ok()) {
    interpreter_.ContentError(stage.error().message);
    return;
  }
  GameStart();
  StageScore();
  GameEnd();
}

void CafeGame::GameStart() {
  StoryState& story = scene_.story;
  Host& host = scene_.host;
  const int16_t stageNo = story.StageNo;
  events_.Report(StageEvent{stageNo, true});

  CafeRandom random(random_());
  CafeStage stage(stageNo, story.cafe, board, clock_, random);
  stage.Begin(tables_.StageTable[stageNo]);
  // The picture leaves the mouse to the board while the stage runs.
  TimeLeft = std::max<int16_t>(stage.State().TimeLeft, 1);

  sound_.StopBgm();
  host.DoEvents();
  sound_.PlayBgm(DataFile(scene_.paths.DataPath, kStageMusic).string());

  stage.ResetStage(story.Ranking[0], story.Names[1], story.Names[2]);
  board.Attach(&stage);
  board.SetupGameScreen(stageNo);
  WaitMs(host, 1000);

  stage_ = &stage;
  PlayStageTicks(host, stage);
  stage.EndStage();
  stage_ = nullptr;
  board.Attach(nullptr);
  TimeLeft = 0;
  events_.Report(StageEvent{stageNo, false});
}

int16_t CafeGame::LongestWaitingSeat() const {
  if (stage_ == nullptr) return 0;
  const StageState& state = stage_->State();
  const uint32_t now = scene_.host.TickCount();
  int16_t longest = 0;
  for (int16_t seat = 1; seat <= kSeatCount; ++seat) {
    if (!state.Servable[seat]) continue;
    if (longest == 0 || now - state.ArriveTick[seat] > now - state.ArriveTick[longest]) {
      longest = seat;
    }
  }
  return longest;
}

void CafeGame::CopyFromSheet(const Rect& part, int32_t x, int32_t y) {
  PictureBox& picMain = scene_.form.PicMain;
  BitBlt(picMain.Image(), x, y, part.w, part.h, scene_.form.GItems.Image(), part.x, part.y);
  picMain.Refresh();
}

void CafeGame::StageScore() {
  Host& host = scene_.host;
  const int16_t stageNo = scene_.story.StageNo;
  if (!IsEvaluatedStage(stageNo)) {
    WaitMs(host, 2000);
    return;
  }
  board.HideControls();
  scene_.effects.EffectCode = "DK";
  scene_.effects.RunEffect(scene_.form.PicMain, scene_.form.PicMain);
  CopyFromSheet(kDailyPanel, kPanelLeft, kPanelTop);

  const int16_t patience = tables_.StageTable[stageNo].PatienceStart;
  const DayResult result = ScoreDay(TallyDay(scene_.story.cafe, stageNo, patience), patience);
  ShowDayResult(result);
  WaitMs(host, 2000);
  if (IsFinalStage(stageNo)) ShowFinalResult();
  WaitMs(host, 2000);
}

void CafeGame::ShowDayResult(const DayResult& result) {
  StoryState& story = scene_.story;
  ShowScore(kDailyScoreX, kScoreRows[0], result.s1);
  ShowScore(kDailyScoreX, kScoreRows[1], result.s2);
  ShowScore(kDailyScoreX, kScoreRows[2], result.s3);
  WaitMs(scene_.host, 1000);
  RecordDay(story.cafe, story.Ranking[0], result);
  sound_.PlayWave(kGradeSound);
  CopyFromSheet(dovetail::DailyGrade(result.grade), kGlyphLeft, kGlyphTop);
  events_.Report(DayEvent{result.s1, result.s2, result.s3, result.day, result.grade});

  auto line = DailyResultLine(clock_.DateTimeText(), result);
  const Status written = line.ok() ? AppendDailyResult(scene_.files, *line) : Status(line.error());
  if (!written.ok()) ReportWriteFailure(written.error(), rankFailureReported_);
}

void CafeGame::ShowFinalResult() {
  StoryState& story = scene_.story;
  RankEntry& player = story.Ranking[0];
  CopyFromSheet(kFinalPanel, kPanelLeft, kPanelTop);
  const GameResult result = EvaluateGame(story.cafe);
  player.Score = result.total;
  ShowScore(kFinalScoreX, kScoreRows[0], result.total);
  ShowScore(kFinalScoreX, kScoreRows[1], result.bonus);
  player.Score = result.score;
  ShowScore(kFinalScoreX, kScoreRows[2], result.score);
  WaitMs(scene_.host, 1500);
  RecordGame(player, result);
  events_.Report(FinalEvent{result.total, result.bonus, result.score, result.letter});

  sound_.PlayWave(kGradeSound);
  for (int blink = 0; blink < kGlyphBlinks; ++blink) {
    CopyFromSheet(kFinalGradeBlank, kGlyphLeft, kGlyphTop);
    WaitMs(scene_.host, 500);
    CopyFromSheet(dovetail::FinalGrade(result.grade), kGlyphLeft, kGlyphTop);
    WaitMs(scene_.host, 500);
  }
  WaitMs(scene_.host, 2000);
}

void CafeGame::ShowScore(int16_t x, int16_t y, int32_t value) {
  Host& host = scene_.host;
  PictureBox& picMain = scene_.form.PicMain;
  const int32_t top = y + kScoreTop;
  SScore.Move(x, top, kScoreFieldWidth, kScoreFieldHeight);
  BitBlt(SScore.Image(), 0, 0, kScoreFieldWidth, kScoreFieldHeight, picMain.Image(), x, top);
  SScore.SetVisible(true);

  const ScoreLayout layout = LayOutScore(value);
  auto drawShadowed = [&](int32_t left, const std::string& text) {
    scene_.text.DrawText(SScore.Image(), left + 2, 2, text, SScore.font, kBlack);
    scene_.text.DrawText(SScore.Image(), left, 0, text, SScore.font, SScore.ForeColor());
  };
  // Digit by digit in 11-pixel cells: the stand-in font's digits are wider
  // than the original's, and drawn as one text the last would leave the field.
  for (size_t i = 0; i < layout.digits.size(); ++i) {
    drawShadowed(layout.digitsX + static_cast<int32_t>(i) * layout.digitWidth,
                 layout.digits.substr(i, 1));
  }
  if (layout.negative) drawShadowed(layout.minusX, "-");
  SScore.Refresh();
  host.DoEvents();
  host.Sleep(50);

  BitBlt(picMain.Image(), x, top, kScoreFieldWidth, kScoreFieldHeight, SScore.Image(), 0, 0);
  SScore.SetVisible(false);
  sound_.PlayWave(kScoreSound);
  host.Sleep(100);
  picMain.Refresh();
}

void CafeGame::GameEnd() {
  MainForm& form = scene_.form;
  Host& host = scene_.host;
  const int16_t stageNo = scene_.story.StageNo;
  board.HideControls();
  host.DoEvents();
  // The back buffer cleared to black: the board wipes away to a blank screen.
  form.PicMainBak.SetBackColor(kBlack);
  form.PicMainBak.ClearPicture();
  scene_.effects.EffectCode = "HC";
  scene_.effects.RunEffect(form.PicMain, form.PicMainBak);

  if (const Status marked = markCleared_(stageNo); !marked.ok()) {
    ReportWriteFailure(marked.error(), settingsFailureReported_);
  }

  sound_.StopBgm();
  sound_.PlayBgm(DataFile(scene_.paths.DataPath, MusicAfterStage(stageNo)).string());
  WaitMs(host, 1000);
}

void CafeGame::ReportWriteFailure(const Error& error, bool& reported) {
  if (reported) return;
  reported = true;
  scene_.host.MessageBox({error.message + "\r\nThe game goes on; the file stays as it was.",
                          kAppTitle, MessageBoxButtons::Ok});
}

}  // namespace dovetail::cafe
