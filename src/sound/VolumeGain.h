#pragma once

#include <concepts>
#include <cstdint>

namespace dovetail {

// The gain (linear amplitude 0..1) a master volume setting (0..65535) scales
// the sound by: the square of the setting, so that equal steps of a fade sound
// like equal steps of loudness. Computed in the precision of the output that
// applies it (the desktop mixes in float, the page takes a double).
template <std::floating_point Real>
constexpr Real VolumeGain(uint16_t volume) {
  const Real level = static_cast<Real>(volume) / Real{65535};
  return level * level;
}

}  // namespace dovetail
