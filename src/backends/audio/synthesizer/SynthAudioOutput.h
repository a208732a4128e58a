#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "backends/audio/server-streams/PulseStreams.h"
#include "backends/audio/synthesizer/SoundFontSynth.h"
#include "base/Result.h"
#include "sound/AudioOutput.h"
#include "sound/EffectMixer.h"
#include "sound/SoundDevice.h"

namespace dovetail {

class FluidSynthLibrary;

// The desktop's audio output: the music from the synthesizer (SoundFontSynth),
// the effect sounds mixed beside it (EffectMixer), and the master volume
// scaling both. The sound goes out through the first device that opens
// (SoundDevice): the program's own sound-server streams (PulseStreams: a
// long-buffered music stream, a short-lived low-latency effect stream, the
// volume applied by the server), else the synthesizer's driver for PipeWire
// or ALSA (FluidSynthDriver), which pulls the mix from a thread of its own
// through Render, else none.
//
// Every call but the pulls comes from the program's thread. The locks, in the
// order they are taken: deviceLock_ (which device; the program's thread
// changes it, the loading thread reads it), the device's own (the streams',
// held by their pulls), then the synthesizer's or mixLock_ (never both at
// once; each held for one block's rendering at most). The library's lock is
// held only while it loads, with none of these taken inside.
//
// The playing position and the end of a piece are those heard: the music
// rendered ahead and not yet played is accounted for.
//
// The synthesizer is loaded on a thread of its own, started once the first
// frame is on the screen (StartLoading) or when music is first asked for, so
// that the window and the splash need not wait for it. Until then the output
// plays effects only; a piece started meanwhile starts from its beginning once
// the soundfont is there.
class SynthAudioOutput : public AudioOutput, private PulseStreams::Source {
 public:
  static constexpr uint32_t kSampleRate = 44100;

  // Effect sounds as interleaved stereo samples at kSampleRate, by identifier.
  using EffectBuffers = EffectMixer::Sounds;
  using LoadFailure = SoundFontSynth::LoadFailure;

  // The cheap check made before any window opens: `soundFont` is a regular
  // file with a soundfont's header. The error names the file.
  static Status CheckSoundFont(const std::filesystem::path& soundFont);

  // Checks `soundFont` (CheckSoundFont); StartLoading loads it (samples are
  // read from it when an instrument is first chosen, so memory stays low).
  // Without a soundfont the output plays effects only and refuses music.
  static Result<std::unique_ptr<SynthAudioOutput>> Create(
      const std::optional<std::filesystem::path>& soundFont, EffectBuffers effects,
      LoadFailure onLoadFailure = {});
  ~SynthAudioOutput() override;
  SynthAudioOutput(const SynthAudioOutput&) = delete;
  SynthAudioOutput& operator=(const SynthAudioOutput&) = delete;

  // Opens the first device that answers (tried again on each call while none
  // has); false when none does.
  bool Open() override;
  bool IsOpen() const override { return !device_->Silent(); }

  Status StartMusic(const MidiPiece& piece, std::optional<MusicLoop> loop) override;
  void StopMusic() override;
  uint32_t MusicPositionMs() override;
  bool MusicFinished() override;
  bool PlayEffect(int32_t id) override;
  std::optional<uint32_t> EffectLengthMs(int32_t id) const override;
  void SetMasterVolume(uint16_t volume) override;
  uint16_t MasterVolume() const override;

  // Renders the next `frames` frames of the whole mix, volume applied, as a
  // driver pulls them (also for tests and benchmarks, without a device).
  void Render(float* left, float* right, uint32_t frames);

  // Starts the thread that loads the synthesizer and the soundfont, once;
  // nothing without a soundfont.
  void StartLoading() { synth_.StartLoading(); }

  // Starts loading and blocks until the soundfont is loaded or has failed to
  // load (at once when there is none); for tests and benchmarks. True when
  // music can be played.
  bool WaitUntilLoaded() { return synth_.WaitUntilLoaded(); }

  // For the benchmark of effect latency: true once the first frame of the
  // effect played last has been heard (at once without our own streams).
  bool EffectHeard();
  // Which way the sound goes out, for reports: "sound server streams",
  // "FluidSynth driver NAME" or "none".
  std::string DeviceName() const { return device_->Name(); }

 private:
  SynthAudioOutput(std::optional<std::filesystem::path> soundFont, EffectBuffers effects,
                   LoadFailure onLoadFailure);
  // The devices in the order tried; the first that opens is the one kept, and
  // silence when none does.
  std::unique_ptr<SoundDevice> OpenFirstDevice();
  // The synthesizer's hand-over from its loading thread, with the device held.
  void HandOverSynth(const std::function<bool()>& install);
  uint32_t PullMusic(float* out, uint32_t frames) override;
  uint32_t PullEffects(float* out, uint32_t frames) override;
  // Scales the mix by the master volume; mixLock_ is held.
  void ApplyVolume(float* left, float* right, uint32_t frames);

  // Shared by the synthesizer and the driver; outlives both.
  const std::unique_ptr<FluidSynthLibrary> library_;
  // Never null: silence until a device opens. Changed on the program's
  // thread, under deviceLock_, which the loading thread takes to read it.
  std::unique_ptr<SoundDevice> device_ = std::make_unique<SilentDevice>();
  std::mutex deviceLock_;

  mutable std::mutex mixLock_;
  EffectMixer mixer_;
  uint16_t volume_ = 65535;
  float appliedGain_ = 1.0f;

  // Last, so that it is gone (its loading thread joined) before what its
  // hand-over reaches.
  SoundFontSynth synth_;
};

}  // namespace dovetail
