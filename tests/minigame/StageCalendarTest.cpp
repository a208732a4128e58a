#include <gtest/gtest.h>

#include "minigame/StageCalendar.h"

namespace dovetail::cafe {
namespace {

TEST(StageCalendarTest, OnlyStagesOneToFourteenArePlayable) {
  for (int16_t stage : {1, 2, 14})
    EXPECT_TRUE(CheckStageNo(stage).ok()) << stage;
  for (int16_t stage : {-1, 0, 15, 32767}) {
    const Status status = CheckStageNo(stage);
    ASSERT_FALSE(status.ok()) << stage;
    EXPECT_EQ(status.error().message,
              "the café stage number " + std::to_string(stage) + " is not a stage from 1 to 14");
  }
}

TEST(StageCalendarTest, StagesFallOnDaysAndHalves) {
  const struct {
    int16_t stage;
    const char* dayText;
    bool evaluated;
    bool final;
    std::optional<int16_t> label;
    const char* music;
  } cases[] = {
      {1, "１日目　ＡＭ", false, false, std::nullopt, "03.mid"},
      {2, "１日目　ＰＭ", false, false, std::nullopt, "01.mid"},
      {3, "２日目　ＡＭ", false, false, 0, "03.mid"},
      {4, "２日目　ＰＭ", true, false, 0, "01.mid"},
      {6, "３日目　ＰＭ", true, false, 1, "01.mid"},
      {13, "７日目　ＡＭ", false, false, 5, "03.mid"},
      {14, "７日目　ＰＭ", true, true, 5, "01.mid"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stage);
    EXPECT_EQ(DayText(c.stage), c.dayText);
    EXPECT_EQ(IsEvaluatedStage(c.stage), c.evaluated);
    EXPECT_EQ(IsFinalStage(c.stage), c.final);
    EXPECT_EQ(StageLabelRow(c.stage), c.label);
    EXPECT_EQ(MusicAfterStage(c.stage), c.music);
  }
}

}  // namespace
}  // namespace dovetail::cafe
