// WAVE data: any bytes give a sound or an error; a sound converts to the
// output's stereo floats.

#include <cstddef>
#include <cstdint>
#include <span>

#include "sound/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto sound = dovetail::DecodeWave(std::span<const uint8_t>(data, size), "101.wav");
  if (sound.ok()) (void)dovetail::ToStereo(*sound, 44100);
  return 0;
}
