#pragma once

#include <cstdint>
#include <string>

#include "minigame/CafeRandom.h"
#include "minigame/CafeTables.h"
#include "minigame/StageEffects.h"
#include "minigame/StageLog.h"
#include "minigame/StageState.h"
#include "story/StoryState.h"

namespace dovetail::cafe {

// One café stage as rules over plain state: customers arrive on the ticks,
// order, wait with a patience that shrinks as the stage goes on, give up, or
// are served from the plate and leave. Results go into the story's café
// record (serve and dish logs, success and fail counts).
//
// The rules own no window and no clock. What they show and play goes to
// `StageEffects` in the order the rules call for it; times come from
// `StageClock`, chance from `CafeRandom`. The tick's pacing (one tick a
// second, waits that let events run) belongs to the caller: see
// StageTicks.h. Input handlers run nested inside the effects that let events
// run and call `ServeCustomer` (and change the plate in `State()`); the rules
// read the state afresh after every such call.
class CafeStage {
 public:
  // `stageNo` must be a playable stage (CheckStageNo).
  CafeStage(int16_t stageNo, CafeRecord& record, StageEffects& effects, StageClock& clock,
            CafeRandom& random);

  // The starting crowd, order size, patience, their growth and the stage time
  // from the stage's entry of the stage table.
  void Begin(const StageParams& params);

  // Empties the seats, the orders and the plate, starts the stage's logs
  // afresh and makes `player` (the current player's ranking entry) the hero
  // with score 0 and no grade.
  void ResetStage(RankEntry& player, const std::string& surname, const std::string& givenName);

  // One tick, up to its pacing: events, patience / crowd / order-size
  // growth, the seats' waiting, leaving and giving up, one arrival draw and
  // the cancel button's normal look.
  void Tick();
  // Counts the tick off the stage time; true while ticks remain. A stage
  // time of 0 or less ends after the first tick.
  bool CountDown();

  // Seats a new customer with a look no seated customer has.
  void CustomerArrive(int16_t seat);
  // Draws the seat's order: OrderSize dishes from slot 1, re-seeded from the
  // time of day. Slots above keep what they held.
  void MakeOrder(int16_t seat);
  // The seat's customer leaves; the seat's order is left as it is.
  void CustomerLeave(int16_t seat);
  // Serves the plate to the seat's customer. Does nothing and returns false
  // when that customer cannot be served (an empty seat, a customer still
  // arriving, already served, or the stage is over).
  bool ServeCustomer(int16_t seat);
  // The stage time is over: the end marker goes into the serve log and the
  // customers still seated can no longer be served; they are not logged.
  void EndStage();

  StageState& State() { return state_; }
  const StageState& State() const { return state_; }
  const StageLog& Log() const { return log_; }
  int16_t StageNo() const { return stageNo_; }

 private:
  void GrowStage();
  // Step through the seats; false when a customer left or gave up, which
  // ends the seats' step and skips the arrival for this tick.
  bool TickSeats();
  void GiveUp(int16_t seat);
  void DrawArrival();
  bool LookTaken(int16_t look) const;

  int16_t stageNo_;
  CafeRecord& record_;
  StageEffects& effects_;
  StageClock& clock_;
  CafeRandom& random_;
  StageState state_;
  StageLog log_;
};

}  // namespace dovetail::cafe
