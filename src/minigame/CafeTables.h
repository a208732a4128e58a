#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace dovetail::cafe {

// Tuning of one café stage, read from the settings file.
struct StageParams {
  int16_t CrowdStart = 0;
  float CrowdGrowth = 0.0f;
  int16_t OrderSizeStart = 0;
  float OrderSizeGrowth = 0.0f;
  int16_t PatienceStart = 0;
  float PatienceDecay = 0.0f;
  int16_t StageSeconds = 0;
};

// One dish of the menu: its button on the board, its picture in the sheet and
// its name.
struct MenuItem {
  int16_t ButtonX = 0;
  int16_t ButtonY = 0;
  int16_t ButtonW = 0;
  int16_t ButtonH = 0;
  int16_t SheetX = 0;
  int16_t SheetY = 0;
  std::string Name;
};

// Where a dish of a category is drawn when it lands in a plate slot.
struct PlateSpot {
  int16_t X = 0;
  int16_t Y = 0;
  int16_t W = 0;
  int16_t H = 0;
};

constexpr int kStageCount = 14;
constexpr int kCategoryCount = 4;
constexpr int kDishCount = 5;
constexpr int kPlateSlots = 3;

// The café tables; index 0 of every dimension stays unused, as the stage,
// category, dish and slot numbers start at 1.
struct CafeTables {
  std::array<StageParams, kStageCount + 1> StageTable{};
  std::array<std::array<MenuItem, kDishCount + 1>, kCategoryCount + 1> MenuTable{};
  std::array<std::array<PlateSpot, kPlateSlots + 1>, kCategoryCount + 1> PlateLayout{};
};

}  // namespace dovetail::cafe
