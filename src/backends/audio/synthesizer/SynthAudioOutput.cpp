#include "backends/audio/synthesizer/SynthAudioOutput.h"

#include <algorithm>
#include <array>
#include <utility>

#include "backends/audio/synth-driver/FluidSynthDriver.h"
#include "backends/audio/synthesizer/FluidSynthLibrary.h"
#include "sound/VolumeGain.h"

namespace dovetail {

namespace {

// Frames rendered at a time into the buffers on the stack.
constexpr uint32_t kChunkFrames = 1024;

void Interleave(const float* left, const float* right, float* out, uint32_t frames) {
  for (uint32_t i = 0; i < frames; ++i) {
    out[2 * i] = left[i];
    out[2 * i + 1] = right[i];
  }
}

}  // namespace

Status SynthAudioOutput::CheckSoundFont(const std::filesystem::path& soundFont) {
  return SoundFontSynth::CheckSoundFont(soundFont);
}

Result<std::unique_ptr<SynthAudioOutput>> SynthAudioOutput::Create(
    const std::optional<std::filesystem::path>& soundFont, EffectBuffers effects,
    LoadFailure onLoadFailure) {
  if (soundFont) {
    if (Status checked = CheckSoundFont(*soundFont); !checked) return checked.error();
  }
  std::unique_ptr<SynthAudioOutput> output(
      new SynthAudioOutput(soundFont, std::move(effects), std::move(onLoadFailure)));
  return output;
}

SynthAudioOutput::SynthAudioOutput(std::optional<std::filesystem::path> soundFont,
                                   EffectBuffers effects, LoadFailure onLoadFailure)
    : library_(std::make_unique<FluidSynthLibrary>()),
      mixer_(std::move(effects), kSampleRate),
      synth_(
          kSampleRate, std::move(soundFont), *library_,
          [this](const std::function<bool()>& install) { HandOverSynth(install); },
          std::move(onLoadFailure)) {}

SynthAudioOutput::~SynthAudioOutput() {
  // The device first: it stops pulling before what it pulls from goes away.
  std::lock_guard device(deviceLock_);
  device_ = std::make_unique<SilentDevice>();
}

bool SynthAudioOutput::Open() {
  if (IsOpen()) return true;
  // Held while the streams connect: a synthesizer handed over meanwhile
  // restarts the music on the device the streams pull from.
  std::lock_guard device(deviceLock_);
  device_ = OpenFirstDevice();
  return IsOpen();
}

std::unique_ptr<SoundDevice> SynthAudioOutput::OpenFirstDevice() {
  // The music stream's time starts with its first pull, as the music
  // rendered does (a piece started before is pulled from its start).
  Result<std::unique_ptr<PulseStreams>> streams =
      PulseStreams::Connect(*this, kSampleRate, VolumeGain<float>(MasterVolume()));
  if (streams) return std::move(*streams);
  std::unique_ptr<FluidSynthDriver> driver = FluidSynthDriver::Open(
      *library_, kSampleRate,
      [this](float* left, float* right, uint32_t frames) { Render(left, right, frames); });
  if (driver != nullptr) return driver;
  return std::make_unique<SilentDevice>();
}

void SynthAudioOutput::HandOverSynth(const std::function<bool()>& install) {
  std::lock_guard device(deviceLock_);
  std::lock_guard held(*device_);
  if (install()) device_->RestartMusic();
}

Status SynthAudioOutput::StartMusic(const MidiPiece& piece, std::optional<MusicLoop> loop) {
  std::lock_guard device(*device_);
  Result<SoundFontSynth::Started> started = synth_.Start(piece, loop);
  if (!started) return started.error();
  if (*started == SoundFontSynth::Started::kNow) device_->RestartMusic();
  return Status::Ok();
}

void SynthAudioOutput::StopMusic() {
  std::lock_guard device(*device_);
  if (synth_.Stop()) device_->RestartMusic();
}

uint32_t SynthAudioOutput::MusicPositionMs() {
  std::lock_guard device(*device_);
  return synth_.HeardPositionMs(device_->MusicFramesPlayed());
}

bool SynthAudioOutput::MusicFinished() {
  std::lock_guard device(*device_);
  return synth_.HeardFinished(device_->MusicFramesPlayed());
}

bool SynthAudioOutput::PlayEffect(int32_t id) {
  std::lock_guard device(*device_);
  {
    std::lock_guard mix(mixLock_);
    if (!mixer_.Play(id)) return false;
  }
  device_->StartEffect();
  return true;
}

bool SynthAudioOutput::EffectHeard() {
  std::lock_guard device(*device_);
  return device_->EffectHeard();
}

std::optional<uint32_t> SynthAudioOutput::EffectLengthMs(int32_t id) const {
  return mixer_.LengthMs(id);
}

void SynthAudioOutput::SetMasterVolume(uint16_t volume) {
  std::lock_guard device(*device_);
  {
    std::lock_guard mix(mixLock_);
    volume_ = volume;
  }
  device_->SetGain(VolumeGain<float>(volume));
}

uint16_t SynthAudioOutput::MasterVolume() const {
  std::lock_guard mix(mixLock_);
  return volume_;
}

// A change of volume is spread over the buffer instead of jumping, which
// would click.
void SynthAudioOutput::ApplyVolume(float* left, float* right, uint32_t frames) {
  const float target = VolumeGain<float>(volume_);
  const float from = appliedGain_;
  const float step = (target - from) / static_cast<float>(frames);
  for (uint32_t i = 0; i < frames; ++i) {
    const float gain = from + step * static_cast<float>(i + 1);
    left[i] = std::clamp(left[i] * gain, -1.0f, 1.0f);
    right[i] = std::clamp(right[i] * gain, -1.0f, 1.0f);
  }
  appliedGain_ = target;
}

void SynthAudioOutput::Render(float* left, float* right, uint32_t frames) {
  if (frames == 0) return;
  synth_.Render(left, right, frames);
  std::lock_guard mix(mixLock_);
  mixer_.Mix(left, right, frames);
  ApplyVolume(left, right, frames);
}

// The streams' pulls hold the streams' lock, which every change of the music
// also holds: the synthesizer does not change between the check and the
// rendering.
uint32_t SynthAudioOutput::PullMusic(float* out, uint32_t frames) {
  if (synth_.Resting()) return 0;
  std::array<float, kChunkFrames> left;
  std::array<float, kChunkFrames> right;
  for (uint32_t done = 0; done < frames;) {
    const uint32_t count = std::min(frames - done, kChunkFrames);
    synth_.Render(left.data(), right.data(), count);
    Interleave(left.data(), right.data(), out + 2 * done, count);
    done += count;
  }
  return frames;
}

uint32_t SynthAudioOutput::PullEffects(float* out, uint32_t frames) {
  std::lock_guard mix(mixLock_);
  std::array<float, kChunkFrames> left;
  std::array<float, kChunkFrames> right;
  for (uint32_t done = 0; done < frames;) {
    const uint32_t count = std::min(frames - done, kChunkFrames);
    left.fill(0.0f);
    right.fill(0.0f);
    const uint32_t sounding = mixer_.Mix(left.data(), right.data(), count);
    Interleave(left.data(), right.data(), out + 2 * done, sounding);
    done += sounding;
    if (sounding < count) return done;
  }
  return frames;
}

}  // namespace dovetail
