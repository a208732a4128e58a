#pragma once

#include <cstdint>
#include <span>

namespace dovetail {

// The WAVE file of built-in effect sound `id`; empty when the program has no sound with that
// identifier. The seven sounds (101..107) are synthesised at build time by
// tools/sounds/MakeEffectSounds.cpp, whose output defines this function.
std::span<const uint8_t> EffectSoundWave(int32_t id);

}  // namespace dovetail
