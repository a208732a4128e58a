#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/Result.h"
#include "host/Host.h"
#include "sound/AudioOutput.h"
#include "sound/MidiFile.h"
#include "sound/SoundEvents.h"
#include "sound/SoundFlags.h"
#include "window/Timer.h"

namespace dovetail {

// The sound module: background music through one of two back ends, the built-in
// effect sounds and the master-volume fades.
//
// The sequencer back end (the default) plays one piece at a time under a single
// open slot, reports "PLAYING" / "STOPPED", and relies on the main window's
// BGM_Timer to rewind a finished piece. The looping back end loops each piece by
// itself from music time 1000 to its end and restarts on every PlayBgm.
class Sound {
 public:
  // The speaker line, the only line whose volume control exists.
  static constexpr uint32_t kSpeakersComponent = 4;
  // Music time the looping back end loops back to.
  static constexpr int32_t kLoopStartMusicTime = 1000;
  // The effect played synchronously.
  static constexpr int32_t kSynchronousWave = 104;

  // `flags` is the run's sound options (changed here when music or the mixer
  // fails); `bgmTimer` is the main window's BGM_Timer, switched by PlayBgm.
  // The timer's handler is not set here: the window calls BGM_Timer_Timer.
  // What the music, the effects and the volume do is reported to `events`.
  Sound(Host& host, AudioOutput& output, SoundFlags& flags, Timer& bgmTimer, SoundEvents& events);

  // Start-up: opens the mixer and reads the volume (sequencer back end) or
  // creates the looping player, then stops any music.
  void StartUp();
  // Exit: stops the music without fading and restores the saved volume.
  void ShutDown();

  // Music.
  void PlayBgm(const std::string& path);
  void StopBgm();
  void SequencerPlay(const std::string& path);
  void SequencerStop();
  void SequencerRewind();
  std::string SequencerStatus();
  void BGM_Timer_Timer();
  // The run's sound options, as start-up read them and failures changed them.
  const SoundFlags& Flags() const { return flags_; }
  // Full path of the piece the sequencer plays; empty when none.
  const std::string& CurrentBgm() const { return currentBgm_; }

  // The looping back end.
  void LooperOpen();
  void LooperPlay(const std::string& path);
  void LooperStop();
  void LooperClose();

  // Effects: 101..107 (whatever the output holds); 104 returns when it has ended.
  void PlayWave(int32_t resId);

  // Volume.
  bool MixerOpen();
  bool MixerFindVolume(uint32_t componentType);
  bool MixerGetVolume(uint32_t& value);
  bool MixerSetVolume(uint32_t value);
  void FadeOut(uint32_t value);
  void FadeIn(uint32_t value);

  // The music or mixer failure that last switched sound off, for the log.
  const std::optional<Error>& LastError() const { return lastError_; }

  // Speaker volume read at start-up and before each fade-out.
  uint32_t StartVolume = 0;
  // Volume restored after a fade and on exit.
  uint32_t SavedVolume = 0;

 private:
  void NoteBgm(BgmAction action, const std::string& file);
  // No sound device: music and effects are off for the run.
  void SwitchSoundOff();
  // Sets `value`, then lets events run until more than 100 ms have passed.
  void FadeStep(uint32_t value);
  Result<MidiPiece> LoadPiece(const std::string& path);

  Host& host_;
  AudioOutput& output_;
  SoundFlags& flags_;
  Timer& bgmTimer_;
  SoundEvents& events_;
  std::string currentBgm_;
  std::optional<Error> lastError_;

  // The sequencer's single slot: the open piece and whether it was told to play.
  std::optional<MidiPiece> openPiece_;
  bool slotPlaying_ = false;

  // The looping player: created by LooperOpen, and the piece it plays.
  bool dmReady_ = false;
  std::optional<std::string> dmPiece_;

  bool mixerOpen_ = false;
  bool volumeFound_ = false;
};

}  // namespace dovetail
