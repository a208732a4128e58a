#include "minigame/ServingRule.h"

namespace dovetail::cafe {

namespace {

constexpr int16_t kMatched = 1;

}  // namespace

ServingOutcome MatchServing(DishSlots& order, DishSlots& plate) {
  ServingOutcome outcome;
  for (int i = 1; i <= 3; ++i) {
    for (int k = 1; k <= 3; ++k) {
      if (plate[i] != order[k]) continue;
      if (plate[i] > kMatched) outcome.matchedDishes.push_back(plate[i]);
      order[k] = kMatched;
      plate[i] = kMatched;
    }
  }
  outcome.correct = order[1] + order[2] + order[3] == 3 * kMatched;
  return outcome;
}

}  // namespace dovetail::cafe
