#pragma once

// What the music benchmarks share: their arguments (the data folder and the
// soundfont), the demo game's pieces, and the process's processor time.

#include <time.h>

#include <cstdio>
#include <filesystem>
#include <optional>

#include "backends/audio/synthesizer/SynthAudioOutput.h"

namespace bench {

inline constexpr const char* kDemoPieces[] = {"01.mid", "02.mid", "03.mid"};

// usage: NAME [DATA_FOLDER] [SOUNDFONT]; the soundfont defaults to the
// system's. Nothing (and a message naming the benchmark) when none is found.
struct MusicArguments {
  std::filesystem::path data;
  std::filesystem::path soundFont;
};

inline std::optional<MusicArguments> ReadMusicArguments(const char* name, int argc, char** argv) {
  MusicArguments arguments{argc > 1 ? argv[1] : DOVETAIL_BENCH_DATA, {}};
  std::optional<std::filesystem::path> soundFont = dovetail::FindSoundFont();
  if (argc > 2) soundFont = argv[2];
  if (!soundFont) {
    std::fprintf(stderr, "%s: no General MIDI soundfont installed\n", name);
    return std::nullopt;
  }
  arguments.soundFont = *soundFont;
  return arguments;
}

inline double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace bench
