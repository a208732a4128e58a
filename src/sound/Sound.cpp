#include "sound/Sound.h"

#include <algorithm>

#include "host/Waits.h"

namespace dovetail {

Sound::Sound(Host& host, AudioOutput& output, SoundFlags& flags, Timer& bgmTimer,
             SoundEvents& events)
    : host_(host), output_(output), flags_(flags), bgmTimer_(bgmTimer), events_(events) {}

void Sound::NoteBgm(BgmAction action, const std::string& file) {
  events_.Report(BgmEvent{action, file});
}

Result<MidiPiece> Sound::LoadPiece(const std::string& path) {
  if (!output_.IsOpen() && !output_.Open()) return Error{path + ": no sound device"};
  return ReadMidiFile(path);
}

void Sound::StartUp() {
  if (flags_.UseDirectMusic) {
    LooperOpen();
  } else {
    MixerOpen();
    MixerFindVolume(kSpeakersComponent);
    MixerGetVolume(StartVolume);
    SavedVolume = StartVolume;
  }
  StopBgm();
}

void Sound::ShutDown() {
  if (flags_.UseDirectMusic) {
    LooperStop();
    LooperClose();
  } else {
    flags_.FadeOnStop = false;
    SequencerStop();
  }
  if (SavedVolume != 0) MixerSetVolume(SavedVolume);
}

void Sound::PlayBgm(const std::string& path) {
  if (!flags_.BgmEnabled) return;
  if (path == currentBgm_) return;
  if (flags_.UseDirectMusic) {
    bgmTimer_.SetEnabled(false);
    LooperPlay(path);
  } else {
    bgmTimer_.SetEnabled(true);
    SequencerPlay(path);
  }
}

void Sound::StopBgm() {
  if (flags_.UseDirectMusic) {
    LooperStop();
  } else {
    SequencerStop();
  }
}

void Sound::SequencerPlay(const std::string& path) {
  // The slot is taken: the open fails and the piece in it keeps playing.
  if (openPiece_) return;
  Result<MidiPiece> piece = LoadPiece(path);
  if (!piece) {
    // Any other open failure silences music for the rest of the run.
    lastError_ = piece.error();
    flags_.BgmEnabled = false;
    return;
  }
  openPiece_ = std::move(*piece);
  slotPlaying_ = false;
  NoteBgm(BgmAction::Open, path);
  if (Status played = output_.StartMusic(*openPiece_, std::nullopt); !played) {
    // A piece that cannot play is closed again rather than left open for the
    // timer to retry every two seconds.
    lastError_ = played.error();
    flags_.BgmEnabled = false;
    openPiece_.reset();
    return;
  }
  slotPlaying_ = true;
  NoteBgm(BgmAction::Play, path);
  currentBgm_ = path;
}

void Sound::SequencerStop() {
  if (SequencerStatus() == "PLAYING" && flags_.FadeOnStop) {
    MixerGetVolume(StartVolume);
    SavedVolume = StartVolume;
    FadeOut(SavedVolume);
  }
  if (openPiece_) {
    output_.StopMusic();
    const std::string file = openPiece_->name;
    openPiece_.reset();
    slotPlaying_ = false;
    NoteBgm(BgmAction::Stop, file);
  }
  currentBgm_.clear();
  if (flags_.FadeOnStop) {
    WaitMs(host_, 200);
    MixerSetVolume(SavedVolume);
  }
}

void Sound::SequencerRewind() {
  if (flags_.UseDirectMusic || !openPiece_) return;
  output_.StopMusic();
  slotPlaying_ = output_.StartMusic(*openPiece_, std::nullopt).ok();
  NoteBgm(BgmAction::Rewind, openPiece_->name);
}

std::string Sound::SequencerStatus() {
  if (flags_.UseDirectMusic || !openPiece_) return "";
  return slotPlaying_ && !output_.MusicFinished() ? "PLAYING" : "STOPPED";
}

void Sound::BGM_Timer_Timer() {
  if (SequencerStatus() == "STOPPED") SequencerRewind();
}

// The looping player opens the sound device at once; without one, music and
// effects are off for the run, as when the sequencer's mixer cannot be opened.
void Sound::LooperOpen() {
  if (!output_.IsOpen() && !output_.Open()) SwitchSoundOff();
  dmReady_ = true;
}

void Sound::SwitchSoundOff() {
  lastError_ = Error{"no sound device"};
  flags_.BgmEnabled = false;
  flags_.SeEnabled = false;
}

void Sound::LooperPlay(const std::string& path) {
  if (!dmReady_) LooperOpen();
  if (dmPiece_) output_.StopMusic();
  dmPiece_.reset();
  Result<MidiPiece> piece = LoadPiece(path);
  if (!piece) {
    lastError_ = piece.error();
    flags_.BgmEnabled = false;
    return;
  }
  NoteBgm(BgmAction::Open, path);
  const MusicLoop loop{kLoopStartMusicTime, piece->lengthMusicTime};
  if (Status played = output_.StartMusic(*piece, loop); !played) {
    lastError_ = played.error();
    flags_.BgmEnabled = false;
    return;
  }
  dmPiece_ = path;
  NoteBgm(BgmAction::Play, path);
}

void Sound::LooperStop() {
  if (dmPiece_) {
    output_.StopMusic();
    NoteBgm(BgmAction::Stop, *dmPiece_);
    dmPiece_.reset();
  }
  host_.DoEvents();
}

void Sound::LooperClose() {
  if (!dmReady_) return;
  if (dmPiece_) output_.StopMusic();
  dmPiece_.reset();
  dmReady_ = false;
}

void Sound::PlayWave(int32_t resId) {
  if (!flags_.SeEnabled) return;
  if (!output_.IsOpen() && !output_.Open()) return;
  const std::optional<uint32_t> length = output_.EffectLengthMs(resId);
  if (!length || !output_.PlayEffect(resId)) return;
  events_.Report(WaveEvent{resId});
  if (resId == kSynchronousWave) host_.Sleep(*length);
}

bool Sound::MixerOpen() {
  mixerOpen_ = output_.IsOpen() || output_.Open();
  if (!mixerOpen_) SwitchSoundOff();
  return mixerOpen_;
}

bool Sound::MixerFindVolume(uint32_t componentType) {
  volumeFound_ = mixerOpen_ && componentType == kSpeakersComponent;
  return volumeFound_;
}

bool Sound::MixerGetVolume(uint32_t& value) {
  if (!volumeFound_) return false;
  value = output_.MasterVolume();
  return true;
}

bool Sound::MixerSetVolume(uint32_t value) {
  if (!volumeFound_ || value > 65535) return false;
  output_.SetMasterVolume(static_cast<uint16_t>(value));
  events_.Report(VolumeEvent{value});
  return true;
}

void Sound::FadeStep(uint32_t value) {
  const uint32_t before = host_.TickCount();
  MixerSetVolume(value);
  for (uint32_t now = before; now - before <= 100; now = host_.TickCount()) {
    host_.DoEvents();
    // Where letting events run took no time, the clock is waited for rather
    // than polled in a busy loop.
    if (host_.TickCount() == now) host_.Sleep(1);
  }
}

void Sound::FadeOut(uint32_t value) {
  const uint32_t step = value / 8;
  if (step == 0) return;
  for (int64_t v = value; v >= 0; v -= step)
    FadeStep(static_cast<uint32_t>(v));
}

void Sound::FadeIn(uint32_t value) {
  const uint32_t step = value / 8;
  if (step == 0) return;
  for (uint64_t v = 0; v <= value; v += step)
    FadeStep(static_cast<uint32_t>(v));
}

}  // namespace dovetail
