#include "minigame/StageState.h"

#include <cmath>
#include <limits>

namespace dovetail::cafe {

void LoadStageParams(StageState& state, const StageParams& params) {
  state.Crowd = params.CrowdStart;
  state.CrowdGrowth = params.CrowdGrowth;
  state.OrderSize = params.OrderSizeStart;
  state.OrderSizeGrowth = params.OrderSizeGrowth;
  state.Patience = params.PatienceStart;
  state.PatienceDecay = params.PatienceDecay;
  state.TimeLeft = params.StageSeconds;
}

int16_t PutOnPlate(StageState& state, int16_t code) {
  if (state.PlateCount >= kPlateSlots) return 0;
  ++state.PlateCount;
  state.Plate[state.PlateCount] = code;
  return state.PlateCount;
}

void EmptyPlate(StageState& state) {
  state.Plate = {};
  state.PlateCount = 0;
}

int32_t WholePart(float value) {
  if (std::isnan(value)) return 0;
  const double whole = std::trunc(static_cast<double>(value));
  if (whole <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  if (whole >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(whole);
}

}  // namespace dovetail::cafe
