#include "sound/SynthAudioOutput.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <string_view>
#include <system_error>
#include <utility>

#include "sound/FluidSynthLibrary.h"

namespace dovetail {

namespace {

// Loudness of the synthesizer before the master volume: General MIDI pieces
// with several voices stay below full scale.
constexpr double kSynthGain = 0.7;
// Voices the synthesizer keeps ready (FluidSynth's default is 256). The demo's
// pieces sound 76 at most; a General MIDI piece rarely needs more than 64.
constexpr int kVoices = 128;
// Without a sound server, FluidSynth's driver pulls the mix in periods of this
// many frames, two in flight. Large periods keep the driver's thread from
// waking hundreds of times a second; the price is that an effect starts up to
// about 90 ms after it is asked for.
constexpr int kPeriodFrames = 4096;
constexpr int kPeriods = 2;
// How long an effect that is cut off takes to fall silent: 5 ms.
constexpr uint32_t kCutOffFrames = SynthAudioOutput::kSampleRate / 200;
// How long the music is still rendered after it fell silent, for the reverb
// to die away, before its stream rests.
constexpr uint64_t kTailFrames = SynthAudioOutput::kSampleRate * 2;
// Without our streams the position heard is the one rendered, as the driver
// pulls it.
constexpr uint64_t kAllRendered = UINT64_MAX;
// Frames rendered at a time into the buffers on the stack.
constexpr uint32_t kChunkFrames = 1024;

// The drivers tried when no sound server takes our own streams. JACK is left
// out (it would start a server of its own), and so is SDL (whose fallbacks
// include writing a file).
constexpr const char* kDrivers[] = {"pipewire", "alsa"};

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

// A soundfont is a RIFF file of the form "sfbk" (compressed ones too).
bool HasSoundFontHeader(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  char header[12] = {};
  if (!in.read(header, sizeof header)) return false;
  return std::memcmp(header, "RIFF", 4) == 0 && std::memcmp(header + 8, "sfbk", 4) == 0;
}

void Interleave(const float* left, const float* right, float* out, uint32_t frames) {
  for (uint32_t i = 0; i < frames; ++i) {
    out[2 * i] = left[i];
    out[2 * i + 1] = right[i];
  }
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
  SynthSink(const FluidSynthCalls& fluid, fluid_synth_t* synth) : fluid_(fluid), synth_(synth) {}

  void Reset() override { fluid_.fluid_synth_system_reset(synth_); }

  void Send(uint8_t status, uint8_t data1, uint8_t data2) override {
    const int channel = status & 0x0F;
    switch (status & 0xF0) {
      case 0x80:
        fluid_.fluid_synth_noteoff(synth_, channel, data1);
        break;
      case 0x90:
        // A note-on of velocity 0 is a note-off, as FluidSynth also treats it.
        fluid_.fluid_synth_noteon(synth_, channel, data1, data2);
        break;
      case 0xA0:
        fluid_.fluid_synth_key_pressure(synth_, channel, data1, data2);
        break;
      case 0xB0:
        fluid_.fluid_synth_cc(synth_, channel, data1, data2);
        break;
      case 0xC0:
        fluid_.fluid_synth_program_change(synth_, channel, data1);
        break;
      case 0xD0:
        fluid_.fluid_synth_channel_pressure(synth_, channel, data1);
        break;
      case 0xE0:
        fluid_.fluid_synth_pitch_bend(synth_, channel, data1 | (data2 << 7));
        break;
      default:
        break;
    }
  }

  void Render(float* left, float* right, uint32_t frames) override {
    fluid_.fluid_synth_write_float(synth_, static_cast<int>(frames), left, 0, 1, right, 0, 1);
  }

  bool Sounding() const { return fluid_.fluid_synth_get_active_voice_count(synth_) > 0; }

 private:
  const FluidSynthCalls& fluid_;
  fluid_synth_t* synth_;
};

Status SynthAudioOutput::CheckSoundFont(const std::filesystem::path& soundFont) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(soundFont, ec))
    return Error{soundFont.string() + ": no such soundfont file"};
  // Reads the file's header only; the synthesizer's library is not needed yet.
  if (!HasSoundFontHeader(soundFont))
    return Error{soundFont.string() + ": not a soundfont that can be loaded"};
  return Status::Ok();
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

void SynthAudioOutput::StartLoading() {
  if (!soundFont_ || loadingStarted_) return;
  loadingStarted_ = true;
  loader_ = std::thread(&SynthAudioOutput::LoadSynth, this, *soundFont_, onLoadFailure_);
}

void SynthAudioOutput::LoadSynth(std::filesystem::path soundFont, LoadFailure onLoadFailure) {
  Result<FluidSynthCalls> library = LoadFluidSynth();
  std::unique_ptr<FluidSynthCalls> fluid;
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  if (library) {
    fluid = std::make_unique<FluidSynthCalls>(*library);
    settings = fluid->new_fluid_settings();
  }
  if (settings != nullptr) {
    fluid->fluid_settings_setnum(settings, "synth.sample-rate", kSampleRate);
    fluid->fluid_settings_setnum(settings, "synth.gain", kSynthGain);
    fluid->fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    fluid->fluid_settings_setint(settings, "synth.polyphony", kVoices);
    synth = fluid->new_fluid_synth(settings);
  }
  bool loaded = false;
  if (synth != nullptr) {
    // A new synthesizer's effect buffers are not cleared until its first reset:
    // without one, its first output holds whatever the memory held.
    fluid->fluid_synth_system_reset(synth);
    // No instrument is chosen yet, so no samples are read until a piece
    // chooses its own.
    loaded = fluid->fluid_synth_sfload(synth, soundFont.c_str(), 0) != FLUID_FAILED;
  }
  std::lock_guard device(deviceLock_);
  PulseStreams::Lock streams(streams_.get());
  std::unique_lock guard(lock_);
  if (!loaded) {
    loadFailed_ = true;
    pending_.reset();
    guard.unlock();
    if (synth != nullptr) fluid->delete_fluid_synth(synth);
    if (settings != nullptr) fluid->delete_fluid_settings(settings);
    if (onLoadFailure) {
      onLoadFailure(Error{library ? soundFont.string() +
                                        ": not a soundfont that can be loaded; the music is off"
                                  : library.error().message + "; the music is off"});
    }
    return;
  }
  fluid_ = std::move(fluid);
  synthSettings_ = settings;
  synth_ = synth;
  sink_ = std::make_unique<SynthSink>(*fluid_, synth);
  if (pending_) {
    StartOnSynth(pending_->piece, pending_->loop);
    pending_.reset();
    if (streams_ != nullptr) streams_->RestartMusic();
  }
}

bool SynthAudioOutput::WaitUntilLoaded() {
  StartLoading();
  if (loader_.joinable()) loader_.join();
  std::lock_guard guard(lock_);
  return synth_ != nullptr;
}

SynthAudioOutput::SynthAudioOutput(std::optional<std::filesystem::path> soundFont,
                                   EffectBuffers effects, LoadFailure onLoadFailure)
    : soundFont_(std::move(soundFont)),
      effects_(std::move(effects)),
      onLoadFailure_(std::move(onLoadFailure)) {}

SynthAudioOutput::~SynthAudioOutput() {
  // The device first: it stops pulling before what it pulls from goes away.
  {
    std::lock_guard device(deviceLock_);
    streams_.reset();
  }
  if (driver_ != nullptr) driverFluid_->delete_fluid_audio_driver(driver_);
  if (driverSettings_ != nullptr) driverFluid_->delete_fluid_settings(driverSettings_);
  if (loader_.joinable()) loader_.join();
  if (synth_ != nullptr) fluid_->delete_fluid_synth(synth_);
  if (synthSettings_ != nullptr) fluid_->delete_fluid_settings(synthSettings_);
}

bool SynthAudioOutput::Open() {
  if (IsOpen()) return true;
  {
    std::lock_guard device(deviceLock_);
    Result<std::unique_ptr<PulseStreams>> streams =
        PulseStreams::Connect(*this, kSampleRate, Gain());
    if (streams) {
      // The music stream's time starts with its first pull, as the music
      // rendered does (a piece started before is pulled from its start).
      streams_ = std::move(*streams);
      return true;
    }
  }
  return OpenDriver();
}

// Tried again on each Open while none has succeeded: the library and the
// settings are made once.
bool SynthAudioOutput::OpenDriver() {
  if (driverFluid_ == nullptr) {
    Result<FluidSynthCalls> library = LoadFluidSynth();
    if (!library) return false;
    driverFluid_ = std::make_unique<FluidSynthCalls>(*library);
  }
  if (driverSettings_ == nullptr) driverSettings_ = driverFluid_->new_fluid_settings();
  if (driverSettings_ == nullptr) return false;
  driverFluid_->fluid_settings_setnum(driverSettings_, "synth.sample-rate", kSampleRate);
  driverFluid_->fluid_settings_setint(driverSettings_, "audio.period-size", kPeriodFrames);
  driverFluid_->fluid_settings_setint(driverSettings_, "audio.periods", kPeriods);
  for (const char* name : kDrivers) {
    if (std::string_view(name) == "alsa" && !HasPlaybackDevice()) continue;
    if (driverFluid_->fluid_settings_setstr(driverSettings_, "audio.driver", name) != FLUID_OK)
      continue;
    driver_ =
        driverFluid_->new_fluid_audio_driver2(driverSettings_, &SynthAudioOutput::DevicePull, this);
    if (driver_ != nullptr) {
      driverName_ = name;
      return true;
    }
  }
  return false;
}

std::string SynthAudioOutput::DeviceName() const {
  if (streams_ != nullptr) return "sound server streams";
  if (driver_ != nullptr) return "FluidSynth driver " + driverName_;
  return "none";
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
  PulseStreams::Lock streams(streams_.get());
  std::lock_guard guard(lock_);
  if (!soundFont_ || loadFailed_)
    return Error{piece.name + ": no General MIDI soundfont to play it with"};
  if (synth_ == nullptr) {
    pending_ = PendingPiece{piece, loop};
    StartLoading();
    return Status::Ok();
  }
  StartOnSynth(piece, loop);
  if (streams_ != nullptr) streams_->RestartMusic();
  return Status::Ok();
}

void SynthAudioOutput::StartOnSynth(const MidiPiece& piece, std::optional<MusicLoop> loop) {
  sequencer_.Start(piece, loop, *sink_);
  heard_.Start(piece, loop, silent_);
  framesRendered_ = 0;
  framesHeard_ = 0;
  quietFrames_ = 0;
  // The reset chose the default instrument on every channel; a channel that
  // plays no note lets its instrument go, so that its samples (the drum kit,
  // above all) are not kept in memory for nothing.
  std::bitset<16> playing;
  for (const MidiEvent& event : piece.events) {
    if ((event.status & 0xF0) == 0x90 && event.data2 > 0) playing.set(event.status & 0x0F);
  }
  for (int channel = 0; channel < 16; ++channel) {
    if (!playing.test(static_cast<size_t>(channel)))
      fluid_->fluid_synth_unset_program(synth_, channel);
  }
}

// The notes are released now, not after the music already rendered has
// played: the buffer is dropped and their release is what comes next.
void SynthAudioOutput::StopMusic() {
  PulseStreams::Lock streams(streams_.get());
  std::lock_guard guard(lock_);
  pending_.reset();
  if (sink_ == nullptr) return;
  sequencer_.Stop(*sink_);
  heard_.Stop(silent_);
  framesRendered_ = 0;
  framesHeard_ = 0;
  quietFrames_ = 0;
  if (streams_ != nullptr) streams_->RestartMusic();
}

void SynthAudioOutput::CatchUpHeard(std::optional<uint64_t> played) {
  if (!played) return;
  const uint64_t heard = std::min(*played, framesRendered_);
  if (heard <= framesHeard_) return;
  heard_.Advance(silent_, heard - framesHeard_);
  framesHeard_ = heard;
}

uint32_t SynthAudioOutput::MusicPositionMs() {
  PulseStreams::Lock streams(streams_.get());
  std::optional<uint64_t> played =
      streams_ != nullptr ? streams_->MusicFramesPlayed() : std::optional(kAllRendered);
  std::lock_guard guard(lock_);
  CatchUpHeard(played);
  return heard_.PositionMs();
}

bool SynthAudioOutput::MusicFinished() {
  PulseStreams::Lock streams(streams_.get());
  std::optional<uint64_t> played =
      streams_ != nullptr ? streams_->MusicFramesPlayed() : std::optional(kAllRendered);
  std::lock_guard guard(lock_);
  CatchUpHeard(played);
  return heard_.Finished();
}

bool SynthAudioOutput::PlayEffect(int32_t id) {
  const auto found = effects_.find(id);
  if (found == effects_.end()) return false;
  PulseStreams::Lock streams(streams_.get());
  {
    std::lock_guard guard(lock_);
    if (effect_) {
      fading_ = effect_;
      fadeFramesLeft_ = kCutOffFrames;
    }
    effect_ = EffectVoice{&found->second, 0};
  }
  if (streams_ != nullptr) streams_->StartEffect();
  return true;
}

bool SynthAudioOutput::EffectHeard() {
  PulseStreams::Lock streams(streams_.get());
  return streams_ == nullptr || streams_->EffectHeard();
}

std::optional<uint32_t> SynthAudioOutput::EffectLengthMs(int32_t id) const {
  const auto found = effects_.find(id);
  if (found == effects_.end()) return std::nullopt;
  const uint64_t frames = found->second.size() / 2;
  return static_cast<uint32_t>(frames * 1000 / kSampleRate);
}

void SynthAudioOutput::SetMasterVolume(uint16_t volume) {
  PulseStreams::Lock streams(streams_.get());
  float gain = 0;
  {
    std::lock_guard guard(lock_);
    volume_ = volume;
    gain = Gain();
  }
  if (streams_ != nullptr) streams_->SetGain(gain);
}

uint16_t SynthAudioOutput::MasterVolume() const {
  std::lock_guard guard(lock_);
  return volume_;
}

// The volume scale follows the square of the setting, so that equal steps of
// a fade sound like equal steps of loudness.
float SynthAudioOutput::Gain() const {
  const float level = static_cast<float>(volume_) / 65535.0f;
  return level * level;
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

uint32_t SynthAudioOutput::MixEffects(float* left, float* right, uint32_t frames) {
  uint32_t sounding = 0;
  if (fading_) {
    const float fall = 1.0f / static_cast<float>(kCutOffFrames);
    const float level = static_cast<float>(fadeFramesLeft_) * fall;
    const uint32_t count = std::min(frames, fadeFramesLeft_);
    const size_t before = fading_->frame;
    const bool goesOn = MixVoice(*fading_, left, right, count, level, fall);
    sounding = static_cast<uint32_t>(fading_->frame - before);
    fadeFramesLeft_ -= count;
    if (!goesOn || fadeFramesLeft_ == 0) fading_.reset();
  }
  if (effect_) {
    const size_t before = effect_->frame;
    const bool goesOn = MixVoice(*effect_, left, right, frames, 1.0f, 0.0f);
    sounding = std::max(sounding, static_cast<uint32_t>(effect_->frame - before));
    if (!goesOn) effect_.reset();
  }
  return sounding;
}

// A change of volume is spread over the buffer instead of jumping, which
// would click.
void SynthAudioOutput::ApplyVolume(float* left, float* right, uint32_t frames) {
  const float target = Gain();
  const float from = appliedGain_;
  const float step = (target - from) / static_cast<float>(frames);
  for (uint32_t i = 0; i < frames; ++i) {
    const float gain = from + step * static_cast<float>(i + 1);
    left[i] = std::clamp(left[i] * gain, -1.0f, 1.0f);
    right[i] = std::clamp(right[i] * gain, -1.0f, 1.0f);
  }
  appliedGain_ = target;
}

void SynthAudioOutput::RenderMusic(float* left, float* right, uint32_t frames) {
  if (sink_ == nullptr) {
    std::fill_n(left, frames, 0.0f);
    std::fill_n(right, frames, 0.0f);
    return;
  }
  sequencer_.Render(*sink_, left, right, frames);
  if (sequencer_.Playing()) framesRendered_ += frames;
  quietFrames_ = sequencer_.Playing() || sink_->Sounding() ? 0 : quietFrames_ + frames;
}

void SynthAudioOutput::Render(float* left, float* right, uint32_t frames) {
  if (frames == 0) return;
  std::lock_guard guard(lock_);
  RenderMusic(left, right, frames);
  MixEffects(left, right, frames);
  ApplyVolume(left, right, frames);
}

uint32_t SynthAudioOutput::PullMusic(float* out, uint32_t frames) {
  std::lock_guard guard(lock_);
  if (sink_ == nullptr || quietFrames_ >= kTailFrames) return 0;
  std::array<float, kChunkFrames> left;
  std::array<float, kChunkFrames> right;
  for (uint32_t done = 0; done < frames;) {
    const uint32_t count = std::min(frames - done, kChunkFrames);
    RenderMusic(left.data(), right.data(), count);
    Interleave(left.data(), right.data(), out + 2 * done, count);
    done += count;
  }
  return frames;
}

uint32_t SynthAudioOutput::PullEffects(float* out, uint32_t frames) {
  std::lock_guard guard(lock_);
  std::array<float, kChunkFrames> left;
  std::array<float, kChunkFrames> right;
  for (uint32_t done = 0; done < frames;) {
    const uint32_t count = std::min(frames - done, kChunkFrames);
    left.fill(0.0f);
    right.fill(0.0f);
    const uint32_t sounding = MixEffects(left.data(), right.data(), count);
    Interleave(left.data(), right.data(), out + 2 * done, sounding);
    done += sounding;
    if (sounding < count) return done;
  }
  return frames;
}

}  // namespace dovetail
