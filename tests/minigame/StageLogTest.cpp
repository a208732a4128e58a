#include <gtest/gtest.h>

#include <limits>

#include "minigame/StageLog.h"

namespace dovetail::cafe {
namespace {

TEST(StageLogTest, ACorrectServingIsLoggedOffTheMarkers) {
  const struct {
    uint32_t elapsed;
    int32_t entry;
  } cases[] = {{0, 1},         {1, 1},
               {2345, 2345},   {9999, 10000},
               {10000, 10000}, {30000, 30001},
               {29999, 29999}, {0x80000000u, std::numeric_limits<int32_t>::max()}};
  for (const auto& c : cases)
    EXPECT_EQ(CorrectServingEntry(c.elapsed), c.entry) << c.elapsed;
}

TEST(StageLogTest, TheDishLogOverwritesItsLastEntryWhenFull) {
  CafeRecord record;
  StageLog log(record, 5);
  for (int16_t i = 0; i < 60; ++i)
    log.LogDish(static_cast<int16_t>(101 + i));
  EXPECT_EQ(log.DishLogCount(), 50);
  EXPECT_EQ(record.DishLog[49][5], 101 + 49);
  EXPECT_EQ(record.DishLog[50][5], 101 + 59);
  EXPECT_EQ(record.DishLog[0][4], 0);
}

TEST(StageLogTest, EntriesEndAtTheFirstMarkerOrRunToTheEnd) {
  CafeRecord record;
  StageLog log(record, 3);
  for (int32_t entry : {5000, kGaveUp, kWrongServing})
    log.LogServe(entry);
  log.EndStage();
  record.ServeLog[4][3] = 7000;  // a stale entry after the marker
  EXPECT_EQ(StageEntries(record, 3), (std::vector<int32_t>{5000, kGaveUp, kWrongServing}));

  for (auto& row : record.ServeLog)
    row[6] = 1234;
  EXPECT_EQ(StageEntries(record, 6).size(), 51u);

  log.Reset();
  log.LogServe(42);
  EXPECT_EQ(record.ServeLog[0][3], 42);
}

}  // namespace
}  // namespace dovetail::cafe
