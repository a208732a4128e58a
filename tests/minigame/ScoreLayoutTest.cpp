#include <gtest/gtest.h>

#include <limits>

#include "minigame/ScoreLayout.h"

namespace dovetail::cafe {
namespace {

TEST(ScoreLayoutTest, DigitsAreRightAlignedElevenPixelsEachWithTheMinusBeforeThem) {
  const struct {
    int32_t value;
    const char* digits;
    int32_t digitsX;
    bool negative;
    int32_t minusX;
  } cases[] = {
      {-45, "45", 53, true, 38},
      {0, "0", 64, false, 49},
      {2950, "2950", 31, false, 16},
      {-34700, "34700", 20, true, 5},
      {999999, "999999", 9, false, -6},
      // Too long for right alignment: moved to start at the left edge.
      {1234567, "1234567", 0, false, -15},
      {-123456, "123456", 11, true, 0},  // squeezed: the last digit ends at 77
      {std::numeric_limits<int32_t>::min(), "2147483648", 11, true, 0},
  };
  for (const auto& c : cases) {
    const ScoreLayout layout = LayOutScore(c.value);
    SCOPED_TRACE(c.value);
    EXPECT_EQ(layout.digits, c.digits);
    EXPECT_EQ(layout.digitsX, c.digitsX);
    EXPECT_EQ(layout.negative, c.negative);
    EXPECT_EQ(layout.minusX, c.minusX);
  }
}

}  // namespace
}  // namespace dovetail::cafe
