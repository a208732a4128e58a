#include "minigame/DayScore.h"

#include <algorithm>
#include <cassert>
#include <limits>

#include "base/Numbers.h"
#include "minigame/StageLog.h"

namespace dovetail::cafe {

namespace {

constexpr int32_t kSpeedReferencePerSecond = 1100;
constexpr int32_t kCountPoints = 50;
constexpr int32_t kBonusPerCustomer = 40;
constexpr int16_t kFullMarks = 1000;

// A 64-bit or double value brought into the 32-bit range; scores that would
// leave it (possible only with a damaged save file) stop at its ends.
int32_t Clamp32(double value) {
  return static_cast<int32_t>(std::clamp<double>(value, std::numeric_limits<int32_t>::min(),
                                                 std::numeric_limits<int32_t>::max()));
}

int32_t AddClamped(int32_t a, int32_t b) {
  return Clamp32(static_cast<double>(a) + static_cast<double>(b));
}

int16_t Grade(int32_t value, const int32_t (&thresholds)[4]) {
  int16_t grade = 0;
  for (int32_t threshold : thresholds) {
    if (value >= threshold) ++grade;
  }
  return grade;
}

}  // namespace

DayTally TallyDay(const CafeRecord& record, int16_t stageNo, int16_t patienceStart) {
  assert(stageNo >= 2 && stageNo < kLogColumns);
  DayTally tally;
  for (int16_t stage = static_cast<int16_t>(stageNo - 1); stage <= stageNo; ++stage) {
    for (int32_t entry : StageEntries(record, stage)) {
      ++tally.total;
      if (entry <= 0) continue;
      if (entry == kGaveUp) {
        tally.sumMs += static_cast<int64_t>(patienceStart) * 1000;
      } else {
        ++tally.served;
        tally.sumMs += entry;
      }
    }
  }
  return tally;
}

DayResult ScoreDay(const DayTally& tally, int16_t patienceStart) {
  DayResult result;
  const double average = tally.sumMs > 0 && tally.served > 0
                             ? RoundHalfEven(static_cast<double>(tally.sumMs) / tally.served)
                             : static_cast<double>(tally.sumMs);
  if (average != 0) {
    const double reference = static_cast<double>(kSpeedReferencePerSecond) * patienceStart;
    result.s1 = Clamp32(RoundHalfEven((reference - average) / 10.0));
  }
  if (tally.served == 0) {
    result.s2 = 0;
  } else if (tally.served == tally.total) {
    result.s2 = kFullMarks;
  } else {
    result.s2 = static_cast<int16_t>(
        RoundHalfEven(static_cast<double>(tally.served) / tally.total * kFullMarks));
  }
  const int32_t count = (tally.served - 2 * (tally.total - tally.served)) * kCountPoints;
  result.s3 = static_cast<int16_t>(std::min<int32_t>(count, kFullMarks));
  result.day = Clamp32(static_cast<double>(result.s1) + result.s2 + result.s3);
  result.grade = DailyGrade(result.day);
  return result;
}

int16_t DailyGrade(int32_t day) {
  return Grade(day, {600, 1500, 2300, 2700});
}

void RecordDay(CafeRecord& record, RankEntry& player, const DayResult& result) {
  player.Score = AddClamped(player.Score, result.day);
  record.TotalScore = AddClamped(record.TotalScore, result.day);
}

GameResult EvaluateGame(const CafeRecord& record) {
  GameResult result;
  result.total = record.TotalScore;
  result.bonus = (static_cast<int32_t>(record.SuccessCount) - record.FailCount) * kBonusPerCustomer;
  result.score = AddClamped(result.total, result.bonus);
  result.grade = FinalGrade(result.score);
  result.letter = GradeLetter(result.grade);
  return result;
}

int16_t FinalGrade(int32_t score) {
  return Grade(score, {6000, 12000, 21000, 26000});
}

std::string GradeLetter(int16_t grade) {
  assert(grade >= 0 && grade <= 4);
  return std::string(1, static_cast<char>('E' - grade));
}

void RecordGame(RankEntry& player, const GameResult& result) {
  player.Score = result.score;
  player.Grade = result.letter;
}

}  // namespace dovetail::cafe
