#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "sound/SoundDevice.h"

// FluidSynth's handles, kept out of this header.
struct _fluid_hashtable_t;
struct _fluid_audio_driver_t;

namespace dovetail {

class FluidSynthLibrary;
struct FluidSynthCalls;

// The synthesizer library's own driver, for PipeWire or the sound card, where
// no sound server takes the program's streams: a thread of the driver's pulls
// the whole mix, volume applied, in large periods. Nothing is buffered ahead
// of what is pulled, so the defaults of SoundDevice hold.
class FluidSynthDriver final : public SoundDevice {
 public:
  // Renders the next `frames` frames of the mix; called on the driver's thread.
  using Pull = std::function<void(float* left, float* right, uint32_t frames)>;

  // Opens the first driver that answers, pulling from `pull`; nothing when
  // the library cannot be loaded or no driver answers.
  static std::unique_ptr<FluidSynthDriver> Open(FluidSynthLibrary& library, uint32_t sampleRate,
                                                Pull pull);
  // Stops the driver's thread before anything it pulls from goes away.
  ~FluidSynthDriver() override;
  FluidSynthDriver(const FluidSynthDriver&) = delete;
  FluidSynthDriver& operator=(const FluidSynthDriver&) = delete;

  // "FluidSynth driver NAME".
  std::string Name() const override { return "FluidSynth driver " + name_; }

 private:
  FluidSynthDriver(const FluidSynthCalls& fluid, _fluid_hashtable_t* settings, Pull pull);
  // Starts the driver `name`; false when it does not answer.
  bool Start(const char* name);
  static int DevicePull(void* self, int frames, int effectCount, float* effects[], int outputCount,
                        float* outputs[]);

  const FluidSynthCalls& fluid_;
  _fluid_hashtable_t* settings_;
  const Pull pull_;
  _fluid_audio_driver_t* driver_ = nullptr;
  std::string name_;
};

}  // namespace dovetail
