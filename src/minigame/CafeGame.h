#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>

#include "base/Result.h"
#include "minigame/CafeBoard.h"
#include "minigame/CafeClock.h"
#include "minigame/CafeStage.h"
#include "minigame/CafeTables.h"
#include "minigame/DayScore.h"
#include "screen/SceneContext.h"
#include "sound/Sound.h"
#include "story/Interpreter.h"

namespace dovetail {
class CafeEvents;
}  // namespace dovetail

namespace dovetail::cafe {

// One café stage as the script's "g3" plays it: the stage on the board
// (GameStart), the day's evaluation after an afternoon from day 2 on and the
// game's after the last stage (StageScore), and the way back to the story
// (GameEnd). Results go into the story's café record and the current
// player's ranking entry; each evaluated day adds a line to "rank.txt".
class CafeGame {
 public:
  // What the game needs besides the scene: the interpreter (content errors),
  // the sound, the settings' café tables, the run's random numbers (each stage
  // takes its seed from them), `markCleared` (appends the clear marker to the
  // settings after a stage above 2, once per installation). A picture that
  // cannot be loaded throws GameFailure.
  CafeGame(const SceneContext& scene, CafeEvents& events, Interpreter& interpreter, Sound& sound,
           const CafeTables& tables, std::mt19937& random,
           std::function<Status(int16_t stageNo)> markCleared);
  CafeGame(const CafeGame&) = delete;
  CafeGame& operator=(const CafeGame&) = delete;

  // The script command "g3": GameStart, StageScore, GameEnd. A StageNo
  // outside 1..14 is a content error naming the label; the story goes on.
  void PlayCafeStage();

  void GameStart();
  void StageScore();
  void GameEnd();

  // Draws one score number of the evaluation at (x, y + 96) of PicMain:
  // bold italic, white over a black shadow, right-aligned in an 80 × 20
  // field, with a short pause and sound 107.
  void ShowScore(int16_t x, int16_t y, int32_t value);

  // Above 0 while a stage runs (the picture then leaves the mouse to the
  // board); 0 otherwise.
  int16_t TimeLeft = 0;

  // The stage being played, while its ticks run; null otherwise.
  const CafeStage* Stage() const { return stage_; }
  // The seat whose customer has waited longest of those that can be served
  // now; 0 when none can.
  int16_t LongestWaitingSeat() const;

  CafeBoard board;
  // The score animation's field.
  PictureBox& SScore;

 private:
  void ShowDayResult(const DayResult& result);
  void ShowFinalResult();
  // Copies a part of the sprite sheet onto the board at (x, y) and shows it.
  void CopyFromSheet(const Rect& part, int32_t x, int32_t y);
  // A file the game writes could not be written: the player is told once per
  // run and file, and the game goes on.
  void ReportWriteFailure(const Error& error, bool& reported);

  const SceneContext scene_;
  CafeEvents& events_;
  Interpreter& interpreter_;
  Sound& sound_;
  const CafeTables& tables_;
  std::mt19937& random_;
  std::function<Status(int16_t)> markCleared_;
  CafeClock clock_;
  CafeStage* stage_ = nullptr;
  bool rankFailureReported_ = false;
  bool settingsFailureReported_ = false;
};

}  // namespace dovetail::cafe
