#include <gtest/gtest.h>

#include <vector>

#include "minigame/DayScore.h"
#include "minigame/StageLog.h"

namespace dovetail::cafe {
namespace {

constexpr int16_t kAfternoon = 6;
constexpr int16_t kPatience = 20;  // 1100 × 20 = 22000 ms is the speed reference

// A record whose morning (stage 5) and afternoon (stage 6) logs hold the
// given entries, each list ended by the marker.
CafeRecord DayOf(const std::vector<int32_t>& morning, const std::vector<int32_t>& afternoon) {
  CafeRecord record;
  const auto fill = [&](int16_t stage, const std::vector<int32_t>& entries) {
    StageLog log(record, stage);
    for (int32_t entry : entries)
      log.LogServe(entry);
    log.EndStage();
  };
  fill(kAfternoon - 1, morning);
  fill(kAfternoon, afternoon);
  return record;
}

struct DayCase {
  const char* name;
  std::vector<int32_t> morning;
  std::vector<int32_t> afternoon;
  DayResult expected;
};

const DayCase kDays[] = {
    {"no customer", {}, {}, {0, 0, 0, 0, 0}},
    {"all correct", {3000, 5000}, {4000}, {1800, 1000, 150, 2950, 4}},
    {"twenty-four correct: the count score stops at 1000",
     std::vector<int32_t>(12, 2000),
     std::vector<int32_t>(12, 2000),
     {2000, 1000, 1000, 4000, 4}},
    {"one give-up: ten times the patience", {kGaveUp}, {}, {200, 0, -100, 100, 0}},
    {"two give-ups: negative", {kGaveUp}, {kGaveUp}, {-1800, 0, -200, -2000, 0}},
    {"eighteen give-ups leave the 16-bit range",
     std::vector<int32_t>(9, kGaveUp),
     std::vector<int32_t>(9, kGaveUp),
     {-33800, 0, -1800, -35600, 0}},
    {"a wrong serving counts but adds no time", {kWrongServing}, {5000}, {1700, 500, -50, 2150, 2}},
    {"a give-up beside a correct serving", {4000, kGaveUp}, {}, {-200, 500, -50, 250, 0}},
    {"only a wrong serving", {kWrongServing}, {}, {0, 0, -100, -100, 0}},
    {"a 9999 entry ends the stage's list",
     {5000, kEndOfStage, 7000},
     {},
     {1700, 1000, 50, 2750, 4}},
    {"accuracy rounds", {1000, 1000, kWrongServing}, {}, {2100, 667, 0, 2767, 4}},
    {"the speed's half rounds to even", {4005}, {}, {1800, 1000, 50, 2850, 4}},
    {"the other half rounds down to even", {4015}, {}, {1798, 1000, 50, 2848, 4}},
    {"the average's half rounds to even", {5000, 5001}, {}, {1700, 1000, 100, 2800, 4}},
};

TEST(DayScoreTest, TheDaysScores) {
  for (const DayCase& c : kDays) {
    const CafeRecord record = DayOf(c.morning, c.afternoon);
    const DayResult result = ScoreDay(TallyDay(record, kAfternoon, kPatience), kPatience);
    SCOPED_TRACE(c.name);
    EXPECT_EQ(result.s1, c.expected.s1);
    EXPECT_EQ(result.s2, c.expected.s2);
    EXPECT_EQ(result.s3, c.expected.s3);
    EXPECT_EQ(result.day, c.expected.day);
    EXPECT_EQ(result.grade, c.expected.grade);
  }
}

TEST(DayScoreTest, AGiveUpCountsTheAfternoonsPatienceInBothStages) {
  const CafeRecord record = DayOf({kGaveUp}, {kGaveUp, 6000});
  const DayTally tally = TallyDay(record, kAfternoon, 12);
  EXPECT_EQ(tally.total, 3);
  EXPECT_EQ(tally.served, 1);
  EXPECT_EQ(tally.sumMs, 12000 + 12000 + 6000);
}

TEST(DayScoreTest, ALogWithoutItsMarkerCountsAllFiftyOneRows) {
  CafeRecord record = DayOf({}, {});
  for (auto& row : record.ServeLog)
    row[kAfternoon] = 2000;
  EXPECT_EQ(TallyDay(record, kAfternoon, kPatience).total, 51);
}

TEST(DayScoreTest, DailyGradeBoundaries) {
  const std::pair<int32_t, int16_t> cases[] = {{-200, 0}, {0, 0},    {599, 0},  {600, 1},
                                               {1499, 1}, {1500, 2}, {2299, 2}, {2300, 3},
                                               {2699, 3}, {2700, 4}, {3500, 4}};
  for (const auto& [day, grade] : cases)
    EXPECT_EQ(DailyGrade(day), grade) << day;
}

TEST(DayScoreTest, ADayAddsToTheTotalAndThePlayersScore) {
  CafeRecord record;
  record.TotalScore = 5000;
  RankEntry player{"山田　花子", 0, ""};
  RecordDay(record, player, DayResult{-1800, 0, -200, -2000, 0});
  EXPECT_EQ(record.TotalScore, 3000);
  EXPECT_EQ(player.Score, -2000);
}

TEST(DayScoreTest, FinalGradeBoundariesAndLetters) {
  const std::pair<int32_t, const char*> cases[] = {
      {-500, "E"},  {5999, "E"},  {6000, "D"},  {11999, "D"}, {12000, "C"},
      {20999, "C"}, {21000, "B"}, {25999, "B"}, {26000, "A"}, {30001, "A"}};
  for (const auto& [score, letter] : cases)
    EXPECT_EQ(GradeLetter(FinalGrade(score)), letter) << score;
}

TEST(DayScoreTest, TheGameAddsTheBonusToTheTotal) {
  CafeRecord record;
  record.TotalScore = 25000;
  record.SuccessCount = 60;
  record.FailCount = 35;
  const GameResult result = EvaluateGame(record);
  EXPECT_EQ(result.total, 25000);
  EXPECT_EQ(result.bonus, 1000);
  EXPECT_EQ(result.score, 26000);
  EXPECT_EQ(result.letter, "A");

  record.SuccessCount = 0;
  record.FailCount = 900;  // beyond what a 16-bit product would hold
  EXPECT_EQ(EvaluateGame(record).bonus, -36000);

  RankEntry player{"山田　花子", 1234, ""};
  RecordGame(player, result);
  EXPECT_EQ(player.Score, 26000);
  EXPECT_EQ(player.Grade, "A");
}

}  // namespace
}  // namespace dovetail::cafe
