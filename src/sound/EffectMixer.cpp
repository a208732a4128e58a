#include "sound/EffectMixer.h"

#include <algorithm>
#include <utility>

namespace dovetail {

EffectMixer::EffectMixer(Sounds sounds, uint32_t sampleRate)
    : sounds_(std::move(sounds)), sampleRate_(sampleRate), cutOffFrames_(sampleRate / 200) {}

std::optional<uint32_t> EffectMixer::LengthMs(int32_t id) const {
  const auto found = sounds_.find(id);
  if (found == sounds_.end()) return std::nullopt;
  const uint64_t frames = found->second.size() / 2;
  return static_cast<uint32_t>(frames * 1000 / sampleRate_);
}

bool EffectMixer::Play(int32_t id) {
  const auto found = sounds_.find(id);
  if (found == sounds_.end()) return false;
  if (playing_) {
    fading_ = playing_;
    fadeFramesLeft_ = cutOffFrames_;
  }
  playing_ = Voice{&found->second, 0};
  return true;
}

bool EffectMixer::MixVoice(Voice& voice, float* left, float* right, uint32_t frames, float level,
                           float fallPerFrame) {
  const std::vector<float>& samples = *voice.samples;
  const size_t total = samples.size() / 2;
  for (uint32_t i = 0; i < frames && voice.frame < total; ++i, ++voice.frame) {
    left[i] += samples[2 * voice.frame] * level;
    right[i] += samples[2 * voice.frame + 1] * level;
    level -= fallPerFrame;
  }
  return voice.frame < total;
}

uint32_t EffectMixer::Mix(float* left, float* right, uint32_t frames) {
  uint32_t sounding = 0;
  if (fading_) {
    const float fall = 1.0f / static_cast<float>(cutOffFrames_);
    const float level = static_cast<float>(fadeFramesLeft_) * fall;
    const uint32_t count = std::min(frames, fadeFramesLeft_);
    const size_t before = fading_->frame;
    const bool goesOn = MixVoice(*fading_, left, right, count, level, fall);
    sounding = static_cast<uint32_t>(fading_->frame - before);
    fadeFramesLeft_ -= count;
    if (!goesOn || fadeFramesLeft_ == 0) fading_.reset();
  }
  if (playing_) {
    const size_t before = playing_->frame;
    const bool goesOn = MixVoice(*playing_, left, right, frames, 1.0f, 0.0f);
    sounding = std::max(sounding, static_cast<uint32_t>(playing_->frame - before));
    if (!goesOn) playing_.reset();
  }
  return sounding;
}

}  // namespace dovetail
