#include "minigame/CafeRandom.h"

#include <cmath>

namespace dovetail::cafe {

namespace {

constexpr uint64_t kGolden = 0x9E3779B97F4A7C15ull;

// One step of the SplitMix64 generator: a well-mixed 64-bit output from a
// state that advances by a fixed odd constant.
uint64_t NextMixed(uint64_t& state) {
  state += kGolden;
  uint64_t z = state;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// The time of day to whole milliseconds; out-of-range values wrap into the
// day rather than being refused, as a clock's reading is never an error here.
uint64_t Milliseconds(double seconds) {
  if (!std::isfinite(seconds)) return 0;
  const double ms = std::fmod(std::round(seconds * 1000.0), 86400000.0);
  return static_cast<uint64_t>(ms < 0 ? ms + 86400000.0 : ms);
}

}  // namespace

CafeRandom::CafeRandom(uint64_t runSeed) : runSeed_(runSeed), state_(runSeed) {}

float CafeRandom::Rnd() {
  const uint64_t top24 = NextMixed(state_) >> 40;
  return static_cast<float>(top24) / 16777216.0f;
}

void CafeRandom::Randomize(double secondsSinceMidnight) {
  uint64_t seed = runSeed_ ^ (Milliseconds(secondsSinceMidnight) * kGolden);
  state_ = NextMixed(seed);
}

}  // namespace dovetail::cafe
