#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "minigame/StageState.h"

namespace dovetail::cafe {
namespace {

TEST(StageStateTest, TheFourthDishDoesNotGoOnThePlate) {
  StageState state;
  EXPECT_EQ(PutOnPlate(state, 101), 1);
  EXPECT_EQ(PutOnPlate(state, 205), 2);
  EXPECT_EQ(PutOnPlate(state, 101), 3);
  EXPECT_EQ(PutOnPlate(state, 304), 0);
  EXPECT_EQ(state.PlateCount, 3);
  EXPECT_EQ(state.Plate, (DishSlots{0, 101, 205, 101}));
  EmptyPlate(state);
  EXPECT_EQ(state.PlateCount, 0);
  EXPECT_EQ(state.Plate, (DishSlots{}));
}

TEST(StageStateTest, TheStageStartsFromItsTableEntry) {
  StageParams params{0, 0.1f, 1, 0.05f, 20, 0.2f, 90};
  StageState state;
  LoadStageParams(state, params);
  EXPECT_EQ(state.Crowd, 0.0f);
  EXPECT_EQ(state.CrowdGrowth, 0.1f);
  EXPECT_EQ(state.OrderSize, 1.0f);
  EXPECT_EQ(state.OrderSizeGrowth, 0.05f);
  EXPECT_EQ(state.Patience, 20.0f);
  EXPECT_EQ(state.PatienceDecay, 0.2f);
  EXPECT_EQ(state.TimeLeft, 90);
}

TEST(StageStateTest, WholePartTruncatesAndStaysInRange) {
  const std::pair<float, int32_t> cases[] = {
      {2.99f, 2},
      {-0.5f, 0},
      {-1.5f, -1},
      {1e20f, std::numeric_limits<int32_t>::max()},
      {-1e20f, std::numeric_limits<int32_t>::min()},
      {std::numeric_limits<float>::infinity(), std::numeric_limits<int32_t>::max()},
      {std::nanf(""), 0},
  };
  for (const auto& [value, whole] : cases)
    EXPECT_EQ(WholePart(value), whole) << value;
}

}  // namespace
}  // namespace dovetail::cafe
