#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "minigame/CafeStage.h"
#include "minigame/StageRecorder.h"

namespace dovetail::cafe {
namespace {

constexpr int16_t kStage = 4;

class CafeStageTest : public ::testing::Test {
 protected:
  CafeStageTest() : stage(kStage, record, effects, clock, random) {
    StageParams params;
    params.CrowdStart = 1;
    params.OrderSizeStart = 2;
    params.PatienceStart = 20;
    params.StageSeconds = 60;
    stage.Begin(params);
    stage.ResetStage(player, "山田", "花子");
    effects.lines.clear();
  }

  StageState& state() { return stage.State(); }

  // Runs ticks, one a second of the stage clock, until `done` holds after a
  // tick; returns the number of ticks run, or limit + 1 when it never held.
  int TickUntil(const std::function<bool()>& done, int limit = 300) {
    for (int ticks = 1; ticks <= limit; ++ticks) {
      stage.Tick();
      clock.tick += 1000;
      if (done()) return ticks;
    }
    return limit + 1;
  }

  // Ticks until a customer waits with an order; returns the seat.
  int16_t AwaitCustomer() {
    int16_t seat = 0;
    effects.onWaiting = [&](int16_t s) { seat = s; };
    TickUntil([&] { return seat != 0; });
    effects.onWaiting = nullptr;
    EXPECT_NE(seat, 0) << "no customer came";
    return seat;
  }

  // Puts the seat's order on the plate.
  void PlateTheOrder(int16_t seat) {
    for (int k = 1; k <= 3 && state().Orders[seat][k] != 0; ++k)
      PutOnPlate(state(), state().Orders[seat][k]);
  }

  CafeRecord record;
  RankEntry player;
  StageRecorder effects;
  FixedStageClock clock;
  CafeRandom random{7};
  CafeStage stage;
};

std::string Seat(const std::string& what, int16_t seat) {
  return what + " " + std::to_string(seat);
}

TEST_F(CafeStageTest, ResetStageEmptiesTheSeatsAndMakesTheHeroThePlayer) {
  state().Plate = {0, 101, 102, 0};
  state().PlateCount = 2;
  state().SeatCustomer[2] = 3;
  player = {"誰か", 1234, "A"};
  stage.ResetStage(player, "山田", "花子");

  EXPECT_EQ(player.Name, "山田　花子");
  EXPECT_EQ(player.Score, 0);
  EXPECT_EQ(player.Grade, "");
  EXPECT_EQ(state().PlateCount, 0);
  EXPECT_EQ(state().Plate, (DishSlots{}));
  EXPECT_EQ(state().SeatCustomer, (std::array<int16_t, 4>{-1, -1, -1, -1}));
  EXPECT_EQ(effects.Lines("HideCustomer"),
            (std::vector<std::string>{"HideCustomer 1", "HideCustomer 2", "HideCustomer 3"}));
}

TEST_F(CafeStageTest, TheArrivalTickRunsItsStepsInOrder) {
  const int16_t seat = AwaitCustomer();
  std::vector<std::string> kinds;
  for (const auto& line : effects.lines)
    kinds.push_back(line.substr(0, line.find(' ')));
  const std::vector<std::string> arrivalTick(kinds.end() - 8, kinds.end());
  EXPECT_EQ(arrivalTick, (std::vector<std::string>{"ProcessEvents", "ProcessEvents", "DrawCustomer",
                                                   "ShowCustomer", "ProcessEvents", "ShowOrder",
                                                   "CustomerWaiting", "RestoreCancelButton"}));
  const std::string look = std::to_string(state().SeatCustomer[seat]);
  EXPECT_EQ(effects.Lines("DrawCustomer").back(),
            Seat("DrawCustomer", seat) + " look " + look + " Normal unrefreshed");
  EXPECT_EQ(state().ArriveTick[seat], clock.tick - 1000);
  EXPECT_EQ(state().CustomersPresent, 1);
}

// With patience p a customer is impatient from the tick where the wait passes
// Int(p − 3) and gives up on the tick where it passes Int(p).
TEST_F(CafeStageTest, PatienceThresholds) {
  const struct {
    float patience;
    int impatientAt;
    int gaveUpAt;
  } cases[] = {{12.6f, 10, 13}, {5.0f, 3, 6}, {8.99f, 6, 9}, {20.0f, 18, 21}};
  for (const auto& c : cases) {
    stage.ResetStage(player, "山田", "花子");
    state().Crowd = 1;
    state().PatienceDecay = 0;
    state().Patience = c.patience;
    const int16_t seat = AwaitCustomer();
    const int16_t failsBefore = record.FailCount;
    effects.lines.clear();
    int impatientAt = 0;
    const int gaveUpAt = TickUntil([&] {
      if (impatientAt == 0 && !effects.Lines("ShowBalloonText").empty())
        impatientAt = state().WaitTicks[seat];
      return !effects.Lines("CustomerGaveUp").empty();
    });
    SCOPED_TRACE(c.patience);
    EXPECT_EQ(impatientAt, c.impatientAt);
    EXPECT_EQ(gaveUpAt, c.gaveUpAt);
    EXPECT_EQ(effects.Lines("ShowBalloonText").front(),
              Seat("ShowBalloonText", seat) + " 2 \" ....\"");
    EXPECT_NE(effects.Lines(Seat("DrawCustomer", seat)).back().find("Angry"), std::string::npos);
    EXPECT_EQ(effects.Lines("HideCustomer"), std::vector<std::string>{Seat("HideCustomer", seat)});
    EXPECT_EQ(record.FailCount, failsBefore + 1);
    EXPECT_EQ(record.ServeLog[stage.Log().ServeLogCount() - 1][kStage], kGaveUp);
    EXPECT_EQ(state().SeatCustomer[seat], kNoCustomer);
    EXPECT_EQ(state().WaitTicks[seat], 0);
  }
}

// A customer who leaves ends the seats' step: the seats after it do not wait
// that tick and nobody arrives.
TEST_F(CafeStageTest, ALeavingCustomerEndsTheSeatsStepAndTheArrival) {
  state().Crowd = 3;
  stage.CustomerArrive(1);
  stage.CustomerArrive(2);
  state().CustomersPresent = 2;
  state().WaitTicks[1] = -1;
  state().WaitTicks[2] = 5;
  effects.lines.clear();
  stage.Tick();
  EXPECT_EQ(effects.Lines("HideCustomer"), std::vector<std::string>{"HideCustomer 1"});
  EXPECT_EQ(state().WaitTicks[2], 5);
  EXPECT_TRUE(effects.Lines("CustomerWaiting").empty());
  EXPECT_EQ(state().CustomersPresent, 1);
}

TEST_F(CafeStageTest, PatienceShrinksToFiveAndNoFurther) {
  state().Patience = 6.0f;
  state().PatienceDecay = 0.75f;
  TickUntil([] { return false; }, 3);
  EXPECT_EQ(state().Patience, 5.0f);
}

// Crowd grows every tick; a customer can come on the tick where its whole
// part first reaches 1.
TEST_F(CafeStageTest, TheFirstCustomerComesWhenTheCrowdReachesOne) {
  const struct {
    int16_t crowdStart;
    float growth;
    int firstArrival;
  } cases[] = {{0, 0.1f, 10}, {0, 0.25f, 4}, {0, 0.5f, 2}, {1, 0.0f, 1}, {-1, 1.0f, 2}};
  for (const auto& c : cases) {
    stage.ResetStage(player, "山田", "花子");
    state().Crowd = c.crowdStart;
    state().CrowdGrowth = c.growth;
    effects.lines.clear();
    const int arrival = TickUntil([&] { return !effects.Lines("CustomerWaiting").empty(); });
    EXPECT_EQ(arrival, c.firstArrival) << "growth " << c.growth;
  }
}

TEST_F(CafeStageTest, CrowdAndOrderSizeStopAtThree) {
  state().CrowdGrowth = 2.5f;
  state().OrderSize = 2.5f;
  state().OrderSizeGrowth = 0.75f;
  TickUntil([] { return false; }, 2);
  EXPECT_EQ(state().Crowd, 3.0f);
  EXPECT_EQ(state().OrderSize, 3.0f);
}

// A served customer keeps the seat for 4 ticks when pleased, 2 when angry,
// and cannot be served again meanwhile.
TEST_F(CafeStageTest, ServedCustomersLeaveAfterTheirCountdown) {
  const struct {
    bool correct;
    int leavesAfter;
    const char* face;
    const char* sound;
  } cases[] = {{true, 4, "Pleased", "PlayWave 101"}, {false, 2, "Angry", "PlayWave 106"}};
  for (const auto& c : cases) {
    stage.ResetStage(player, "山田", "花子");
    state().Crowd = 3;
    const int16_t seat = AwaitCustomer();
    if (c.correct)
      PlateTheOrder(seat);
    else
      PutOnPlate(state(), 999);
    effects.lines.clear();
    ASSERT_TRUE(stage.ServeCustomer(seat));
    SCOPED_TRACE(c.face);
    EXPECT_EQ(effects.lines[1], Seat("DrawCustomer", seat) + " look " +
                                    std::to_string(state().SeatCustomer[seat]) + " " + c.face);
    EXPECT_EQ(effects.Lines("PlayWave"), std::vector<std::string>{c.sound});

    const int16_t logged = stage.Log().ServeLogCount();
    const int leaves = TickUntil([&] {
      EXPECT_FALSE(stage.ServeCustomer(seat));
      return !effects.Lines(Seat("HideCustomer", seat)).empty();
    });
    EXPECT_EQ(leaves, c.leavesAfter);
    EXPECT_TRUE(effects.Lines(Seat("CustomerWaiting", seat)).empty());
    EXPECT_EQ(stage.Log().ServeLogCount(), logged);
  }
}

TEST_F(CafeStageTest, ACorrectServingLogsItsTimeAndDishesAndEmptiesThePlate) {
  state().OrderSize = 3;
  const int16_t seat = AwaitCustomer();
  const DishSlots order = state().Orders[seat];
  PlateTheOrder(seat);
  clock.tick += 2345;
  const uint32_t arrived = state().ArriveTick[seat];
  effects.lines.clear();
  ASSERT_TRUE(stage.ServeCustomer(seat));

  const uint32_t elapsed = clock.tick - arrived;
  EXPECT_EQ(record.ServeLog[0][kStage], static_cast<int32_t>(elapsed));
  EXPECT_EQ(record.SuccessCount, 1);
  EXPECT_EQ(stage.Log().DishLogCount(), 3);
  EXPECT_EQ(record.DishLog[0][kStage], order[1]);
  EXPECT_EQ(state().Plate, (DishSlots{}));
  EXPECT_EQ(state().PlateCount, 0);
  EXPECT_EQ(state().Orders[seat], (DishSlots{}));
  EXPECT_EQ(state().ArriveTick[seat], 0u);
  EXPECT_EQ(state().WaitTicks[seat], -4);
  const std::string look = std::to_string(state().SeatCustomer[seat]);
  EXPECT_EQ(effects.lines,
            (std::vector<std::string>{
                "EmptyPlatePicture", Seat("DrawCustomer", seat) + " look " + look + " Pleased",
                Seat("DisableCustomer", seat), "PlayWave 101", Seat("HideBalloon", seat),
                Seat("CustomerServed", seat) + " correct " + std::to_string(elapsed)}));
}

TEST_F(CafeStageTest, AnEmptyOrderIsServedByAnEmptyPlate) {
  state().OrderSize = 0.5f;
  state().OrderSizeGrowth = 0;
  const int16_t seat = AwaitCustomer();
  EXPECT_EQ(state().Orders[seat], (DishSlots{}));
  EXPECT_TRUE(stage.ServeCustomer(seat));
  EXPECT_EQ(record.SuccessCount, 1);
}

TEST_F(CafeStageTest, ACustomerStillArrivingCannotBeServed) {
  bool refused = false;
  effects.onShowOrder = [&](int16_t seat) { refused = !stage.ServeCustomer(seat); };
  const int16_t seat = AwaitCustomer();
  EXPECT_TRUE(refused);
  EXPECT_EQ(stage.Log().ServeLogCount(), 0);
  EXPECT_TRUE(stage.ServeCustomer(seat));
}

TEST_F(CafeStageTest, ASecondClickDuringTheServingIsRefused) {
  const int16_t seat = AwaitCustomer();
  PlateTheOrder(seat);
  bool secondServed = true;
  bool clicked = false;
  effects.onDrawCustomer = [&](int16_t s) {
    if (clicked) return;
    clicked = true;
    secondServed = stage.ServeCustomer(s);
  };
  ASSERT_TRUE(stage.ServeCustomer(seat));
  EXPECT_FALSE(secondServed);
  EXPECT_EQ(record.SuccessCount, 1);
  EXPECT_EQ(record.FailCount, 0);
  EXPECT_EQ(stage.Log().ServeLogCount(), 1);
}

TEST_F(CafeStageTest, AServingWhileTheImpatienceShowsKeepsThePleasedFace) {
  state().Patience = 5;
  state().PatienceDecay = 0;
  const int16_t seat = AwaitCustomer();
  effects.onBalloonText = [&](int16_t s) {
    PlateTheOrder(s);
    stage.ServeCustomer(s);
  };
  TickUntil([&] { return record.SuccessCount == 1; });
  EXPECT_NE(effects.Lines(Seat("DrawCustomer", seat)).back().find("Pleased"), std::string::npos);
  EXPECT_EQ(record.FailCount, 0);
}

TEST_F(CafeStageTest, SeatedCustomersNeverShareALook) {
  state().Crowd = 3;
  state().Patience = 5;
  state().PatienceDecay = 0;
  int arrivals = 0;
  effects.onWaiting = [&](int16_t) { ++arrivals; };
  TickUntil([&] {
    std::set<int16_t> looks;
    int16_t seated = 0;
    for (int16_t seat = 1; seat <= kSeatCount; ++seat) {
      if (!state().Seated[seat]) continue;
      ++seated;
      looks.insert(state().SeatCustomer[seat]);
    }
    EXPECT_EQ(looks.size(), static_cast<size_t>(seated));
    return false;
  });
  EXPECT_GT(arrivals, 40);
}

TEST_F(CafeStageTest, OrdersDrawOrderSizeDishesAndKeepTheSlotsAbove) {
  state().OrderSize = 2.9f;
  state().Orders[1] = {0, 301, 302, 303};
  stage.MakeOrder(1);
  for (int k = 1; k <= 2; ++k) {
    const int16_t code = state().Orders[1][k];
    EXPECT_GE(code / 100, 1);
    EXPECT_LE(code / 100, 4);
    EXPECT_GE(code % 100, 1);
    EXPECT_LE(code % 100, 5);
  }
  EXPECT_EQ(state().Orders[1][3], 303);
}

TEST_F(CafeStageTest, OrdersAreDrawnAfreshFromTheTimeOfDay) {
  state().OrderSize = 3;
  const auto orderAt = [&](double timeOfDay) {
    clock.timeOfDay = timeOfDay;
    random.Rnd();
    stage.MakeOrder(2);
    return state().Orders[2];
  };
  const DishSlots first = orderAt(36000.5);
  EXPECT_EQ(orderAt(36000.5), first);
  std::set<DishSlots> others;
  for (int second = 1; second <= 5; ++second)
    others.insert(orderAt(36000.5 + second));
  EXPECT_GT(others.size(), 1u);
}

TEST_F(CafeStageTest, AStageKeepsFiftyCustomersInItsLogAndCountsTheRest) {
  state().Crowd = 3;
  effects.onWaiting = [&](int16_t seat) { stage.ServeCustomer(seat); };
  TickUntil([&] { return record.FailCount >= 60; });
  stage.EndStage();
  EXPECT_EQ(record.FailCount, 60);
  EXPECT_EQ(stage.Log().ServeLogCount(), kServeLogCapacity);
  EXPECT_EQ(record.ServeLog[49][kStage], kWrongServing);
  EXPECT_EQ(record.ServeLog[50][kStage], kEndOfStage);
  EXPECT_EQ(StageEntries(record, kStage).size(), 50u);
}

TEST_F(CafeStageTest, AtTheEndSeatedCustomersCanNoLongerBeServed) {
  const int16_t seat = AwaitCustomer();
  stage.EndStage();
  EXPECT_EQ(
      effects.Lines("DisableCustomer"),
      (std::vector<std::string>{"DisableCustomer 1", "DisableCustomer 2", "DisableCustomer 3"}));
  EXPECT_FALSE(stage.ServeCustomer(seat));
  EXPECT_EQ(record.ServeLog[0][kStage], kEndOfStage);
  EXPECT_TRUE(StageEntries(record, kStage).empty());
}

TEST_F(CafeStageTest, CountDownRunsTheStageTimeAndAtLeastOneTick) {
  const struct {
    int16_t stageSeconds;
    int ticks;
  } cases[] = {{3, 3}, {1, 1}, {0, 1}, {-5, 1}, {-32768, 1}};
  for (const auto& c : cases) {
    state().TimeLeft = c.stageSeconds;
    int ticks = 1;
    while (stage.CountDown())
      ++ticks;
    EXPECT_EQ(ticks, c.ticks) << c.stageSeconds;
  }
}

TEST_F(CafeStageTest, TheSameSeedAndClockPlayTheSameStage) {
  const auto play = [](uint64_t seed) {
    CafeRecord playRecord;
    RankEntry playPlayer;
    StageRecorder playEffects;
    FixedStageClock playClock;
    CafeRandom playRandom(seed);
    CafeStage played(kStage, playRecord, playEffects, playClock, playRandom);
    StageParams params;
    params.CrowdStart = 3;
    params.OrderSizeStart = 3;
    params.PatienceStart = 6;
    played.Begin(params);
    played.ResetStage(playPlayer, "a", "b");
    for (int tick = 0; tick < 60; ++tick) {
      played.Tick();
      playClock.tick += 1000;
      playClock.timeOfDay += 1.0;
    }
    return playEffects.lines;
  };
  EXPECT_EQ(play(1), play(1));
  EXPECT_NE(play(1), play(2));
}

}  // namespace
}  // namespace dovetail::cafe
