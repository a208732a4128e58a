// The cost of the music: renders the demo game's pieces through the
// synthesizer as the sound device would pull them (512 frames at a time) and
// reports the real-time factor, seconds of audio made per second of CPU. A
// factor of 50 means the music takes 2 % of one core. Also reports the
// memory the soundfont holds, which dynamic sample loading keeps to the
// instruments the pieces use.
//
// usage: music [DATA_FOLDER] [SOUNDFONT]

#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "MusicBench.h"
#include "backends/audio/synthesizer/SynthAudioOutput.h"

namespace {

using namespace dovetail;

constexpr uint32_t kPullFrames = 512;
constexpr double kSecondsPerPiece = 60.0;

long PeakResidentKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<bench::MusicArguments> arguments =
      bench::ReadMusicArguments("music", argc, argv);
  if (!arguments) return 1;
  const std::filesystem::path& data = arguments->data;
  const std::optional<std::filesystem::path> soundFont = arguments->soundFont;
  const long before = PeakResidentKiB();
  auto output = SynthAudioOutput::Create(soundFont, {});
  if (!output) {
    std::fprintf(stderr, "music: %s\n", output.error().message.c_str());
    return 1;
  }
  if (!(*output)->WaitUntilLoaded()) {
    std::fprintf(stderr, "music: %s could not be loaded\n", soundFont->string().c_str());
    return 1;
  }
  std::printf("soundfont %s, %u frames a second, pulled %u at a time\n",
              soundFont->string().c_str(), SynthAudioOutput::kSampleRate, kPullFrames);
  std::printf("%-8s %10s %10s %12s\n", "piece", "audio s", "cpu s", "x real time");
  std::vector<float> left(kPullFrames), right(kPullFrames);
  for (const char* name : bench::kDemoPieces) {
    Result<MidiPiece> piece = ReadMidiFile(data / name);
    if (!piece) {
      std::fprintf(stderr, "music: %s\n", piece.error().message.c_str());
      return 1;
    }
    // Looped as the second music device plays it, so the whole minute is music.
    if (Status started = (*output)->StartMusic(*piece, MusicLoop{0, piece->lengthMusicTime});
        !started) {
      std::fprintf(stderr, "music: %s\n", started.error().message.c_str());
      return 1;
    }
    const auto frames = static_cast<uint64_t>(kSecondsPerPiece * SynthAudioOutput::kSampleRate);
    const double start = bench::CpuSeconds();
    for (uint64_t done = 0; done < frames; done += kPullFrames)
      (*output)->Render(left.data(), right.data(), kPullFrames);
    const double cpu = bench::CpuSeconds() - start;
    std::printf("%-8s %10.1f %10.3f %12.1f\n", name, kSecondsPerPiece, cpu, kSecondsPerPiece / cpu);
  }
  std::printf("peak resident memory: %ld KiB before the synthesizer, %ld KiB after\n", before,
              PeakResidentKiB());
}
