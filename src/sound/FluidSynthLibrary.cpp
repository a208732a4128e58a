#include "sound/FluidSynthLibrary.h"

namespace dovetail {

Result<FluidSynthCalls> LoadFluidSynth() {
  Result<SharedLibrary> opened = SharedLibrary::Open("libfluidsynth.so.3");
  if (!opened) return opened.error();
  const SharedLibrary& library = *opened;
  FluidSynthCalls table;
  DOVETAIL_FLUIDSYNTH_CALLS(DOVETAIL_LIBRARY_FIND)
  // The setting is process-wide.
  for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
    table.fluid_set_log_function(level, nullptr, nullptr);
  return table;
}

}  // namespace dovetail
