#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace dovetail::cafe {

// Dish codes of an order or of the plate, slots 1..3; slot 0 is unused and an
// unfilled slot holds 0. During matching 1 marks a slot already matched.
using DishSlots = std::array<int16_t, 4>;

struct ServingOutcome {
  bool correct = false;
  // Dishes of the plate that matched an ordered dish, in matching order; they
  // are logged even when the serving as a whole is wrong.
  std::vector<int16_t> matchedDishes;
};

// Serves `plate` against `order`. For plate slot 1..3 and, inside, order slot
// 1..3, equal values are both marked matched (set to 1), a real dish being
// noted first. An empty plate slot thereby satisfies an unfilled order slot.
// The serving is correct when every order slot ended up matched: the plate
// holds the ordered dishes, each as often as ordered, in any slot order, and
// nothing else. Both arrays are left with their matched slots marked.
ServingOutcome MatchServing(DishSlots& order, DishSlots& plate);

}  // namespace dovetail::cafe
