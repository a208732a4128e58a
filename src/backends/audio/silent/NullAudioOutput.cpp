#include "backends/audio/silent/NullAudioOutput.h"

#include <cassert>
#include <utility>

#include "sound/EffectSounds.h"

namespace dovetail {

std::unique_ptr<NullAudioOutput> MakeSilentAudio(Host& host) {
  Result<EffectSounds> sounds = EffectSounds::LoadBuiltIn();
  // The sounds are part of the program; a fault in them is a build fault.
  assert(sounds.ok());
  return std::make_unique<NullAudioOutput>(
      host, sounds.ok() ? sounds->Lengths() : std::map<int32_t, uint32_t>{});
}

NullAudioOutput::NullAudioOutput(Host& host, std::map<int32_t, uint32_t> effectLengths,
                                 uint16_t initialVolume)
    : host_(host), effectLengths_(std::move(effectLengths)), volume_(initialVolume) {}

bool NullAudioOutput::Open() {
  open_ = deviceAvailable_;
  return open_;
}

Status NullAudioOutput::StartMusic(const MidiPiece& piece, std::optional<MusicLoop> loop) {
  music_.Start(piece, loop);
  return Status::Ok();
}

void NullAudioOutput::StopMusic() {
  music_.Stop();
}

uint32_t NullAudioOutput::MusicPositionMs() {
  return music_.PositionMs();
}

bool NullAudioOutput::MusicFinished() {
  return music_.Finished();
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
