#pragma once

#include <bitset>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "base/Result.h"
#include "sound/AudioOutput.h"
#include "sound/MusicSequencer.h"

// FluidSynth's handles, kept out of this header.
struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_audio_driver_t;

namespace dovetail {

// The General MIDI soundfont of the system: FluidR3_GM when installed,
// TimGM6mb otherwise, then whatever the system names its default; nothing
// when none is installed.
std::optional<std::filesystem::path> FindSoundFont();

// The desktop's audio output: FluidSynth renders the music from a General MIDI
// soundfont, the effect sounds are mixed on top and the master volume scales
// the sum. The sound device pulls the sound from a thread of its own through
// Render; every other call comes from the program's thread, and one lock keeps
// the two apart (held for one buffer's rendering at most).
//
// The soundfont is loaded on a worker thread of its own (a large one takes a
// few hundred milliseconds), so that the window and the splash need not wait
// for it. Until it is loaded the output plays effects only; a piece started
// meanwhile is kept and starts from its beginning once the soundfont is there.
class SynthAudioOutput : public AudioOutput {
 public:
  static constexpr uint32_t kSampleRate = 44100;

  // Effect sounds as interleaved stereo samples at kSampleRate, by identifier.
  using EffectBuffers = std::map<int32_t, std::vector<float>>;
  // Told, from the loading thread, why a soundfont that passed the check
  // could not be loaded after all; the music is off then.
  using LoadFailure = std::function<void(const Error&)>;

  // The cheap check made before any window opens: `soundFont` is a regular
  // file with a soundfont's header. The error names the file.
  static Status CheckSoundFont(const std::filesystem::path& soundFont);

  // Checks `soundFont` (CheckSoundFont) and starts loading it on the worker
  // thread (samples are read from it when an instrument is first chosen, so
  // memory stays low). Without a soundfont the output plays effects only and
  // refuses music.
  static Result<std::unique_ptr<SynthAudioOutput>> Create(
      const std::optional<std::filesystem::path>& soundFont, EffectBuffers effects,
      LoadFailure onLoadFailure = {});
  ~SynthAudioOutput() override;
  SynthAudioOutput(const SynthAudioOutput&) = delete;
  SynthAudioOutput& operator=(const SynthAudioOutput&) = delete;

  // Opens the sound server or card (PulseAudio, PipeWire, then ALSA); false
  // when none answers. The device starts pulling sound at once.
  bool Open() override;
  bool IsOpen() const override { return driver_ != nullptr; }

  Status StartMusic(const MidiPiece& piece, std::optional<MusicLoop> loop) override;
  void StopMusic() override;
  uint32_t MusicPositionMs() override;
  bool MusicFinished() override;
  bool PlayEffect(int32_t id) override;
  std::optional<uint32_t> EffectLengthMs(int32_t id) const override;
  void SetMasterVolume(uint16_t volume) override;
  uint16_t MasterVolume() const override;

  // Renders the next `frames` frames of the mix, as the device pulls them (also
  // for tests and benchmarks, without a device).
  void Render(float* left, float* right, uint32_t frames);

  // Blocks until the soundfont is loaded or has failed to load (at once when
  // there is none); for tests and benchmarks. True when music can be played.
  bool WaitUntilLoaded();

 private:
  class SynthSink;
  struct PendingPiece {
    MidiPiece piece;
    std::optional<MusicLoop> loop;
  };

  SynthAudioOutput(_fluid_hashtable_t* settings, bool hasSoundFont, EffectBuffers effects);
  // The worker thread: builds the synthesizer, loads the soundfont, then hands
  // both over and starts a piece that was asked for meanwhile.
  void LoadSynth(std::filesystem::path soundFont, LoadFailure onLoadFailure);
  // Starts `piece` on the synthesizer; the lock is held.
  void StartOnSynth(const MidiPiece& piece, std::optional<MusicLoop> loop);
  static int DevicePull(void* self, int frames, int effectCount, float* effects[], int outputCount,
                        float* outputs[]);
  // An effect sound at its playing position.
  struct EffectVoice {
    const std::vector<float>* samples = nullptr;
    size_t frame = 0;
  };
  // Adds `voice` to the buffers, its level falling by `fallPerFrame` from
  // `level` each frame; returns false when the sound has ended.
  static bool MixVoice(EffectVoice& voice, float* left, float* right, uint32_t frames, float level,
                       float fallPerFrame);
  void MixEffects(float* left, float* right, uint32_t frames);
  void ApplyVolume(float* left, float* right, uint32_t frames);

  // The device's settings; the synthesizer has its own, made by the worker.
  _fluid_hashtable_t* settings_;
  _fluid_audio_driver_t* driver_ = nullptr;
  bool hasSoundFont_;
  const EffectBuffers effects_;
  std::thread loader_;

  mutable std::mutex lock_;
  // Set once by the worker (under the lock) when the soundfont is loaded.
  _fluid_hashtable_t* synthSettings_ = nullptr;
  _fluid_synth_t* synth_ = nullptr;
  std::unique_ptr<SynthSink> sink_;
  bool loadFailed_ = false;
  std::optional<PendingPiece> pending_;
  MusicSequencer sequencer_{kSampleRate};
  std::optional<EffectVoice> effect_;
  // The effect a newer one cut off, fading out over a few ms instead of
  // stopping dead, which would click.
  std::optional<EffectVoice> fading_;
  uint32_t fadeFramesLeft_ = 0;
  uint16_t volume_ = 65535;
  float appliedGain_ = 1.0f;
};

}  // namespace dovetail
