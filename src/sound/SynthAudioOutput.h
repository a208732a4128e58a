#pragma once

#include <bitset>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/Result.h"
#include "sound/AudioOutput.h"
#include "sound/MusicSequencer.h"
#include "sound/PulseStreams.h"

// FluidSynth's handles, kept out of this header.
struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_audio_driver_t;

namespace dovetail {

struct FluidSynthCalls;

// The General MIDI soundfont of the system: FluidR3_GM when installed,
// TimGM6mb otherwise, then whatever the system names its default; nothing
// when none is installed.
std::optional<std::filesystem::path> FindSoundFont();

// The desktop's audio output: FluidSynth renders the music from a General MIDI
// soundfont, the effect sounds play beside it, and the master volume scales
// both. The sound goes out through the program's own sound-server streams
// (PulseStreams: a long-buffered music stream, a short-lived low-latency
// effect stream, the volume applied by the server) or, without a sound server,
// through FluidSynth's driver for PipeWire or ALSA, which pulls the mix from a
// thread of its own through Render. Every other call comes from the program's
// thread; one lock keeps them apart (held for one block's rendering at most).
//
// The playing position and the end of a piece are those heard: the music
// rendered ahead and not yet played is accounted for.
//
// The synthesizer's library is loaded and the soundfont read on a worker
// thread of its own (the library pulls in forty-odd others; a large soundfont
// takes a few hundred milliseconds), started once the first frame is on the
// screen (StartLoading) or when music is first asked for, so that the window
// and the splash need not wait for them. Until then the output plays effects
// only; a piece started meanwhile is kept and starts from its beginning once
// the soundfont is there.
class SynthAudioOutput : public AudioOutput, private PulseStreams::Source {
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

  // Checks `soundFont` (CheckSoundFont); StartLoading loads it (samples are
  // read from it when an instrument is first chosen, so memory stays low).
  // Without a soundfont the output plays effects only and refuses music.
  static Result<std::unique_ptr<SynthAudioOutput>> Create(
      const std::optional<std::filesystem::path>& soundFont, EffectBuffers effects,
      LoadFailure onLoadFailure = {});
  ~SynthAudioOutput() override;
  SynthAudioOutput(const SynthAudioOutput&) = delete;
  SynthAudioOutput& operator=(const SynthAudioOutput&) = delete;

  // Opens the sound server (our own streams; PulseAudio or PipeWire's
  // service), else FluidSynth's driver for PipeWire or the sound card; false
  // when none answers.
  bool Open() override;
  bool IsOpen() const override { return streams_ != nullptr || driver_ != nullptr; }

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

  // Starts the worker thread that loads the synthesizer and the soundfont,
  // once; nothing without a soundfont.
  void StartLoading();

  // Starts loading and blocks until the soundfont is loaded or has failed to
  // load (at once when there is none); for tests and benchmarks. True when
  // music can be played.
  bool WaitUntilLoaded();

  // For the benchmark of effect latency: true once the first frame of the
  // effect played last has been heard (at once without our own streams).
  bool EffectHeard();
  // Which way the sound goes out, for reports: "sound server streams",
  // "FluidSynth driver NAME" or "none".
  std::string DeviceName() const;

 private:
  class SynthSink;
  struct PendingPiece {
    MidiPiece piece;
    std::optional<MusicLoop> loop;
  };

  SynthAudioOutput(std::optional<std::filesystem::path> soundFont, EffectBuffers effects,
                   LoadFailure onLoadFailure);
  // The worker thread: loads the library, builds the synthesizer, loads the
  // soundfont, then hands them over and starts a piece asked for meanwhile.
  void LoadSynth(std::filesystem::path soundFont, LoadFailure onLoadFailure);
  bool OpenDriver();
  // Starts `piece` on the synthesizer; the lock is held.
  void StartOnSynth(const MidiPiece& piece, std::optional<MusicLoop> loop);
  // Renders the music (no effects, no volume) and counts the frames rendered.
  void RenderMusic(float* left, float* right, uint32_t frames);
  // Brings the heard position up to the frames `played` (at most those
  // rendered); nothing when the device has not told.
  void CatchUpHeard(std::optional<uint64_t> played);
  uint32_t PullMusic(float* out, uint32_t frames) override;
  uint32_t PullEffects(float* out, uint32_t frames) override;
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
  // Mixes the effects into the buffers; returns how many frames hold some
  // effect (fewer than `frames` when the last one ends within them).
  uint32_t MixEffects(float* left, float* right, uint32_t frames);
  void ApplyVolume(float* left, float* right, uint32_t frames);
  float Gain() const;

  const std::optional<std::filesystem::path> soundFont_;
  const EffectBuffers effects_;
  const LoadFailure onLoadFailure_;
  // Started and joined on the program's thread.
  bool loadingStarted_ = false;
  std::thread loader_;
  // The synthesizer library's functions; loaded by the worker, or by Open for
  // the driver (each keeps its own copy of the table).
  std::unique_ptr<FluidSynthCalls> fluid_;
  std::unique_ptr<FluidSynthCalls> driverFluid_;
  _fluid_hashtable_t* driverSettings_ = nullptr;
  _fluid_audio_driver_t* driver_ = nullptr;
  std::string driverName_;
  // Our own streams; set by Open on the program's thread, read by the worker
  // under deviceLock_. The order of the locks: deviceLock_, the streams', lock_.
  std::unique_ptr<PulseStreams> streams_;
  std::mutex deviceLock_;

  mutable std::mutex lock_;
  // Set once by the worker (under the lock) when the soundfont is loaded.
  _fluid_hashtable_t* synthSettings_ = nullptr;
  _fluid_synth_t* synth_ = nullptr;
  std::unique_ptr<SynthSink> sink_;
  bool loadFailed_ = false;
  std::optional<PendingPiece> pending_;
  MusicSequencer sequencer_{kSampleRate};
  // The piece as heard: the same piece moved on only as far as the device has
  // played it, so that its position and end are what the player hears.
  MusicSequencer heard_{kSampleRate};
  SilentSink silent_;
  uint64_t framesRendered_ = 0;
  uint64_t framesHeard_ = 0;
  // Frames rendered since the music fell silent (no piece, no voice left):
  // after a while for the reverb to die away, the music stream rests.
  uint64_t quietFrames_ = 0;
  std::optional<EffectVoice> effect_;
  // The effect a newer one cut off, fading out over a few ms instead of
  // stopping dead, which would click.
  std::optional<EffectVoice> fading_;
  uint32_t fadeFramesLeft_ = 0;
  uint16_t volume_ = 65535;
  float appliedGain_ = 1.0f;
};

}  // namespace dovetail
