#include "backends/audio/synthesizer/FluidSynthLibrary.h"

#include <glib.h>

namespace dovetail {

namespace {

void DropReport(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

// The synthesizer reads DLS files through libinstpatch, and tries that reader
// on a file its own soundfont reader refused: the checks that fail inside it
// are reported as GLib "CRITICAL" lines on standard error, in GLib's default
// domain. They are dropped as the synthesizer's own reports are (this
// program's own code never logs through GLib). The handler is process-wide;
// each call adds one, of a few bytes. Nothing where GLib cannot be had.
void SilenceGLibReports() {
  Result<SharedLibrary> glib = SharedLibrary::Open("libglib-2.0.so.0");
  decltype(&::g_log_set_handler) setHandler = nullptr;
  if (!glib || !glib->Find(setHandler, "g_log_set_handler")) return;
  // Errors are left alone: GLib ends the process on them whatever the handler.
  setHandler(nullptr, static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK & ~G_LOG_LEVEL_ERROR),
             &DropReport, nullptr);
}

Result<FluidSynthCalls> LoadFluidSynth() {
  Result<SharedLibrary> opened = SharedLibrary::Open("libfluidsynth.so.3");
  if (!opened) return opened.error();
  const SharedLibrary& library = *opened;
  FluidSynthCalls table;
  DOVETAIL_FLUIDSYNTH_CALLS(DOVETAIL_LIBRARY_FIND)
  // The setting is process-wide.
  for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
    table.fluid_set_log_function(level, nullptr, nullptr);
  SilenceGLibReports();
  return table;
}

}  // namespace

Result<const FluidSynthCalls*> FluidSynthLibrary::Calls() {
  std::lock_guard guard(lock_);
  if (!calls_) {
    Result<FluidSynthCalls> loaded = LoadFluidSynth();
    if (!loaded) return loaded.error();
    calls_ = *loaded;
  }
  return &*calls_;
}

}  // namespace dovetail
