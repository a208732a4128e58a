#include <gtest/gtest.h>

#include <vector>

#include "minigame/ServingRule.h"

namespace dovetail::cafe {
namespace {

constexpr int16_t A = 101;
constexpr int16_t B = 203;
constexpr int16_t C = 405;

struct ServingCase {
  const char* name;
  DishSlots order;
  DishSlots plate;
  bool correct;
  std::vector<int16_t> logged;
};

const ServingCase kServings[] = {
    {"same dishes in another slot order", {0, A, B, 0}, {0, B, A, 0}, true, {B, A}},
    {"one dish short of a double order", {0, A, A, 0}, {0, A, 0, 0}, false, {A}},
    {"one dish too many", {0, A, 0, 0}, {0, A, A, 0}, false, {A}},
    {"empty order, empty plate", {0, 0, 0, 0}, {0, 0, 0, 0}, true, {}},
    {"empty order, a dish on the plate", {0, 0, 0, 0}, {0, A, 0, 0}, false, {}},
    {"empty plate for a one-dish order", {0, A, 0, 0}, {0, 0, 0, 0}, false, {}},
    {"three dishes, reversed", {0, A, B, C}, {0, C, B, A}, true, {C, B, A}},
    {"a double order served double", {0, A, A, B}, {0, B, A, A}, true, {B, A, A}},
    {"one wrong dish of three", {0, A, B, C}, {0, A, B, B}, false, {A, B}},
};

TEST(ServingRuleTest, CorrectExactlyWhenThePlateHoldsTheOrderAndNothingElse) {
  for (const ServingCase& c : kServings) {
    DishSlots order = c.order;
    DishSlots plate = c.plate;
    const ServingOutcome outcome = MatchServing(order, plate);
    EXPECT_EQ(outcome.correct, c.correct) << c.name;
    EXPECT_EQ(outcome.matchedDishes, c.logged) << c.name;
  }
}

}  // namespace
}  // namespace dovetail::cafe
