#pragma once

#include <array>
#include <cstdint>

#include "minigame/CafeTables.h"
#include "minigame/ServingRule.h"

namespace dovetail::cafe {

constexpr int16_t kSeatCount = 3;
constexpr int16_t kNoCustomer = -1;

// The running stage: its growing crowd, order size and shrinking patience,
// the three seats, the orders and the plate. Per-seat arrays are indexed by
// seat 1..3; index 0 exists and stays unused. Not saved.
struct StageState {
  float Crowd = 0.0f;  // customers allowed at once; its whole part counts
  float CrowdGrowth = 0.0f;
  float OrderSize = 0.0f;  // dishes per order; its whole part counts
  float OrderSizeGrowth = 0.0f;
  float Patience = 0.0f;  // seconds a customer waits before giving up
  float PatienceDecay = 0.0f;
  int16_t TimeLeft = 0;  // ticks left in the stage
  int16_t CustomersPresent = 0;

  std::array<int16_t, 4> SeatCustomer{};  // look 0..3 of the seated customer, kNoCustomer
  // Seconds waited; after a serving a negative countdown to leaving.
  std::array<int16_t, 4> WaitTicks{};
  std::array<uint32_t, 4> ArriveTick{};  // host tick count at arrival / serving
  std::array<uint32_t, 4> ServeTick{};
  std::array<DishSlots, 4> Orders{};  // (seat, order slot 1..3)
  // The seat is occupied (its customer is on the board).
  std::array<bool, 4> Seated{};
  // The seated customer accepts a serving: from the end of the arrival (order
  // made, arrival time taken) until served.
  std::array<bool, 4> Servable{};

  DishSlots Plate{};
  int16_t PlateCount = 0;  // dishes on the plate, 0..3
};

// The stage's starting values from its entry of the stage table.
void LoadStageParams(StageState& state, const StageParams& params);

// Puts a dish on the plate in the next free slot and returns that slot
// (1..3), or 0 when the plate already holds three dishes (nothing changes).
int16_t PutOnPlate(StageState& state, int16_t code);

// Takes every dish off the plate.
void EmptyPlate(StageState& state);

// The whole part of a stage value (truncated toward zero), kept inside the
// 32-bit range so that any value read from the settings compares soundly.
int32_t WholePart(float value);

}  // namespace dovetail::cafe
