#pragma once

#include <fluidsynth.h>

#include "base/Result.h"
#include "sound/SharedLibrary.h"

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

// Loads the library (once per process; later calls find it loaded) and
// silences its own reports on standard error: this program reports failures
// itself. The error names the library.
Result<FluidSynthCalls> LoadFluidSynth();

}  // namespace dovetail
