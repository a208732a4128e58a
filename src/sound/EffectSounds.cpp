#include "sound/EffectSounds.h"

#include <string>
#include <utility>

#include "sound/BuiltInSoundData.h"

namespace dovetail {

Result<EffectSounds> EffectSounds::LoadBuiltIn() {
  EffectSounds sounds;
  for (int32_t id = kFirstId; id <= kLastId; ++id) {
    Result<WaveSound> sound = DecodeWave(EffectSoundWave(id), "effect sound " + std::to_string(id));
    if (!sound) return sound.error();
    sounds.sounds_.emplace(id, std::move(*sound));
  }
  return sounds;
}

const WaveSound* EffectSounds::Find(int32_t id) const {
  const auto found = sounds_.find(id);
  return found == sounds_.end() ? nullptr : &found->second;
}

std::map<int32_t, uint32_t> EffectSounds::Lengths() const {
  std::map<int32_t, uint32_t> lengths;
  for (const auto& [id, sound] : sounds_)
    lengths.emplace(id, sound.LengthMs());
  return lengths;
}

}  // namespace dovetail
