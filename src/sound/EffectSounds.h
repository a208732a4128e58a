#pragma once

#include <cstdint>
#include <map>

#include "base/Result.h"
#include "sound/WaveFile.h"

namespace dovetail {

// The program's seven built-in effect sounds, decoded once from the WAVE data
// compiled into the program.
class EffectSounds {
 public:
  static constexpr int32_t kFirstId = 101;
  static constexpr int32_t kLastId = 107;

  // Decodes sounds kFirstId..kLastId; an error naming the sound if one fails.
  static Result<EffectSounds> LoadBuiltIn();

  // The sound with identifier `id`, or nullptr when there is none.
  const WaveSound* Find(int32_t id) const;
  // Each sound's identifier and its length in milliseconds.
  std::map<int32_t, uint32_t> Lengths() const;

 private:
  EffectSounds() = default;

  std::map<int32_t, WaveSound> sounds_;
};

}  // namespace dovetail
