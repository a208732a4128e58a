// dovetail-make-sounds: synthesises the program's seven built-in effect sounds
// (identifiers 101..107) and writes them as a C++ source file holding their WAVE
// files' bytes, which the build compiles into the engine core. With --wav-dir the
// WAVE files are also written out for listening.
//
// Every sound is made by code alone: additive sines, simple FM, exponential
// envelopes and a little filtered noise from a fixed seed, so each run gives the
// same bytes. Each sound starts and ends at zero amplitude and peaks well below
// full scale.
//
// This program stands alone: the engine core is built from its output.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <numbers>
#include <sstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t kSampleRate = 22050;
constexpr double kRate = kSampleRate;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Partials above this are left out so that nothing folds back below the
// Nyquist frequency as a stray tone.
constexpr double kHighestPartialHz = 0.45 * kRate;

// A sound being built, in floating point at the output rate.
class Track {
 public:
  explicit Track(double seconds) : samples_(static_cast<size_t>(std::lround(seconds * kRate))) {}

  size_t Size() const { return samples_.size(); }
  double& operator[](size_t i) { return samples_[i]; }
  const std::vector<double>& Samples() const { return samples_; }

  // Mixes `voice` in from `startSeconds` on; what runs past the end is dropped.
  void Mix(double startSeconds, const std::vector<double>& voice, double gain) {
    const size_t start = static_cast<size_t>(std::lround(startSeconds * kRate));
    for (size_t i = 0; i < voice.size() && start + i < samples_.size(); ++i)
      samples_[start + i] += gain * voice[i];
  }

 private:
  std::vector<double> samples_;
};

// Attack, then exponential decay with time constant `decay`, then a
// raised-cosine release over the last `release` seconds of `length`. Zero at
// the very start and at the very end.
double Envelope(double t, double length, double attack, double decay, double release) {
  if (t <= 0.0 || t >= length) return 0.0;
  double level = 1.0;
  if (t < attack) level = 0.5 - 0.5 * std::cos(std::numbers::pi * t / attack);
  if (decay > 0.0 && t > attack) level = std::exp(-(t - attack) / decay);
  const double untilEnd = length - t;
  if (untilEnd < release) level *= 0.5 - 0.5 * std::cos(std::numbers::pi * untilEnd / release);
  return level;
}

// One component of a struck tone: its frequency as a multiple of the
// fundamental, its level, and how fast it dies away (seconds; 0 = as the note).
struct Partial {
  double ratio;
  double level;
  double decay;
};

struct NoteShape {
  double length;
  double attack;
  double decay;  // 0 = held
  double release;
};

// A struck or plucked tone: each partial decays at its own rate, so the sound
// starts bright and mellows.
std::vector<double> StruckTone(double hz, const std::vector<Partial>& partials,
                               const NoteShape& shape) {
  std::vector<double> out(static_cast<size_t>(std::lround(shape.length * kRate)), 0.0);
  for (const Partial& p : partials) {
    const double f = hz * p.ratio;
    if (f > kHighestPartialHz) continue;
    const double decay = p.decay > 0.0 ? p.decay : shape.decay;
    for (size_t i = 0; i < out.size(); ++i) {
      const double t = static_cast<double>(i) / kRate;
      out[i] += p.level * Envelope(t, shape.length, shape.attack, decay, shape.release) *
                std::sin(kTwoPi * f * t);
    }
  }
  return out;
}

// A brass-like tone by simple FM (carrier and modulator at the same
// frequency): the modulation index follows the envelope, so the note brightens
// as it swells, with a gentle vibrato that sets in after the attack.
std::vector<double> BrassTone(double hz, const NoteShape& shape, double index) {
  std::vector<double> out(static_cast<size_t>(std::lround(shape.length * kRate)), 0.0);
  double phase = 0.0;
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double env = Envelope(t, shape.length, shape.attack, shape.decay, shape.release);
    const double vibratoDepth = std::min(1.0, t / 0.25) * 0.004;
    const double f = hz * (1.0 + vibratoDepth * std::sin(kTwoPi * 5.5 * t));
    out[i] = env * std::sin(phase + index * env * std::sin(phase));
    phase += kTwoPi * f / kRate;
  }
  return out;
}

// A soft buzz: a band-limited sawtooth with gently falling upper harmonics,
// doubled by a slightly detuned copy so that the two beat slowly.
std::vector<double> SoftBuzz(double hz, const NoteShape& shape) {
  std::vector<double> out(static_cast<size_t>(std::lround(shape.length * kRate)), 0.0);
  for (const double detune : {1.0, 1.006}) {
    const double f0 = hz * detune;
    for (int k = 1; k <= 16; ++k) {
      if (f0 * k > 4000.0) break;  // keep it warm, not harsh
      const double level = 1.0 / std::pow(k, 1.6);
      for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        out[i] += level * std::sin(kTwoPi * f0 * k * t);
      }
    }
  }
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    out[i] *= Envelope(t, shape.length, shape.attack, shape.decay, shape.release);
  }
  return out;
}

// White noise in -1..1 from a fixed seed (xorshift32), the same on every
// machine.
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed) {}
  double Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483648.0 - 1.0;
  }

 private:
  uint32_t state_;
};

// A one-pole low-pass filter whose cut-off may move from sample to sample.
class LowPass {
 public:
  double Step(double x, double cutoffHz) {
    const double a = 1.0 - std::exp(-kTwoPi * cutoffHz / kRate);
    y_ += a * (x - y_);
    return y_;
  }

 private:
  double y_ = 0.0;
};

// The last touches every sound gets: short fades at both edges so that the
// first and last samples are exactly zero, then scaling to `peak` of full scale.
std::vector<int16_t> Finish(Track track, double fadeInSeconds, double fadeOutSeconds, double peak) {
  const size_t n = track.Size();
  const size_t fadeIn = std::max<size_t>(2, std::lround(fadeInSeconds * kRate));
  const size_t fadeOut = std::max<size_t>(2, std::lround(fadeOutSeconds * kRate));
  for (size_t i = 0; i < fadeIn && i < n; ++i)
    track[i] *= 0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(i) / (fadeIn - 1));
  for (size_t i = 0; i < fadeOut && i < n; ++i)
    track[n - 1 - i] *=
        0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(i) / (fadeOut - 1));

  double loudest = 0.0;
  for (double v : track.Samples())
    loudest = std::max(loudest, std::abs(v));
  const double scale = loudest > 0.0 ? peak * 32767.0 / loudest : 0.0;
  std::vector<int16_t> out;
  out.reserve(n);
  for (double v : track.Samples()) {
    const long q = std::clamp(std::lround(v * scale), -32767L, 32767L);
    out.push_back(static_cast<int16_t>(q));
  }
  return out;
}

// Equal-tempered pitches used below.
constexpr double kG3 = 196.00;
constexpr double kBb3 = 233.08;
constexpr double kC5 = 523.25;
constexpr double kE5 = 659.26;
constexpr double kF5 = 698.46;
constexpr double kG5 = 783.99;
constexpr double kA5 = 880.00;
constexpr double kC6 = 1046.50;
constexpr double kE6 = 1318.51;
constexpr double kF6 = 1396.91;

// A bell: the fundamental rings longest, the octave and the slightly sharp
// upper partials add the strike.
const std::vector<Partial> kBell = {
    {1.0, 1.0, 0.0}, {2.0, 0.35, 0.18}, {3.0, 0.12, 0.10}, {4.16, 0.08, 0.05}};
// A mallet on a wooden bar: fundamental and the bar's fourfold overtone.
const std::vector<Partial> kMallet = {{1.0, 1.0, 0.0}, {4.0, 0.22, 0.045}, {9.9, 0.05, 0.012}};

// 101: a customer served correctly. Two bright bell strikes a fifth apart.
std::vector<int16_t> SuccessChime() {
  Track track(0.62);
  track.Mix(0.0, StruckTone(kA5, kBell, {0.30, 0.003, 0.12, 0.08}), 0.7);
  track.Mix(0.085, StruckTone(kE6, kBell, {0.53, 0.003, 0.18, 0.15}), 1.0);
  return Finish(std::move(track), 0.001, 0.02, 0.70);
}

// 102: the plate emptied. A soft falling whoosh of filtered noise over a low
// thump that drops in pitch.
std::vector<int16_t> PlateCleared() {
  Track track(0.30);
  Noise noise(0x2545F491u);
  LowPass first;
  LowPass second;
  const double length = 0.30;
  double phase = 0.0;
  for (size_t i = 0; i < track.Size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double progress = t / length;
    // The noise's cut-off slides from 2.4 kHz down to 250 Hz: a breath going down.
    const double cutoff = 2400.0 * std::pow(250.0 / 2400.0, progress);
    const double air = second.Step(first.Step(noise.Next(), cutoff), cutoff);
    const double airEnv = Envelope(t, length, 0.04, 0.09, 0.08);
    // The thump falls from 260 Hz to 90 Hz.
    const double hz = 90.0 + 170.0 * std::exp(-t / 0.05);
    const double thumpEnv = Envelope(t, length, 0.004, 0.06, 0.08);
    track[i] = 2.2 * air * airEnv + 0.55 * thumpEnv * std::sin(phase);
    phase += kTwoPi * hz / kRate;
  }
  return Finish(std::move(track), 0.002, 0.03, 0.60);
}

// 103: the grade appears. A short brass fanfare rising C-E-G to a held C
// over its chord.
std::vector<int16_t> GradeFanfare() {
  Track track(1.05);
  const NoteShape shortNote = {0.115, 0.012, 0.0, 0.03};
  track.Mix(0.00, BrassTone(kC5, shortNote, 1.6), 0.8);
  track.Mix(0.12, BrassTone(kE5, shortNote, 1.6), 0.8);
  track.Mix(0.24, BrassTone(kG5, shortNote, 1.6), 0.8);
  const NoteShape longNote = {0.69, 0.02, 0.9, 0.22};
  track.Mix(0.36, BrassTone(kC6, longNote, 2.0), 0.9);
  track.Mix(0.36, BrassTone(kG5, longNote, 1.4), 0.45);
  track.Mix(0.36, BrassTone(kE5, longNote, 1.4), 0.45);
  return Finish(std::move(track), 0.001, 0.04, 0.75);
}

// 104: the start-up jingle once loading is done. A mallet arpeggio up through
// F major that settles on its chord; under 1.5 s, as the program waits for it.
std::vector<int16_t> StartUpJingle() {
  Track track(1.30);
  const NoteShape step = {0.40, 0.004, 0.16, 0.10};
  track.Mix(0.00, StruckTone(kF5, kMallet, step), 0.8);
  track.Mix(0.12, StruckTone(kA5, kMallet, step), 0.8);
  track.Mix(0.24, StruckTone(kC6, kMallet, step), 0.8);
  const NoteShape last = {0.94, 0.004, 0.30, 0.25};
  track.Mix(0.36, StruckTone(kF6, kMallet, last), 0.9);
  track.Mix(0.36, StruckTone(kC6, kMallet, last), 0.4);
  track.Mix(0.36, StruckTone(kA5, kMallet, last), 0.4);
  return Finish(std::move(track), 0.001, 0.05, 0.75);
}

// 105: a dish put on the plate, a choice pressed. A short wooden tick.
std::vector<int16_t> SoftTick() {
  Track track(0.05);
  const std::vector<Partial> wood = {{1.0, 1.0, 0.0}, {1.71, 0.45, 0.004}};
  track.Mix(0.0, StruckTone(1800.0, wood, {0.05, 0.0006, 0.008, 0.015}), 1.0);
  Noise noise(0x9E3779B9u);
  LowPass body;
  for (size_t i = 0; i < track.Size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double grain = noise.Next();
    const double high = grain - body.Step(grain, 3000.0);  // the noise above 3 kHz
    track[i] += 0.25 * Envelope(t, 0.05, 0.0005, 0.003, 0.01) * high;
  }
  return Finish(std::move(track), 0.0005, 0.01, 0.50);
}

// 106: a customer served wrongly. A soft low buzz falling a minor third,
// rounded at both ends so that it sounds a gentle "no".
std::vector<int16_t> GentleBuzzer() {
  Track track(0.56);
  track.Mix(0.00, SoftBuzz(kBb3, {0.19, 0.012, 0.0, 0.04}), 1.0);
  track.Mix(0.21, SoftBuzz(kG3, {0.35, 0.012, 0.45, 0.12}), 1.0);
  // A dense tone: a lower peak gives it about the loudness of the chime.
  return Finish(std::move(track), 0.001, 0.03, 0.48);
}

// 107: a score number counting. A tiny rising blip, short enough to repeat
// quickly.
std::vector<int16_t> ScoreBlip() {
  Track track(0.07);
  const double length = 0.07;
  double phase = 0.0;
  for (size_t i = 0; i < track.Size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double hz = 1250.0 + 550.0 * std::min(1.0, t / 0.04);
    const double env = Envelope(t, length, 0.002, 0.025, 0.02);
    track[i] = env * (std::sin(phase) + 0.2 * std::sin(2.0 * phase));
    phase += kTwoPi * hz / kRate;
  }
  return Finish(std::move(track), 0.001, 0.01, 0.50);
}

struct EffectSound {
  int32_t id;
  std::function<std::vector<int16_t>()> make;
};

const std::vector<EffectSound> kEffectSounds = {
    {101, SuccessChime}, {102, PlateCleared}, {103, GradeFanfare}, {104, StartUpJingle},
    {105, SoftTick},     {106, GentleBuzzer}, {107, ScoreBlip},
};

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(tag[i]));
}

// A canonical 16-bit mono PCM WAVE file: RIFF header, 16-byte "fmt " chunk,
// "data" chunk.
std::vector<uint8_t> WaveFile(const std::vector<int16_t>& samples) {
  const uint32_t dataSize = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + dataSize);
  PutTag(out, "RIFF");
  PutU32(out, 36 + dataSize);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutU32(out, 16);
  PutU16(out, 1);                // PCM
  PutU16(out, 1);                // mono
  PutU32(out, kSampleRate);      // frames per second
  PutU32(out, kSampleRate * 2);  // bytes per second
  PutU16(out, 2);                // bytes per frame
  PutU16(out, 16);               // bits per sample
  PutTag(out, "data");
  PutU32(out, dataSize);
  for (int16_t s : samples)
    PutU16(out, static_cast<uint16_t>(s));
  return out;
}

uint32_t LengthMs(const std::vector<int16_t>& samples) {
  return static_cast<uint32_t>(uint64_t{samples.size()} * 1000 / kSampleRate);
}

std::string SourceFile(const std::vector<std::pair<int32_t, std::vector<uint8_t>>>& waves,
                       const std::vector<uint32_t>& lengthsMs) {
  std::ostringstream out;
  out << "// Generated by dovetail-make-sounds from tools/sounds/MakeEffectSounds.cpp.\n"
         "// Do not edit: change the generator instead.\n"
         "#include \"sound/BuiltInSoundData.h\"\n\n"
         "namespace dovetail {\n"
         "namespace {\n";
  char hex[8];
  for (size_t w = 0; w < waves.size(); ++w) {
    const auto& [id, bytes] = waves[w];
    out << "\n// Effect sound " << id << ": " << lengthsMs[w] << " ms, " << bytes.size()
        << " bytes.\n";
    out << "const uint8_t kWave" << id << "[] = {\n";
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (i % 16 == 0) out << "   ";
      std::snprintf(hex, sizeof hex, " 0x%02X,", bytes[i]);
      out << hex;
      if (i % 16 == 15 || i + 1 == bytes.size()) out << '\n';
    }
    out << "};\n";
  }
  out << "\n}  // namespace\n\n"
         "std::span<const uint8_t> EffectSoundWave(int32_t id) {\n"
         "  switch (id) {\n";
  for (const auto& [id, bytes] : waves)
    out << "    case " << id << ":\n      return kWave" << id << ";\n";
  out << "    default:\n"
         "      return {};\n"
         "  }\n"
         "}\n\n"
         "}  // namespace dovetail\n";
  return out.str();
}

// Writes `bytes` to `path` through a temporary file beside it, so that a failed
// run never leaves a half-written file under the real name.
bool WriteAtomically(const std::filesystem::path& path, const std::string& bytes) {
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  if (ec) {
    std::cerr << "dovetail-make-sounds: cannot create " << path.parent_path() << ": "
              << ec.message() << '\n';
    return false;
  }
  std::filesystem::path temp = path;
  temp += ".tmp";
  {
    std::ofstream file(temp, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
      std::cerr << "dovetail-make-sounds: cannot write " << temp << '\n';
      std::filesystem::remove(temp, ec);
      return false;
    }
  }
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::cerr << "dovetail-make-sounds: cannot replace " << path << ": " << ec.message() << '\n';
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string output;
  std::string wavDir;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--wav-dir" && i + 1 < args.size()) {
      wavDir = args[++i];
    } else if (!args[i].starts_with("--") && output.empty()) {
      output = args[i];
    } else {
      output.clear();
      break;
    }
  }
  if (output.empty()) {
    std::cerr << "usage: dovetail-make-sounds OUTPUT.cpp [--wav-dir DIR]\n";
    return 2;
  }

  std::vector<std::pair<int32_t, std::vector<uint8_t>>> waves;
  std::vector<uint32_t> lengthsMs;
  for (const EffectSound& sound : kEffectSounds) {
    const std::vector<int16_t> samples = sound.make();
    waves.emplace_back(sound.id, WaveFile(samples));
    lengthsMs.push_back(LengthMs(samples));
  }

  if (!wavDir.empty()) {
    for (const auto& [id, bytes] : waves) {
      const std::string text(bytes.begin(), bytes.end());
      if (!WriteAtomically(std::filesystem::path(wavDir) / (std::to_string(id) + ".wav"), text))
        return 1;
    }
  }
  return WriteAtomically(output, SourceFile(waves, lengthsMs)) ? 0 : 1;
}
