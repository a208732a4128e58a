#include "sound/SynthAudioOutput.h"

#include <fluidsynth.h>

#include <algorithm>
#include <string_view>
#include <system_error>
#include <utility>

namespace dovetail {

namespace {

// Loudness of the synthesizer before the master volume: General MIDI pieces
// with several voices stay below full scale.
constexpr double kSynthGain = 0.7;
// Frames per device period and periods in flight. Large periods keep the
// device's thread and the sound server's client from waking hundreds of times
// a second (512 frames cost about 1000 context switches a second, 4096 about
// 170); the price is latency: an effect starts up to about 90 ms after it is
// asked for, and the music's latency does not matter.
constexpr int kPeriodFrames = 4096;
constexpr int kPeriods = 2;
// How long an effect that is cut off takes to fall silent: 5 ms.
constexpr uint32_t kCutOffFrames = SynthAudioOutput::kSampleRate / 200;

// The sound servers tried, in order. JACK is left out (it would start a server
// of its own), and so is SDL (whose fallbacks include writing a file).
constexpr const char* kDrivers[] = {"pulseaudio", "pipewire", "alsa"};

// ALSA is tried only where the machine has a playback device: without one its
// library writes a page of complaints to standard error before it fails.
bool HasPlaybackDevice() {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/snd", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("pcmC") && name.ends_with("p")) return true;
  }
  return false;
}

// FluidSynth reports failures on standard error as well as through its return
// values; this program reports them itself. The setting is process-wide.
void SilenceSynthLog() {
  for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
    fluid_set_log_function(level, nullptr, nullptr);
}

}  // namespace

std::optional<std::filesystem::path> FindSoundFont() {
  const char* candidates[] = {
      "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf3/FluidR3_GM.sf3",
      "/usr/share/sounds/sf2/TimGM6mb.sf2",   "/usr/share/sounds/sf2/default-GM.sf2",
      "/usr/share/sounds/sf3/default-GM.sf3",
  };
  for (const char* candidate : candidates) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(candidate, ec)) return std::filesystem::path(candidate);
  }
  return std::nullopt;
}

// Sends the sequencer's messages to the synthesizer and renders its sound.
class SynthAudioOutput::SynthSink : public MidiSink {
 public:
  explicit SynthSink(fluid_synth_t* synth) : synth_(synth) {}

  void Reset() override { fluid_synth_system_reset(synth_); }

  void Send(uint8_t status, uint8_t data1, uint8_t data2) override {
    const int channel = status & 0x0F;
    switch (status & 0xF0) {
      case 0x80:
        fluid_synth_noteoff(synth_, channel, data1);
        break;
      case 0x90:
        // A note-on of velocity 0 is a note-off, as FluidSynth also treats it.
        fluid_synth_noteon(synth_, channel, data1, data2);
        break;
      case 0xA0:
        fluid_synth_key_pressure(synth_, channel, data1, data2);
        break;
      case 0xB0:
        fluid_synth_cc(synth_, channel, data1, data2);
        break;
      case 0xC0:
        fluid_synth_program_change(synth_, channel, data1);
        break;
      case 0xD0:
        fluid_synth_channel_pressure(synth_, channel, data1);
        break;
      case 0xE0:
        fluid_synth_pitch_bend(synth_, channel, data1 | (data2 << 7));
        break;
      default:
        break;
    }
  }

  void Render(float* left, float* right, uint32_t frames) override {
    fluid_synth_write_float(synth_, static_cast<int>(frames), left, 0, 1, right, 0, 1);
  }

 private:
  fluid_synth_t* synth_;
};

Status SynthAudioOutput::CheckSoundFont(const std::filesystem::path& soundFont) {
  SilenceSynthLog();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(soundFont, ec))
    return Error{soundFont.string() + ": no such soundfont file"};
  // Reads the file's header only.
  if (!fluid_is_soundfont(soundFont.c_str()))
    return Error{soundFont.string() + ": not a soundfont that can be loaded"};
  return Status::Ok();
}

Result<std::unique_ptr<SynthAudioOutput>> SynthAudioOutput::Create(
    const std::optional<std::filesystem::path>& soundFont, EffectBuffers effects,
    LoadFailure onLoadFailure) {
  if (soundFont) {
    if (Status checked = CheckSoundFont(*soundFont); !checked) return checked.error();
  }
  SilenceSynthLog();
  fluid_settings_t* settings = new_fluid_settings();
  if (settings == nullptr) return Error{"the synthesizer cannot be created"};
  fluid_settings_setnum(settings, "synth.sample-rate", kSampleRate);
  fluid_settings_setint(settings, "audio.period-size", kPeriodFrames);
  fluid_settings_setint(settings, "audio.periods", kPeriods);
  std::unique_ptr<SynthAudioOutput> output(
      new SynthAudioOutput(settings, soundFont.has_value(), std::move(effects)));
  if (soundFont) {
    output->loader_ = std::thread(&SynthAudioOutput::LoadSynth, output.get(), *soundFont,
                                  std::move(onLoadFailure));
  }
  return output;
}

void SynthAudioOutput::LoadSynth(std::filesystem::path soundFont, LoadFailure onLoadFailure) {
  fluid_settings_t* settings = new_fluid_settings();
  fluid_synth_t* synth = nullptr;
  if (settings != nullptr) {
    fluid_settings_setnum(settings, "synth.sample-rate", kSampleRate);
    fluid_settings_setnum(settings, "synth.gain", kSynthGain);
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    synth = new_fluid_synth(settings);
  }
  bool loaded = false;
  if (synth != nullptr) {
    // A new synthesizer's effect buffers are not cleared until its first reset:
    // without one, its first output holds whatever the memory held.
    fluid_synth_system_reset(synth);
    // No instrument is chosen yet, so no samples are read until a piece
    // chooses its own.
    loaded = fluid_synth_sfload(synth, soundFont.c_str(), 0) != FLUID_FAILED;
  }
  std::unique_lock guard(lock_);
  if (!loaded) {
    loadFailed_ = true;
    pending_.reset();
    guard.unlock();
    if (synth != nullptr) delete_fluid_synth(synth);
    if (settings != nullptr) delete_fluid_settings(settings);
    if (onLoadFailure) {
      onLoadFailure(
          Error{soundFont.string() + ": not a soundfont that can be loaded; the music is off"});
    }
    return;
  }
  synthSettings_ = settings;
  synth_ = synth;
  sink_ = std::make_unique<SynthSink>(synth);
  if (pending_) {
    StartOnSynth(pending_->piece, pending_->loop);
    pending_.reset();
  }
}

bool SynthAudioOutput::WaitUntilLoaded() {
  if (loader_.joinable()) loader_.join();
  std::lock_guard guard(lock_);
  return synth_ != nullptr;
}

SynthAudioOutput::SynthAudioOutput(fluid_settings_t* settings, bool hasSoundFont,
                                   EffectBuffers effects)
    : settings_(settings), hasSoundFont_(hasSoundFont), effects_(std::move(effects)) {}

SynthAudioOutput::~SynthAudioOutput() {
  // The device first: it stops pulling before what it pulls from goes away.
  if (driver_ != nullptr) delete_fluid_audio_driver(driver_);
  if (loader_.joinable()) loader_.join();
  if (synth_ != nullptr) delete_fluid_synth(synth_);
  if (synthSettings_ != nullptr) delete_fluid_settings(synthSettings_);
  delete_fluid_settings(settings_);
}

bool SynthAudioOutput::Open() {
  if (driver_ != nullptr) return true;
  for (const char* name : kDrivers) {
    if (std::string_view(name) == "alsa" && !HasPlaybackDevice()) continue;
    if (fluid_settings_setstr(settings_, "audio.driver", name) != FLUID_OK) continue;
    driver_ = new_fluid_audio_driver2(settings_, &SynthAudioOutput::DevicePull, this);
    if (driver_ != nullptr) return true;
  }
  return false;
}

int SynthAudioOutput::DevicePull(void* self, int frames, int, float*[], int outputCount,
                                 float* outputs[]) {
  if (outputCount < 2 || frames <= 0) return FLUID_FAILED;
  static_cast<SynthAudioOutput*>(self)->Render(outputs[0], outputs[1],
                                               static_cast<uint32_t>(frames));
  for (int i = 2; i < outputCount; ++i)
    std::fill_n(outputs[i], frames, 0.0f);
  return FLUID_OK;
}

Status SynthAudioOutput::StartMusic(const MidiPiece& piece, std::optional<MusicLoop> loop) {
  std::lock_guard guard(lock_);
  if (!hasSoundFont_ || loadFailed_)
    return Error{piece.name + ": no General MIDI soundfont to play it with"};
  if (synth_ == nullptr) {
    pending_ = PendingPiece{piece, loop};
    return Status::Ok();
  }
  StartOnSynth(piece, loop);
  return Status::Ok();
}

void SynthAudioOutput::StartOnSynth(const MidiPiece& piece, std::optional<MusicLoop> loop) {
  sequencer_.Start(piece, loop, *sink_);
  // The reset chose the default instrument on every channel; a channel that
  // plays no note lets its instrument go, so that its samples (the drum kit,
  // above all) are not kept in memory for nothing.
  std::bitset<16> playing;
  for (const MidiEvent& event : piece.events) {
    if ((event.status & 0xF0) == 0x90 && event.data2 > 0) playing.set(event.status & 0x0F);
  }
  for (int channel = 0; channel < 16; ++channel) {
    if (!playing.test(static_cast<size_t>(channel))) fluid_synth_unset_program(synth_, channel);
  }
}

void SynthAudioOutput::StopMusic() {
  std::lock_guard guard(lock_);
  pending_.reset();
  if (sink_ != nullptr) sequencer_.Stop(*sink_);
}

uint32_t SynthAudioOutput::MusicPositionMs() {
  std::lock_guard guard(lock_);
  return sequencer_.PositionMs();
}

bool SynthAudioOutput::MusicFinished() {
  std::lock_guard guard(lock_);
  return sequencer_.Finished();
}

bool SynthAudioOutput::PlayEffect(int32_t id) {
  const auto found = effects_.find(id);
  if (found == effects_.end()) return false;
  std::lock_guard guard(lock_);
  if (effect_) {
    fading_ = effect_;
    fadeFramesLeft_ = kCutOffFrames;
  }
  effect_ = EffectVoice{&found->second, 0};
  return true;
}

std::optional<uint32_t> SynthAudioOutput::EffectLengthMs(int32_t id) const {
  const auto found = effects_.find(id);
  if (found == effects_.end()) return std::nullopt;
  const uint64_t frames = found->second.size() / 2;
  return static_cast<uint32_t>(frames * 1000 / kSampleRate);
}

void SynthAudioOutput::SetMasterVolume(uint16_t volume) {
  std::lock_guard guard(lock_);
  volume_ = volume;
}

uint16_t SynthAudioOutput::MasterVolume() const {
  std::lock_guard guard(lock_);
  return volume_;
}

bool SynthAudioOutput::MixVoice(EffectVoice& voice, float* left, float* right, uint32_t frames,
                                float level, float fallPerFrame) {
  const std::vector<float>& samples = *voice.samples;
  const size_t total = samples.size() / 2;
  for (uint32_t i = 0; i < frames && voice.frame < total; ++i, ++voice.frame) {
    left[i] += samples[2 * voice.frame] * level;
    right[i] += samples[2 * voice.frame + 1] * level;
    level -= fallPerFrame;
  }
  return voice.frame < total;
}

void SynthAudioOutput::MixEffects(float* left, float* right, uint32_t frames) {
  if (fading_) {
    const float fall = 1.0f / static_cast<float>(kCutOffFrames);
    const float level = static_cast<float>(fadeFramesLeft_) * fall;
    const uint32_t count = std::min(frames, fadeFramesLeft_);
    if (!MixVoice(*fading_, left, right, count, level, fall) || count == fadeFramesLeft_) {
      fading_.reset();
    }
    fadeFramesLeft_ -= count;
  }
  if (effect_ && !MixVoice(*effect_, left, right, frames, 1.0f, 0.0f)) effect_.reset();
}

// The volume scale follows the square of the setting, so that equal steps of
// a fade sound like equal steps of loudness. A change is spread over the
// buffer instead of jumping, which would click.
void SynthAudioOutput::ApplyVolume(float* left, float* right, uint32_t frames) {
  const float level = static_cast<float>(volume_) / 65535.0f;
  const float target = level * level;
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
  std::lock_guard guard(lock_);
  if (sink_ != nullptr) {
    sequencer_.Render(*sink_, left, right, frames);
  } else {
    std::fill_n(left, frames, 0.0f);
    std::fill_n(right, frames, 0.0f);
  }
  MixEffects(left, right, frames);
  ApplyVolume(left, right, frames);
}

}  // namespace dovetail
