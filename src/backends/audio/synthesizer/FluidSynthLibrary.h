#pragma once

#include <fluidsynth.h>

#include <mutex>
#include <optional>

#include "backends/audio/synthesizer/SharedLibrary.h"
#include "base/Result.h"

namespace dovetail {

// The synthesizer library's functions this program calls. The library (with
// the forty-odd libraries it pulls in) is loaded when the synthesizer is first
// built, on the loading thread, instead of before the program's first frame.
// clang-format off
#define DOVETAIL_FLUIDSYNTH_CALLS(X) \
  X(new_fluid_settings) \
  X(delete_fluid_settings) \
  X(fluid_settings_setnum) \
  X(fluid_settings_setint) \
  X(fluid_settings_setstr) \
  X(new_fluid_synth) \
  X(delete_fluid_synth) \
  X(fluid_synth_system_reset) \
  X(fluid_synth_sfload) \
  X(new_fluid_audio_driver2) \
  X(delete_fluid_audio_driver) \
  X(fluid_synth_noteoff) \
  X(fluid_synth_noteon) \
  X(fluid_synth_key_pressure) \
  X(fluid_synth_cc) \
  X(fluid_synth_program_change) \
  X(fluid_synth_channel_pressure) \
  X(fluid_synth_pitch_bend) \
  X(fluid_synth_write_float) \
  X(fluid_synth_unset_program) \
  X(fluid_synth_get_active_voice_count) \
  X(fluid_set_log_function)
// clang-format on

struct FluidSynthCalls {
  DOVETAIL_FLUIDSYNTH_CALLS(DOVETAIL_LIBRARY_ENTRY)
};

// The library's functions for one audio output, loaded for whoever needs them
// first (the synthesizer on its loading thread, or the driver on the program's
// thread) and then shared by both. Loading opens the library (once per
// process; later loads find it open) and silences the reports it and the
// libraries it reads files with would write on standard error: this program
// reports failures itself. A load that failed is tried
// again by the next caller. The lock is held only while loading, and no other
// lock is taken inside it.
class FluidSynthLibrary {
 public:
  // The table, valid and unchanged for this object's life, or why the library
  // could not be loaded (the error names it).
  Result<const FluidSynthCalls*> Calls();

 private:
  std::mutex lock_;
  std::optional<FluidSynthCalls> calls_;
};

}  // namespace dovetail
