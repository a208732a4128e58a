#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/Result.h"

namespace dovetail {

// A decoded PCM sound: 16-bit samples whatever the file's own sample size.
struct WaveSound {
  uint32_t sampleRate = 0;
  uint16_t channels = 0;
  std::vector<int16_t> samples;  // interleaved, `channels` to a frame

  // Playing time: frames * 1000 / rate, rounded down.
  uint32_t LengthMs() const;
};

// Reads a RIFF/WAVE file held in memory: PCM (format 1, or WAVE_FORMAT_EXTENSIBLE
// whose sub-format is PCM), 8-bit unsigned or 16-bit signed samples, 1 or 2
// channels, 4000..192000 frames a second. Chunks it does not know are skipped.
// A data chunk that claims more bytes than the file holds keeps the whole frames
// present. `name` names the sound in errors.
Result<WaveSound> DecodeWave(std::span<const uint8_t> bytes, const std::string& name);

// The sound as interleaved stereo floats in -1..1 at `outputRate`, by linear
// interpolation (mono is copied to both sides). The result lasts as long as the
// sound: ceil(frames * outputRate / sampleRate) frames.
std::vector<float> ToStereo(const WaveSound& sound, uint32_t outputRate);

}  // namespace dovetail
