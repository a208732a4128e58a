#include "backends/audio/browser/WebAudioOutput.h"

#include "backends/hosts/web/PageSeam.h"
#include "sound/VolumeGain.h"
#include "sound/WaveFile.h"

namespace dovetail {

void WebAudioOutput::PageSynthesizer::Reset() {
  dovetail_web_midi_reset();
}

void WebAudioOutput::PageSynthesizer::Send(uint8_t status, uint8_t data1, uint8_t data2) {
  dovetail_web_midi(status, data1, data2);
}

WebAudioOutput::WebAudioOutput(Host& host, const EffectSounds& effects)
    : effectLengths_(effects.Lengths()), music_(host, synthesizer_) {
  for (const auto& [id, length] : effectLengths_) {
    if (const WaveSound* sound = effects.Find(id)) effects_[id] = ToStereo(*sound, kEffectRate);
  }
}

bool WebAudioOutput::Open() {
  open_ = dovetail_web_audio_open() != 0;
  return open_;
}

Status WebAudioOutput::StartMusic(const MidiPiece& piece, std::optional<MusicLoop> loop) {
  music_.Start(piece, loop);
  return Status::Ok();
}

void WebAudioOutput::StopMusic() {
  music_.Stop();
}

uint32_t WebAudioOutput::MusicPositionMs() {
  return music_.PositionMs();
}

bool WebAudioOutput::MusicFinished() {
  return music_.Finished();
}

bool WebAudioOutput::PlayEffect(int32_t id) {
  auto effect = effects_.find(id);
  if (effect == effects_.end()) return false;
  dovetail_web_play_effect(effect->second.data(), static_cast<uint32_t>(effect->second.size() / 2),
                           kEffectRate);
  return true;
}

std::optional<uint32_t> WebAudioOutput::EffectLengthMs(int32_t id) const {
  auto length = effectLengths_.find(id);
  if (length == effectLengths_.end()) return std::nullopt;
  return length->second;
}

void WebAudioOutput::SetMasterVolume(uint16_t volume) {
  volume_ = volume;
  dovetail_web_set_gain(VolumeGain<double>(volume));
}

}  // namespace dovetail
