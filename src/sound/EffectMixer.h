#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace dovetail {

// The built-in effect sounds mixed on top of the music: one effect sounds at a
// time, and a newer one cuts off the one still playing, which fades out over
// a few milliseconds instead of stopping dead (that would click).
//
// Not thread-safe: its owner keeps the calls apart, except LengthMs, which
// reads only the sounds given at construction.
class EffectMixer {
 public:
  // Effect sounds as interleaved stereo samples at the mixer's rate, by
  // identifier.
  using Sounds = std::map<int32_t, std::vector<float>>;

  EffectMixer(Sounds sounds, uint32_t sampleRate);

  // The sound's length, or nothing when there is no such sound.
  std::optional<uint32_t> LengthMs(int32_t id) const;
  // Starts the sound `id` from its beginning, cutting off the one playing;
  // false (and nothing changes) when there is no such sound.
  bool Play(int32_t id);
  // Adds the effects to the buffers; returns how many frames hold some effect
  // (fewer than `frames` when the last one ends within them).
  uint32_t Mix(float* left, float* right, uint32_t frames);

 private:
  // An effect sound at its playing position.
  struct Voice {
    const std::vector<float>* samples = nullptr;
    size_t frame = 0;
  };
  // Adds `voice` to the buffers, its level falling by `fallPerFrame` from
  // `level` each frame; returns false when the sound has ended.
  static bool MixVoice(Voice& voice, float* left, float* right, uint32_t frames, float level,
                       float fallPerFrame);

  const Sounds sounds_;
  const uint32_t sampleRate_;
  // How long a sound that is cut off takes to fall silent: 5 ms.
  const uint32_t cutOffFrames_;
  std::optional<Voice> playing_;
  // The sound a newer one cut off, while it fades out.
  std::optional<Voice> fading_;
  uint32_t fadeFramesLeft_ = 0;
};

}  // namespace dovetail
