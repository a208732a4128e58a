#include "backends/audio/synthesizer/SoundFontSynth.h"

#include <algorithm>
#include <bitset>
#include <cstring>
#include <fstream>
#include <system_error>
#include <utility>

#include "backends/audio/synthesizer/FluidSynthLibrary.h"

namespace dovetail {

namespace {

// Loudness of the synthesizer before the master volume: General MIDI pieces
// with several voices stay below full scale.
constexpr double kSynthGain = 0.7;
// Voices the synthesizer keeps ready (FluidSynth's default is 256). The demo's
// pieces sound 76 at most; a General MIDI piece rarely needs more than 64.
constexpr int kVoices = 128;
// How long the music is still rendered after it fell silent, for the reverb
// to die away, before it rests: two seconds.
constexpr uint64_t kTailSeconds = 2;

// A soundfont is a RIFF file of the form "sfbk" (compressed ones too).
bool HasSoundFontHeader(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  char header[12] = {};
  if (!in.read(header, sizeof header)) return false;
  return std::memcmp(header, "RIFF", 4) == 0 && std::memcmp(header + 8, "sfbk", 4) == 0;
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
class SoundFontSynth::Sink : public MidiSink {
 public:
  Sink(const FluidSynthCalls& fluid, fluid_synth_t* synth) : fluid_(fluid), synth_(synth) {}

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

Status SoundFontSynth::CheckSoundFont(const std::filesystem::path& soundFont) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(soundFont, ec))
    return Error{soundFont.string() + ": no such soundfont file"};
  // Reads the file's header only; the synthesizer's library is not needed yet.
  if (!HasSoundFontHeader(soundFont))
    return Error{soundFont.string() + ": not a soundfont that can be loaded"};
  return Status::Ok();
}

SoundFontSynth::SoundFontSynth(uint32_t sampleRate, std::optional<std::filesystem::path> soundFont,
                               FluidSynthLibrary& library, HandOver handOver,
                               LoadFailure onLoadFailure)
    : sampleRate_(sampleRate),
      soundFont_(std::move(soundFont)),
      library_(library),
      handOver_(std::move(handOver)),
      onLoadFailure_(std::move(onLoadFailure)),
      sequencer_(sampleRate),
      heard_(sampleRate) {}

SoundFontSynth::~SoundFontSynth() {
  if (loader_.joinable()) loader_.join();
  if (synth_ != nullptr) fluid_->delete_fluid_synth(synth_);
  if (settings_ != nullptr) fluid_->delete_fluid_settings(settings_);
}

void SoundFontSynth::StartLoading() {
  if (!soundFont_ || loadingStarted_) return;
  loadingStarted_ = true;
  loader_ = std::thread(&SoundFontSynth::Load, this, *soundFont_);
}

void SoundFontSynth::Load(std::filesystem::path soundFont) {
  Result<const FluidSynthCalls*> library = library_.Calls();
  const FluidSynthCalls* fluid = library ? *library : nullptr;
  fluid_settings_t* settings = fluid != nullptr ? fluid->new_fluid_settings() : nullptr;
  fluid_synth_t* synth = nullptr;
  if (settings != nullptr) {
    fluid->fluid_settings_setnum(settings, "synth.sample-rate", sampleRate_);
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
  if (!loaded) {
    {
      std::lock_guard guard(lock_);
      loadFailed_ = true;
      pending_.reset();
    }
    if (synth != nullptr) fluid->delete_fluid_synth(synth);
    if (settings != nullptr) fluid->delete_fluid_settings(settings);
    if (onLoadFailure_) {
      onLoadFailure_(Error{library ? soundFont.string() +
                                         ": not a soundfont that can be loaded; the music is off"
                                   : library.error().message + "; the music is off"});
    }
    return;
  }
  handOver_([&] {
    std::lock_guard guard(lock_);
    fluid_ = fluid;
    settings_ = settings;
    synth_ = synth;
    sink_ = std::make_unique<Sink>(*fluid, synth);
    if (!pending_) return false;
    StartOnSynth(pending_->piece, pending_->loop);
    pending_.reset();
    return true;
  });
}

bool SoundFontSynth::WaitUntilLoaded() {
  StartLoading();
  if (loader_.joinable()) loader_.join();
  std::lock_guard guard(lock_);
  return synth_ != nullptr;
}

Result<SoundFontSynth::Started> SoundFontSynth::Start(const MidiPiece& piece,
                                                      std::optional<MusicLoop> loop) {
  std::lock_guard guard(lock_);
  if (!soundFont_ || loadFailed_)
    return Error{piece.name + ": no General MIDI soundfont to play it with"};
  if (synth_ == nullptr) {
    pending_ = PendingPiece{piece, loop};
    StartLoading();
    return Started::kOnceLoaded;
  }
  StartOnSynth(piece, loop);
  return Started::kNow;
}

void SoundFontSynth::StartOnSynth(const MidiPiece& piece, std::optional<MusicLoop> loop) {
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
// played: the device drops its buffer and their release is what comes next.
bool SoundFontSynth::Stop() {
  std::lock_guard guard(lock_);
  pending_.reset();
  if (sink_ == nullptr) return false;
  sequencer_.Stop(*sink_);
  heard_.Stop(silent_);
  framesRendered_ = 0;
  framesHeard_ = 0;
  quietFrames_ = 0;
  return true;
}

void SoundFontSynth::CatchUpHeard(std::optional<uint64_t> played) {
  if (!played) return;
  const uint64_t heard = std::min(*played, framesRendered_);
  if (heard <= framesHeard_) return;
  heard_.Advance(silent_, heard - framesHeard_);
  framesHeard_ = heard;
}

uint32_t SoundFontSynth::HeardPositionMs(std::optional<uint64_t> played) {
  std::lock_guard guard(lock_);
  CatchUpHeard(played);
  return heard_.PositionMs();
}

bool SoundFontSynth::HeardFinished(std::optional<uint64_t> played) {
  std::lock_guard guard(lock_);
  CatchUpHeard(played);
  return heard_.Finished();
}

void SoundFontSynth::Render(float* left, float* right, uint32_t frames) {
  std::lock_guard guard(lock_);
  if (sink_ == nullptr) {
    std::fill_n(left, frames, 0.0f);
    std::fill_n(right, frames, 0.0f);
    return;
  }
  sequencer_.Render(*sink_, left, right, frames);
  if (sequencer_.Playing()) framesRendered_ += frames;
  quietFrames_ = sequencer_.Playing() || sink_->Sounding() ? 0 : quietFrames_ + frames;
}

bool SoundFontSynth::Resting() const {
  std::lock_guard guard(lock_);
  return sink_ == nullptr || quietFrames_ >= kTailSeconds * sampleRate_;
}

}  // namespace dovetail
