#include "minigame/CafeStage.h"

#include <algorithm>
#include <cassert>

#include "base/Numbers.h"
#include "minigame/StageCalendar.h"

namespace dovetail::cafe {

namespace {

constexpr float kLeastPatience = 5.0f;
constexpr float kMostCrowd = 3.0f;
constexpr float kLargestOrder = 3.0f;
// Seconds before giving up during which a customer shows impatience.
constexpr float kImpatientSeconds = 3.0f;
constexpr int16_t kPleasedLeaveTicks = -4;
constexpr int16_t kAngryLeaveTicks = -2;
const char* const kImpatienceText = " ....";

[[maybe_unused]] bool IsSeat(int16_t seat) {
  return seat >= 1 && seat <= kSeatCount;
}

// Int(draw × n + offset) for a draw on [0, 1): exact in double precision, so
// the result stays below n + offset.
int16_t Scaled(float draw, int16_t n, int16_t offset) {
  return static_cast<int16_t>(static_cast<double>(draw) * n + offset);
}

}  // namespace

CafeStage::CafeStage(int16_t stageNo, CafeRecord& record, StageEffects& effects, StageClock& clock,
                     CafeRandom& random)
    : stageNo_(stageNo),
      record_(record),
      effects_(effects),
      clock_(clock),
      random_(random),
      log_(record, stageNo) {
  assert(CheckStageNo(stageNo).ok());
}

void CafeStage::Begin(const StageParams& params) {
  LoadStageParams(state_, params);
}

void CafeStage::ResetStage(RankEntry& player, const std::string& surname,
                           const std::string& givenName) {
  for (int16_t a = 0; a <= kSeatCount; ++a) {
    state_.Orders[a] = {};
    state_.WaitTicks[a] = 0;
    state_.ArriveTick[a] = 0;
    state_.ServeTick[a] = 0;
    state_.SeatCustomer[a] = kNoCustomer;
    state_.Seated[a] = false;
    state_.Servable[a] = false;
    if (a >= 1) effects_.HideCustomer(a);
  }
  EmptyPlate(state_);
  state_.CustomersPresent = 0;
  log_.Reset();
  player = RankEntry{surname + "　" + givenName, 0, ""};
}

void CafeStage::Tick() {
  effects_.ProcessEvents();
  GrowStage();
  if (TickSeats()) DrawArrival();
  effects_.RestoreCancelButton();
}

bool CafeStage::CountDown() {
  state_.TimeLeft = state_.TimeLeft > 0 ? static_cast<int16_t>(state_.TimeLeft - 1) : 0;
  return state_.TimeLeft > 0;
}

void CafeStage::GrowStage() {
  StageState& s = state_;
  s.Patience = s.Patience - s.PatienceDecay;
  if (s.Patience <= kLeastPatience) s.Patience = kLeastPatience;
  s.Crowd = s.Crowd + s.CrowdGrowth;
  if (s.Crowd >= kMostCrowd) s.Crowd = kMostCrowd;
  s.OrderSize = s.OrderSize + s.OrderSizeGrowth;
  if (s.OrderSize >= kLargestOrder) s.OrderSize = kLargestOrder;
}

bool CafeStage::TickSeats() {
  StageState& s = state_;
  for (int16_t seat = 1; seat <= kSeatCount; ++seat) {
    if (!s.Seated[seat]) continue;
    s.WaitTicks[seat] = SaturatingAdd16(s.WaitTicks[seat], 1);
    if (s.WaitTicks[seat] == 0) {
      CustomerLeave(seat);
      return false;
    }
    if (WholePart(s.Patience - kImpatientSeconds) < s.WaitTicks[seat]) {
      effects_.ShowBalloonText(seat, 2, kImpatienceText);
      // A serving while the balloon was drawn has already shown the
      // customer's answer to it; the angry face would cover that.
      if (s.Servable[seat])
        effects_.DrawCustomer(seat, s.SeatCustomer[seat], Expression::Angry, true);
    }
    if (WholePart(s.Patience) < s.WaitTicks[seat]) {
      GiveUp(seat);
      return false;
    }
  }
  return true;
}

void CafeStage::GiveUp(int16_t seat) {
  effects_.HideBalloon(seat);
  CustomerLeave(seat);
  state_.WaitTicks[seat] = 0;
  record_.FailCount = SaturatingAdd16(record_.FailCount, 1);
  log_.LogServe(kGaveUp);
  effects_.CustomerGaveUp(seat);
}

void CafeStage::DrawArrival() {
  StageState& s = state_;
  const int16_t seat = static_cast<int16_t>(Scaled(random_.Rnd(), 3, 0) + 1);
  if (s.Seated[seat] || WholePart(s.Crowd) <= s.CustomersPresent) return;
  s.CustomersPresent = static_cast<int16_t>(s.CustomersPresent + 1);
  CustomerArrive(seat);
  MakeOrder(seat);
  effects_.ShowOrder(seat, s.Orders[seat]);
  s.ArriveTick[seat] = clock_.TickCount();
  s.Servable[seat] = true;
  effects_.CustomerWaiting(seat, s.SeatCustomer[seat], s.Orders[seat]);
}

bool CafeStage::LookTaken(int16_t look) const {
  for (int16_t seat = 1; seat <= kSeatCount; ++seat) {
    if (state_.SeatCustomer[seat] == look) return true;
  }
  return false;
}

void CafeStage::CustomerArrive(int16_t seat) {
  assert(IsSeat(seat));
  effects_.ProcessEvents();
  int16_t look = 0;
  do {
    look = Scaled(random_.Rnd(), 4, 0);
  } while (LookTaken(look));
  state_.SeatCustomer[seat] = look;
  effects_.DrawCustomer(seat, look, Expression::Normal, false);
  state_.Seated[seat] = true;
  effects_.ShowCustomer(seat);
  effects_.ProcessEvents();
}

void CafeStage::MakeOrder(int16_t seat) {
  assert(IsSeat(seat));
  random_.Randomize(clock_.SecondsSinceMidnight());
  const int32_t dishes = std::min<int32_t>(WholePart(state_.OrderSize), kPlateSlots);
  for (int32_t k = 1; k <= dishes; ++k) {
    const int16_t category = Scaled(random_.Rnd(), kCategoryCount, 1);
    const int16_t dish = Scaled(random_.Rnd(), kDishCount, 1);
    state_.Orders[seat][k] = static_cast<int16_t>(category * 100 + dish);
  }
}

void CafeStage::CustomerLeave(int16_t seat) {
  assert(IsSeat(seat));
  state_.Seated[seat] = false;
  state_.Servable[seat] = false;
  effects_.HideCustomer(seat);
  effects_.HideBalloon(seat);
  state_.SeatCustomer[seat] = kNoCustomer;
  state_.CustomersPresent = static_cast<int16_t>(state_.CustomersPresent - 1);
}

bool CafeStage::ServeCustomer(int16_t seat) {
  assert(IsSeat(seat));
  StageState& s = state_;
  if (!s.Servable[seat]) return false;
  // Everything the serving decides happens before events can run again, so a
  // second click or a serving of another seat inside the drawing below finds
  // this one complete.
  s.Servable[seat] = false;
  s.ServeTick[seat] = clock_.TickCount();
  const uint32_t elapsed = s.ServeTick[seat] - s.ArriveTick[seat];
  const ServingOutcome outcome = MatchServing(s.Orders[seat], s.Plate);
  for (int16_t code : outcome.matchedDishes)
    log_.LogDish(code);
  if (outcome.correct) {
    log_.LogServe(CorrectServingEntry(elapsed));
    s.WaitTicks[seat] = kPleasedLeaveTicks;
    record_.SuccessCount = SaturatingAdd16(record_.SuccessCount, 1);
  } else {
    log_.LogServe(kWrongServing);
    s.WaitTicks[seat] = kAngryLeaveTicks;
    record_.FailCount = SaturatingAdd16(record_.FailCount, 1);
  }
  s.ArriveTick[seat] = 0;
  s.ServeTick[seat] = 0;
  s.Orders[seat] = {};
  EmptyPlate(s);

  effects_.EmptyPlatePicture();
  effects_.DrawCustomer(seat, s.SeatCustomer[seat],
                        outcome.correct ? Expression::Pleased : Expression::Angry, true);
  effects_.DisableCustomer(seat);
  effects_.PlayWave(outcome.correct ? kPleasedSound : kAngrySound);
  effects_.HideBalloon(seat);
  effects_.CustomerServed(seat, outcome.correct, elapsed);
  return true;
}

void CafeStage::EndStage() {
  log_.EndStage();
  for (int16_t seat = 1; seat <= kSeatCount; ++seat) {
    state_.Servable[seat] = false;
    effects_.DisableCustomer(seat);
  }
}

}  // namespace dovetail::cafe
