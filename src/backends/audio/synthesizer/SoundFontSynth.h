#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "base/Result.h"
#include "sound/AudioOutput.h"
#include "sound/MusicSequencer.h"

// FluidSynth's handles, kept out of this header.
struct _fluid_hashtable_t;
struct _fluid_synth_t;

namespace dovetail {

class FluidSynthLibrary;
struct FluidSynthCalls;

// The General MIDI soundfont of the system: FluidR3_GM when installed,
// TimGM6mb otherwise, then whatever the system names its default; nothing
// when none is installed.
std::optional<std::filesystem::path> FindSoundFont();

// The music of the desktop: FluidSynth renders the piece the sequencer plays
// from a General MIDI soundfont.
//
// The library is loaded and the soundfont read on a worker thread of its own
// (the library pulls in forty-odd others; a large soundfont takes a few
// hundred milliseconds), started by StartLoading or when music is first asked
// for. Until then there is no music; a piece started meanwhile is kept and
// starts from its beginning once the soundfont is there.
//
// The playing position and the end of a piece are those heard: a second
// sequencer follows the piece only as far as the device has played it.
//
// The program's thread makes every call but Render and Resting, which a
// device's thread makes meanwhile; one lock keeps them and the loading thread
// apart (held for one block's rendering at most).
class SoundFontSynth {
 public:
  // Told, from the loading thread, why a soundfont that passed the check
  // could not be loaded after all; the music is off then.
  using LoadFailure = std::function<void(const Error&)>;
  // Runs `install` on the loading thread with the sound device held (the
  // device's locks come before the synthesizer's). When `install` returns
  // true, a piece asked for meanwhile has just started, and the device is to
  // drop the music it still holds.
  using HandOver = std::function<void(const std::function<bool()>& install)>;
  // How a piece started.
  enum class Started { kNow, kOnceLoaded };

  // The cheap check made before any window opens: `soundFont` is a regular
  // file with a soundfont's header. The error names the file.
  static Status CheckSoundFont(const std::filesystem::path& soundFont);

  // Without a soundfont there is no music. `library` outlives this object.
  SoundFontSynth(uint32_t sampleRate, std::optional<std::filesystem::path> soundFont,
                 FluidSynthLibrary& library, HandOver handOver, LoadFailure onLoadFailure);
  // Waits for the loading thread.
  ~SoundFontSynth();
  SoundFontSynth(const SoundFontSynth&) = delete;
  SoundFontSynth& operator=(const SoundFontSynth&) = delete;

  // Starts the loading thread, once; nothing without a soundfont (samples are
  // read from it when an instrument is first chosen, so memory stays low).
  void StartLoading();
  // Starts loading and blocks until the soundfont is loaded or has failed to
  // load (at once when there is none). True when music can be played.
  bool WaitUntilLoaded();

  // Starts `piece` from its beginning, now or once the soundfont is loaded
  // (loading starts then); an error naming the piece when there is no
  // soundfont, or it could not be loaded.
  Result<Started> Start(const MidiPiece& piece, std::optional<MusicLoop> loop);
  // Stops the piece (or forgets the one waiting for the soundfont). True when
  // a piece was stopped on the synthesizer: its notes are released now, so the
  // device is to drop the music it still holds.
  bool Stop();
  // The position and the end of the piece as heard, the device having played
  // `played` frames since the piece started (SoundDevice::MusicFramesPlayed).
  uint32_t HeardPositionMs(std::optional<uint64_t> played);
  bool HeardFinished(std::optional<uint64_t> played);

  // Renders the next `frames` frames of the music (silence without a
  // synthesizer), counting the frames rendered.
  void Render(float* left, float* right, uint32_t frames);
  // True when there is no music to render: no synthesizer yet, or silence
  // (no piece, no voice left) for long enough that the reverb has died away.
  // A device may stop pulling until the music restarts.
  bool Resting() const;

 private:
  class Sink;
  struct PendingPiece {
    MidiPiece piece;
    std::optional<MusicLoop> loop;
  };

  // The loading thread: loads the library, builds the synthesizer, loads the
  // soundfont, then hands them over and starts a piece asked for meanwhile.
  void Load(std::filesystem::path soundFont);
  // Starts `piece` on the synthesizer; the lock is held.
  void StartOnSynth(const MidiPiece& piece, std::optional<MusicLoop> loop);
  // Brings the heard position up to the frames `played` (at most those
  // rendered); nothing when the device has not told. The lock is held.
  void CatchUpHeard(std::optional<uint64_t> played);

  const uint32_t sampleRate_;
  const std::optional<std::filesystem::path> soundFont_;
  FluidSynthLibrary& library_;
  const HandOver handOver_;
  const LoadFailure onLoadFailure_;
  // Started and joined on the program's thread.
  bool loadingStarted_ = false;
  std::thread loader_;

  mutable std::mutex lock_;
  // Set once by the loading thread (under the lock) when the soundfont is loaded.
  const FluidSynthCalls* fluid_ = nullptr;
  _fluid_hashtable_t* settings_ = nullptr;
  _fluid_synth_t* synth_ = nullptr;
  std::unique_ptr<Sink> sink_;
  bool loadFailed_ = false;
  std::optional<PendingPiece> pending_;
  MusicSequencer sequencer_;
  // The piece as heard: the same piece moved on only as far as the device has
  // played it, so that its position and end are what the player hears.
  MusicSequencer heard_;
  SilentSink silent_;
  uint64_t framesRendered_ = 0;
  uint64_t framesHeard_ = 0;
  // Frames rendered since the music fell silent (no piece, no voice left):
  // after a while for the reverb to die away, the music rests.
  uint64_t quietFrames_ = 0;
};

}  // namespace dovetail
