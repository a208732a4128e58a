// What each part of the synthesis costs, and whether leaving it out would be
// heard: renders each of the demo game's pieces (looped, one minute, pulled
// 8192 frames at a time as the music stream asks) through FluidSynth as the
// program sets it up, then again with one part changed (no chorus, no reverb,
// linear instead of fourth-order interpolation, FluidSynth's default of 256
// voices or only 64, pulled 512 frames at a time as a driver would). For each it
// prints the processor time and how far the render departs from the one as
// played: the largest sample difference and the difference's level against
// the music's, in dB (-inf: identical to the bit).
//
// usage: synthesis [DATA_FOLDER] [SOUNDFONT]

#include <fluidsynth.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

#include "MusicBench.h"
#include "backends/audio/synthesizer/SynthAudioOutput.h"
#include "sound/MidiFile.h"
#include "sound/MusicSequencer.h"

namespace {

using namespace dovetail;

constexpr uint32_t kPullFrames = 8192;
constexpr double kSeconds = 60.0;
// As the program sets the synthesizer up.
constexpr double kSynthGain = 0.7;
constexpr int kVoices = 128;

class Sink : public MidiSink {
 public:
  explicit Sink(fluid_synth_t* synth) : synth_(synth) {}
  void Reset() override { fluid_synth_system_reset(synth_); }
  void Send(uint8_t status, uint8_t data1, uint8_t data2) override {
    const int channel = status & 0x0F;
    switch (status & 0xF0) {
      case 0x80:
        fluid_synth_noteoff(synth_, channel, data1);
        break;
      case 0x90:
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
    peakVoices = std::max(peakVoices, fluid_synth_get_active_voice_count(synth_));
  }
  int peakVoices = 0;

 private:
  fluid_synth_t* synth_;
};

struct Variant {
  const char* name;
  std::function<void(fluid_settings_t*)> settings = {};
  std::function<void(fluid_synth_t*)> synth = {};
  uint32_t pull = kPullFrames;
};

struct Render {
  std::vector<float> samples;
  double cpu = 0;
  int peakVoices = 0;
};

Render RenderPiece(const MidiPiece& piece, const std::filesystem::path& soundFont,
                   const Variant& variant) {
  fluid_settings_t* settings = new_fluid_settings();
  fluid_settings_setnum(settings, "synth.sample-rate", SynthAudioOutput::kSampleRate);
  fluid_settings_setnum(settings, "synth.gain", kSynthGain);
  fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
  fluid_settings_setint(settings, "synth.polyphony", kVoices);
  if (variant.settings) variant.settings(settings);
  fluid_synth_t* synth = new_fluid_synth(settings);
  fluid_synth_system_reset(synth);
  fluid_synth_sfload(synth, soundFont.c_str(), 0);
  Sink sink(synth);
  MusicSequencer sequencer(SynthAudioOutput::kSampleRate);
  sequencer.Start(piece, MusicLoop{0, piece.lengthMusicTime}, sink);
  // After the reset the start makes, which chooses the default interpolation.
  if (variant.synth) variant.synth(synth);
  const auto frames = static_cast<uint64_t>(kSeconds * SynthAudioOutput::kSampleRate);
  Render render;
  render.samples.resize(frames * 2);
  std::vector<float> left(variant.pull), right(variant.pull);
  const double start = bench::CpuSeconds();
  for (uint64_t done = 0; done < frames; done += variant.pull) {
    const auto count = static_cast<uint32_t>(std::min<uint64_t>(variant.pull, frames - done));
    sequencer.Render(sink, left.data(), right.data(), count);
    for (uint32_t i = 0; i < count; ++i) {
      render.samples[2 * (done + i)] = left[i];
      render.samples[2 * (done + i) + 1] = right[i];
    }
  }
  render.cpu = bench::CpuSeconds() - start;
  render.peakVoices = sink.peakVoices;
  delete_fluid_synth(synth);
  delete_fluid_settings(settings);
  return render;
}

// The largest difference and the difference's level against the music's.
void Compare(const Render& played, const Render& other, double& peak, double& levelDb) {
  double difference = 0, music = 0;
  peak = 0;
  for (size_t i = 0; i < played.samples.size(); ++i) {
    const double d = static_cast<double>(other.samples[i]) - played.samples[i];
    peak = std::max(peak, std::fabs(d));
    difference += d * d;
    music += static_cast<double>(played.samples[i]) * played.samples[i];
  }
  levelDb = difference == 0 ? -INFINITY : 10 * std::log10(difference / music);
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<bench::MusicArguments> arguments =
      bench::ReadMusicArguments("synthesis", argc, argv);
  if (!arguments) return 1;
  const std::filesystem::path& data = arguments->data;
  const std::optional<std::filesystem::path> soundFont = arguments->soundFont;
  for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
    fluid_set_log_function(level, nullptr, nullptr);
  const std::vector<Variant> variants = {
      {"as played", {}},
      {"no chorus",
       [](fluid_settings_t* s) { fluid_settings_setint(s, "synth.chorus.active", 0); }},
      {"no reverb",
       [](fluid_settings_t* s) { fluid_settings_setint(s, "synth.reverb.active", 0); }},
      {"neither",
       [](fluid_settings_t* s) {
         fluid_settings_setint(s, "synth.chorus.active", 0);
         fluid_settings_setint(s, "synth.reverb.active", 0);
       }},
      {"linear interp.",
       {},
       [](fluid_synth_t* synth) { fluid_synth_set_interp_method(synth, -1, FLUID_INTERP_LINEAR); }},
      {"256 voices", [](fluid_settings_t* s) { fluid_settings_setint(s, "synth.polyphony", 256); }},
      {"64 voices", [](fluid_settings_t* s) { fluid_settings_setint(s, "synth.polyphony", 64); }},
      {"pulled by 512", {}, {}, 512},
  };
  std::printf("soundfont %s, %.0f s of each piece, pulled %u frames at a time\n",
              soundFont->string().c_str(), kSeconds, kPullFrames);
  std::printf("%-7s %-15s %8s %8s %11s %12s %7s\n", "piece", "variant", "cpu s", "x real",
              "peak diff", "diff level", "voices");
  for (const char* name : bench::kDemoPieces) {
    Result<MidiPiece> piece = ReadMidiFile(data / name);
    if (!piece) {
      std::fprintf(stderr, "synthesis: %s\n", piece.error().message.c_str());
      return 1;
    }
    Render played;
    for (const Variant& variant : variants) {
      Render render = RenderPiece(*piece, *soundFont, variant);
      if (played.samples.empty()) played = render;
      double peak = 0, level = 0;
      Compare(played, render, peak, level);
      std::printf("%-7s %-15s %8.3f %8.1f %11.6f %9.1f dB %7d\n", name, variant.name, render.cpu,
                  kSeconds / render.cpu, peak, level, render.peakVoices);
    }
  }
}
