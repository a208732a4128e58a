#include "backends/audio/synth-driver/FluidSynthDriver.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "backends/audio/synthesizer/FluidSynthLibrary.h"

namespace dovetail {

namespace {

// The driver pulls the mix in periods of this many frames, two in flight.
// Large periods keep the driver's thread from waking hundreds of times a
// second; the price is that an effect starts up to about 90 ms after it is
// asked for.
constexpr int kPeriodFrames = 4096;
constexpr int kPeriods = 2;

// The drivers tried, in order. JACK is left out (it would start a server of
// its own), and so is SDL (whose fallbacks include writing a file).
constexpr const char* kDrivers[] = {"pipewire", "alsa"};

// ALSA is tried only where the machine has a playback device: without one its
// library writes a page of complaints to standard error before it fails.
bool HasPlaybackDevice() {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/snd", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("pcmC") && name.ends_with("p")) return true;
  }
  return false;
}

}  // namespace

std::unique_ptr<FluidSynthDriver> FluidSynthDriver::Open(FluidSynthLibrary& library,
                                                         uint32_t sampleRate, Pull pull) {
  Result<const FluidSynthCalls*> fluid = library.Calls();
  if (!fluid) return nullptr;
  fluid_settings_t* settings = (*fluid)->new_fluid_settings();
  if (settings == nullptr) return nullptr;
  (*fluid)->fluid_settings_setnum(settings, "synth.sample-rate", sampleRate);
  (*fluid)->fluid_settings_setint(settings, "audio.period-size", kPeriodFrames);
  (*fluid)->fluid_settings_setint(settings, "audio.periods", kPeriods);
  std::unique_ptr<FluidSynthDriver> driver(
      new FluidSynthDriver(**fluid, settings, std::move(pull)));
  for (const char* name : kDrivers) {
    if (std::string_view(name) == "alsa" && !HasPlaybackDevice()) continue;
    if (driver->Start(name)) return driver;
  }
  return nullptr;
}

FluidSynthDriver::FluidSynthDriver(const FluidSynthCalls& fluid, fluid_settings_t* settings,
                                   Pull pull)
    : fluid_(fluid), settings_(settings), pull_(std::move(pull)) {}

FluidSynthDriver::~FluidSynthDriver() {
  if (driver_ != nullptr) fluid_.delete_fluid_audio_driver(driver_);
  fluid_.delete_fluid_settings(settings_);
}

bool FluidSynthDriver::Start(const char* name) {
  if (fluid_.fluid_settings_setstr(settings_, "audio.driver", name) != FLUID_OK) return false;
  driver_ = fluid_.new_fluid_audio_driver2(settings_, &FluidSynthDriver::DevicePull, this);
  if (driver_ == nullptr) return false;
  name_ = name;
  return true;
}

int FluidSynthDriver::DevicePull(void* self, int frames, int, float*[], int outputCount,
                                 float* outputs[]) {
  if (outputCount < 2 || frames <= 0) return FLUID_FAILED;
  static_cast<FluidSynthDriver*>(self)->pull_(outputs[0], outputs[1],
                                              static_cast<uint32_t>(frames));
  for (int i = 2; i < outputCount; ++i)
    std::fill_n(outputs[i], frames, 0.0f);
  return FLUID_OK;
}

}  // namespace dovetail
