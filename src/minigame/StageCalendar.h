#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/Result.h"

namespace dovetail::cafe {

// Where a café stage falls in the story's week. Stage n belongs to day
// (n + 1) \ 2: odd stages are that day's morning, even ones its afternoon.
// Stage 2 (day 1, afternoon) is played but never evaluated; a day from day 2 on
// is evaluated after its afternoon stage, and after stage 14 the whole game.

constexpr int16_t kFirstStage = 1;
constexpr int16_t kLastStage = 14;

// A stage number the café can play is 1..14, the entries of the stage table.
// Otherwise the error says which number was found; the script shows it as a
// content error at the current label and goes on without playing.
Status CheckStageNo(int16_t stageNo);

int16_t DayOfStage(int16_t stageNo);
bool IsMorningStage(int16_t stageNo);

// After this stage the day is evaluated (an afternoon stage from day 2 on).
bool IsEvaluatedStage(int16_t stageNo);

// After this stage's day evaluation the whole game is evaluated.
bool IsFinalStage(int16_t stageNo);

// Row k (0..5) of the stage labels on the sprite sheet, days 2..7; none on
// day 1.
std::optional<int16_t> StageLabelRow(int16_t stageNo);

// The day caption of the board, full-width: stage 6 gives "３日目　ＰＭ".
std::string DayText(int16_t stageNo);

// The story music after a stage: "03.mid" after a morning, "01.mid" after an
// afternoon.
std::string MusicAfterStage(int16_t stageNo);

}  // namespace dovetail::cafe
