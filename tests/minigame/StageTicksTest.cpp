#include <gtest/gtest.h>

#include "backends/hosts/headless/HeadlessHost.h"
#include "minigame/StageRecorder.h"
#include "minigame/StageTicks.h"

namespace dovetail::cafe {
namespace {

// The stage's clock is the host's: what the board will give it.
class HostStageClock : public StageClock {
 public:
  explicit HostStageClock(Host& host) : host_(host) {}
  uint32_t TickCount() override { return host_.TickCount(); }
  double SecondsSinceMidnight() override { return 36000.0 + host_.TickCount() / 1000.0; }

 private:
  Host& host_;
};

class StageTicksTest : public ::testing::Test {
 protected:
  StageTicksTest() : clock(host), stage(4, record, effects, clock, random) {
    effects.onEvents = [this] { host.DoEvents(); };
  }

  // Plays a stage of `seconds` with nobody coming.
  void Play(int16_t seconds) {
    StageParams params;
    params.StageSeconds = seconds;
    stage.Begin(params);
    effects.lines.clear();
    PlayStageTicks(host, stage);
  }

  HeadlessHost host{5000};
  HostStageClock clock;
  CafeRecord record;
  StageRecorder effects;
  CafeRandom random{3};
  CafeStage stage;
};

TEST_F(StageTicksTest, AStageRunsItsSecondsAndAtLeastOneTick) {
  const struct {
    int16_t seconds;
    size_t ticks;
  } cases[] = {{5, 5}, {1, 1}, {0, 1}, {-3, 1}};
  for (const auto& c : cases) {
    const uint32_t start = host.TickCount();
    Play(c.seconds);
    EXPECT_EQ(effects.Lines("RestoreCancelButton").size(), c.ticks) << c.seconds;
    const uint32_t took = host.TickCount() - start;
    EXPECT_GE(took, 1000 * c.ticks);
    EXPECT_LT(took, 1011 * c.ticks);
  }
}

TEST_F(StageTicksTest, ALateTickIsNotMadeUpByShorterOnes) {
  std::vector<uint32_t> tickStarts;
  int ticks = 0;
  effects.onEvents = [&] {
    tickStarts.push_back(host.TickCount());
    if (++ticks == 2) host.Sleep(1500);  // the second tick's events take long
    host.DoEvents();
  };
  StageParams params;
  params.StageSeconds = 4;
  stage.Begin(params);
  PlayStageTicks(host, stage);
  ASSERT_EQ(tickStarts.size(), 4u);
  EXPECT_GE(tickStarts[2] - tickStarts[1], 1500u);
  EXPECT_LT(tickStarts[2] - tickStarts[1], 1510u);
  EXPECT_GE(tickStarts[3] - tickStarts[2], 1000u);
  EXPECT_LT(tickStarts[3] - tickStarts[2], 1011u);
}

TEST_F(StageTicksTest, PacingLetsEventsRunEveryTenMilliseconds) {
  const uint64_t before = host.DoEventsCount();
  PaceTick(host, host.TickCount());
  // 1000 ms in steps of one event pass (1 ms on this host) and a 10 ms sleep.
  EXPECT_EQ(host.DoEventsCount() - before, 91u);
}

TEST_F(StageTicksTest, PacingIsRightAcrossTheTickCountsWrap) {
  HeadlessHost wrapping(0xFFFFFF00u);
  PaceTick(wrapping, wrapping.TickCount());
  EXPECT_EQ(wrapping.TickCount() - 0xFFFFFF00u, 1001u);
}

}  // namespace
}  // namespace dovetail::cafe
