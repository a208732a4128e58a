#pragma once

#include <cstdint>
#include <string>

#include "story/StoryState.h"

namespace dovetail::cafe {

// The finished customers of one day, over its morning and afternoon stages.
struct DayTally {
  int32_t total = 0;   // every finished customer
  int32_t served = 0;  // served correctly (positive times, give-ups excluded)
  // Serving times of the correct servings plus PatienceStart × 1000 for each
  // give-up, in milliseconds.
  int64_t sumMs = 0;
};

// The day's evaluation. The speed score is kept in 32 bits: a day of many
// give-ups and few correct servings drives it below the 16-bit range (for
// PatienceStart 20, eighteen give-ups give −33800), and the true value is what
// the day's score, the game's total and "rank.txt" then carry.
struct DayResult {
  int32_t s1 = 0;     // speed
  int16_t s2 = 0;     // accuracy, 0..1000
  int16_t s3 = 0;     // count, at most 1000
  int32_t day = 0;    // s1 + s2 + s3
  int16_t grade = 0;  // 0..4
};

// The whole game's evaluation after the last stage.
struct GameResult {
  int32_t total = 0;   // TotalScore, the sum of the day scores
  int32_t bonus = 0;   // (SuccessCount − FailCount) × 40
  int32_t score = 0;   // total + bonus
  int16_t grade = 0;   // 0..4
  std::string letter;  // "E" .. "A" for grade 0..4
};

// Tallies the day that ends with afternoon stage `stageNo` (4..14, even),
// with the afternoon's PatienceStart as the time of a give-up in both stages.
DayTally TallyDay(const CafeRecord& record, int16_t stageNo, int16_t patienceStart);

// The three scores, their sum and the daily grade; rounding is to the
// nearest, halves to even.
DayResult ScoreDay(const DayTally& tally, int16_t patienceStart);

// 0 up to 599 (negative days included), 1 from 600, 2 from 1500, 3 from
// 2300, 4 from 2700.
int16_t DailyGrade(int32_t day);

// Adds the day's score to the current player's score and to TotalScore.
void RecordDay(CafeRecord& record, RankEntry& player, const DayResult& result);

// Evaluates the game from the café record.
GameResult EvaluateGame(const CafeRecord& record);

// 0 up to 5999 (negative included), 1 from 6000, 2 from 12000, 3 from 21000,
// 4 from 26000.
int16_t FinalGrade(int32_t score);

// The letter of a final grade: "E", "D", "C", "B", "A" for 0..4.
std::string GradeLetter(int16_t grade);

// The current player's result becomes the game's score and grade letter.
void RecordGame(RankEntry& player, const GameResult& result);

}  // namespace dovetail::cafe
