// What the desktop program costs while it waits: starts `dovetail` on a fresh
// copy of the bundled data folder, and over N seconds measures its processor
// time (user and system, all threads) and its wake-ups (the context switches
// of all its threads), first at the title, then at the story's first
// click-wait (reached by clicking the title's first entry with xdotool). Also
// prints the resident memory at the title. Runs twice: without a sound device
// (no music) and with the sound server of the session (the title music plays;
// skipped when `pactl info` finds no server). Needs a window system: an X
// display (e.g. under xvfb-run).
//
// With the sound server it also measures an effect's latency, in this process
// through the program's own audio output while the title music plays: from
// the call that starts the effect to the moment the server reports its first
// frame played at the sink (the stream's own timing, interpolated).
//
// usage: idle [--seconds N] [--soundfont FILE] [DATA_FOLDER]

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "DesktopRun.h"
#include "backends/audio/synthesizer/SynthAudioOutput.h"
#include "sound/EffectSounds.h"
#include "sound/MidiFile.h"
#include "sound/WaveFile.h"

namespace {

using namespace bench;

// The title's first entry, in client coordinates.
constexpr int kFirstEntryX = 420;
constexpr int kFirstEntryY = 245;
// Time for start-up's last pause and the story's first transitions to end.
constexpr int kSettleMs = 3000;

void Measure(pid_t pid, int seconds, const char* where) {
  const ProcessFigures before = ReadFigures(pid);
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const ProcessFigures after = ReadFigures(pid);
  const double cpu = (after.cpuMs - before.cpuMs) / (seconds * 10.0);
  const double wakeUps = static_cast<double>(after.switches - before.switches) / seconds;
  std::printf("  %-11s %5.2f %% of a core, %5.0f wake-ups/s, resident %5.1f MB\n", where, cpu,
              wakeUps, after.residentKb / 1024.0);
}

bool ClickFirstEntry(const std::vector<std::string>& canvas) {
  if (canvas.size() != 3) return false;
  const int zoom = std::atoi(canvas[2].c_str());
  const int x = std::atoi(canvas[0].c_str()) + kFirstEntryX * zoom + zoom / 2;
  const int y = std::atoi(canvas[1].c_str()) + kFirstEntryY * zoom + zoom / 2;
  const std::string command = "xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) +
                              " click 1 >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

bool Idle(const fs::path& program, const fs::path& data, const std::vector<std::string>& args,
          bool music, int seconds) {
  std::map<std::string, std::string> environment;
  // No sound server to be found: music and effects are off for the run.
  if (!music) environment["PULSE_SERVER"] = "unix:/nonexistent";
  DesktopRun desktop(program, data, args, environment);
  const auto canvas = desktop.WaitFor("canvas");
  if (!canvas) {
    std::fprintf(stderr, "idle: the program did not reach the title\n");
    for (const std::string& line : desktop.Lines())
      std::fprintf(stderr, "  %s\n", line.c_str());
    return false;
  }
  std::printf("%s\n", music ? "with the title music (sound server)" : "no sound device (no music)");
  std::this_thread::sleep_for(std::chrono::milliseconds(kSettleMs));
  Measure(desktop.Pid(), seconds, "title");
  if (!ClickFirstEntry(*canvas)) {
    std::printf("  click-wait  not measured: xdotool could not click\n");
    return true;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(kSettleMs));
  Measure(desktop.Pid(), seconds, "click-wait");
  return true;
}

// Effects started at uneven moments while the title music plays.
constexpr int kEffectRuns = 15;

bool EffectLatency(const fs::path& data, const std::optional<fs::path>& soundFont) {
  using namespace dovetail;
  Result<EffectSounds> sounds = EffectSounds::LoadBuiltIn();
  if (!sounds) return false;
  SynthAudioOutput::EffectBuffers effects;
  const WaveSound* sound = sounds->Find(EffectSounds::kFirstId);
  if (sound == nullptr) return false;
  effects[EffectSounds::kFirstId] = ToStereo(*sound, SynthAudioOutput::kSampleRate);
  auto output = SynthAudioOutput::Create(soundFont ? soundFont : FindSoundFont(), effects);
  if (!output || !(*output)->Open()) {
    std::printf("  effect latency not measured: the sound server took no stream\n");
    return true;
  }
  Result<MidiPiece> piece = ReadMidiFile(data / "01.mid");
  if (piece) (void)(*output)->StartMusic(*piece, std::nullopt);
  std::this_thread::sleep_for(std::chrono::seconds(2));
  std::vector<double> latencies;
  for (int run = 0; run < kEffectRuns; ++run) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300 + 37 * run));
    const Clock::time_point asked = Clock::now();
    (*output)->PlayEffect(EffectSounds::kFirstId);
    while (!(*output)->EffectHeard() && MsSince(asked) < 1000)
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    latencies.push_back(MsSince(asked));
  }
  std::sort(latencies.begin(), latencies.end());
  std::printf(
      "  effect      %5.1f ms median, %5.1f ms at most, from the call to its first frame "
      "played (%d effects, %s)\n",
      latencies[latencies.size() / 2], latencies.back(), kEffectRuns,
      (*output)->DeviceName().c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int seconds = 10;
  std::vector<std::string> args;
  std::optional<fs::path> soundFont;
  fs::path data = DOVETAIL_BENCH_DATA;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--seconds" && i + 1 < argc) {
      seconds = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--soundfont" && i + 1 < argc) {
      args.push_back("--soundfont");
      args.push_back(argv[++i]);
      soundFont = args.back();
    } else {
      data = arg;
    }
  }
  if (std::getenv("DISPLAY") == nullptr) {
    std::fprintf(stderr, "idle: no X display (run under xvfb-run)\n");
    return 1;
  }
  const fs::path program = DOVETAIL_BENCH_PROGRAM;
  if (!fs::exists(program)) {
    std::fprintf(stderr, "idle: %s is not built\n", program.c_str());
    return 1;
  }
  std::printf("dovetail idle, %d s each%s%s\n", seconds, args.empty() ? "" : ", soundfont ",
              args.empty() ? "" : args[1].c_str());
  if (!Idle(program, data, args, false, seconds)) return 1;
  if (std::system("pactl info >/dev/null 2>&1") != 0) {
    std::printf("with the title music: skipped, no sound server answers (pactl info)\n");
    return 0;
  }
  if (!Idle(program, data, args, true, seconds)) return 1;
  return EffectLatency(data, soundFont) ? 0 : 1;
}
