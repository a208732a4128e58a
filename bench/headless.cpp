// How much faster than real time a headless run plays: the demo game's play
// file (story, name entry, choices, three café stages with a day's
// evaluation, the ranking screen and its snapshots) on the headless host,
// several times, each on a fresh copy of the bundled data folder. Prints the
// virtual time the run covered, the wall time it took and their ratio.
//
// usage: headless [--runs N] [DATA_FOLDER] [PLAY_FILE]

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/HeadlessRunner.h"
#include "app/PlayFile.h"
#include "base/Files.h"
#include "graphics/TextRenderer.h"

namespace {

using namespace dovetail;
namespace fs = std::filesystem;

struct Timing {
  uint32_t virtualMs = 0;
  double wallMs = 0;
};

// One run on a fresh copy of the data folder; the run changes the folder
// (save file, ranking) and writes its snapshots beside it.
bool PlayOnce(const fs::path& data, const std::vector<PlayCommand>& play, TextRenderer& text,
              Timing& timing) {
  const fs::path game =
      fs::temp_directory_path() / ("dovetail-bench-headless-" + std::to_string(::getpid()));
  fs::remove_all(game);
  fs::create_directories(game);
  fs::copy(data, game / "data", fs::copy_options::recursive);

  RunnerOptions options;
  options.gameFolder = game;
  options.play = play;
  options.snapDir = game;
  const auto started = std::chrono::steady_clock::now();
  HeadlessRunner runner(std::move(options), text, nullptr);
  const uint32_t virtualStart = runner.Host().TickCount();
  const int code = runner.Run();
  timing.virtualMs = runner.Host().TickCount() - virtualStart;
  timing.wallMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  fs::remove_all(game);
  if (code != 0) {
    std::fprintf(stderr, "headless: the run ended with %d: %s\n", code, runner.Failure().c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else {
      positional.push_back(arg);
    }
  }
  const fs::path data = positional.size() > 0 ? fs::path(positional[0]) : DOVETAIL_BENCH_DATA;
  const fs::path playPath = positional.size() > 1 ? fs::path(positional[1]) : DOVETAIL_BENCH_PLAY;

  auto playText = ReadWholeFile(playPath);
  if (!playText.ok()) {
    std::fprintf(stderr, "headless: %s\n", playText.error().message.c_str());
    return 1;
  }
  auto play = ParsePlayFile(*playText, playPath.string());
  if (!play.ok()) {
    std::fprintf(stderr, "headless: %s\n", play.error().message.c_str());
    return 1;
  }
  auto text = TextRenderer::Create();
  if (!text.ok()) {
    std::fprintf(stderr, "headless: %s\n", text.error().message.c_str());
    return 1;
  }

  std::vector<Timing> timings(static_cast<size_t>(runs));
  for (Timing& timing : timings) {
    if (!PlayOnce(data, *play, **text, timing)) return 1;
  }
  std::sort(timings.begin(), timings.end(),
            [](const Timing& a, const Timing& b) { return a.wallMs < b.wallMs; });
  const Timing& best = timings.front();
  const Timing& median = timings[timings.size() / 2];
  std::printf("%s: %.1f s of virtual time\n", playPath.filename().string().c_str(),
              best.virtualMs / 1000.0);
  std::printf("  median %.0f ms wall, %.0f x real time\n", median.wallMs,
              median.virtualMs / median.wallMs);
  std::printf("  best   %.0f ms wall, %.0f x real time\n", best.wallMs,
              best.virtualMs / best.wallMs);
  return 0;
}
