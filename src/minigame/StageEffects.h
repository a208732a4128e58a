#pragma once

#include <cstdint>
#include <string>

#include "minigame/ServingRule.h"

namespace dovetail::cafe {

// Customer expressions: columns of the customer sheet.
enum class Expression : int16_t { Normal = 0, Pleased = 1, Angry = 2 };

// Effect sounds of the stage.
constexpr int16_t kPleasedSound = 101;
constexpr int16_t kAngrySound = 106;

// What the stage's rules make visible and audible, in the order the rules
// call for it. The café board implements it over its controls; tests record
// it. Calls marked "may let events run" are points where the player's input
// can come in: a serving or a dish put on the plate can happen inside them,
// and the rules read the stage state afresh afterwards.
class StageEffects {
 public:
  virtual ~StageEffects() = default;

  // Lets pending events run.
  virtual void ProcessEvents() = 0;

  // Draws customer `look` in `expression` into the seat; without `refresh`
  // it shows once the seat is shown. May let events run.
  virtual void DrawCustomer(int16_t seat, int16_t look, Expression expression, bool refresh) = 0;
  // Shows the seat's customer and makes it clickable.
  virtual void ShowCustomer(int16_t seat) = 0;
  // The seat's customer stays on the board but can no longer be clicked.
  virtual void DisableCustomer(int16_t seat) = 0;
  // Takes the seat's customer off the board.
  virtual void HideCustomer(int16_t seat) = 0;

  // Shows the seat's balloon with the dish names of `order` (slots 1..3, up
  // to the first empty one). May let events run.
  virtual void ShowOrder(int16_t seat, const DishSlots& order) = 0;
  // Shows the seat's balloon with single-byte `text` on `line`. May let
  // events run.
  virtual void ShowBalloonText(int16_t seat, int16_t line, const std::string& text) = 0;
  virtual void HideBalloon(int16_t seat) = 0;

  virtual void PlayWave(int16_t sound) = 0;

  // Gives the cancel button its normal look back (ends its hover look).
  virtual void RestoreCancelButton() = 0;
  // Draws the plate empty.
  virtual void EmptyPlatePicture() = 0;

  // For the run log: a customer waits with an order and can be served now.
  virtual void CustomerWaiting(int16_t seat, int16_t look, const DishSlots& order) = 0;
  // For the run log: a customer was served; `elapsedMs` since arrival.
  virtual void CustomerServed(int16_t seat, bool correct, uint32_t elapsedMs) = 0;
  // For the run log: a customer gave up waiting and left.
  virtual void CustomerGaveUp(int16_t seat) = 0;
};

// The time the stage takes from the machine.
class StageClock {
 public:
  virtual ~StageClock() = default;
  // Milliseconds, 32 bits, wrapping: arrival and serving times.
  virtual uint32_t TickCount() = 0;
  // Local time of day in seconds since midnight, fractions included: the
  // order draws are re-seeded from it.
  virtual double SecondsSinceMidnight() = 0;
};

}  // namespace dovetail::cafe
