#include "sound/NullAudioOutput.h"

#include <utility>

namespace dovetail {

NullAudioOutput::NullAudioOutput(Host& host, std::map<int32_t, uint32_t> effectLengths,
                                 uint16_t initialVolume)
    : host_(host), effectLengths_(std::move(effectLengths)), volume_(initialVolume) {}

bool NullAudioOutput::Open() {
  open_ = deviceAvailable_;
  return open_;
}

Status NullAudioOutput::StartMusic(const MidiPiece& piece, std::optional<MusicLoop> loop) {
  Music music;
  music.lengthMs = piece.lengthMs;
  music.startedAt = host_.TickCount();
  if (loop) {
    const double start = piece.MsAtMusicTime(loop->startMusicTime);
    const double end = piece.MsAtMusicTime(loop->endMusicTime);
    // A loop that is empty or starts past its end cannot repeat: the piece plays once.
    if (end > start) {
      music.loopStartMs = static_cast<uint32_t>(start);
      music.loopEndMs = static_cast<uint32_t>(end);
    }
  }
  music_ = music;
  return Status::Ok();
}

void NullAudioOutput::StopMusic() {
  music_.reset();
}

uint32_t NullAudioOutput::MusicPositionMs() {
  if (!music_) return 0;
  const uint32_t elapsed = host_.TickCount() - music_->startedAt;
  if (music_->loopStartMs && music_->loopEndMs > *music_->loopStartMs) {
    if (elapsed < music_->loopEndMs) return elapsed;
    const uint32_t span = music_->loopEndMs - *music_->loopStartMs;
    return *music_->loopStartMs + (elapsed - music_->loopEndMs) % span;
  }
  return elapsed < music_->lengthMs ? elapsed : music_->lengthMs;
}

bool NullAudioOutput::MusicFinished() {
  if (!music_ || music_->loopStartMs) return false;
  return host_.TickCount() - music_->startedAt >= music_->lengthMs;
}

bool NullAudioOutput::PlayEffect(int32_t id) {
  if (!effectLengths_.contains(id)) return false;
  effect_ = id;
  effectStartedAt_ = host_.TickCount();
  return true;
}

std::optional<uint32_t> NullAudioOutput::EffectLengthMs(int32_t id) const {
  const auto found = effectLengths_.find(id);
  if (found == effectLengths_.end()) return std::nullopt;
  return found->second;
}

std::optional<int32_t> NullAudioOutput::PlayingEffect() {
  if (effect_ && host_.TickCount() - effectStartedAt_ >= effectLengths_.at(*effect_))
    effect_.reset();
  return effect_;
}

}  // namespace dovetail
