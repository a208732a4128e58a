#pragma once

#include <cstdint>

namespace dovetail::cafe {

// The café's chance: uniform draws on [0, 1) in single precision (24 bits),
// re-seeded from the time of day before every order as the game does. The run
// seed is mixed into every seeding, so a run with a fixed seed and a virtual
// clock draws the same customers and orders every time, and different seeds
// draw different ones.
class CafeRandom {
 public:
  explicit CafeRandom(uint64_t runSeed = 0);

  // The next draw, 0 <= value < 1.
  float Rnd();

  // Restarts the sequence from the time of day (seconds since midnight,
  // milliseconds count; other values are taken as they come).
  void Randomize(double secondsSinceMidnight);

 private:
  uint64_t runSeed_;
  uint64_t state_;
};

}  // namespace dovetail::cafe
