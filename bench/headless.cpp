// How much faster than real time a headless run plays, on the headless host,
// several times, each on a fresh copy of the bundled data folder:
// - the demo game's play file (story, name entry, choices, café stages, the
//   ranking screen and its snapshots);
// - the whole game played by the auto-player along its first route with every
//   customer served at once (--auto first --cafe perfect): the story, every
//   café stage, the ending and the ranking.
// Prints the virtual time each run covered, the wall time it took and their
// ratio, and for the whole game the wall time per café stage (the whole "g3":
// play, evaluation, the way back) and per story record (from the first
// record to the last, stages left out).
//
// usage: headless [--runs N] [--whole-game-only] [DATA_FOLDER] [PLAY_FILE]
// (--whole-game-only leaves out the play file, for a data folder it does not
// fit)

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "backends/glyphs/freetype/FreeTypeGlyphs.h"
#include "base/Files.h"
#include "graphics/TextRenderer.h"
#include "programs/runner/HeadlessRunner.h"
#include "programs/runner/PlayFile.h"

namespace {

using namespace dovetail;
namespace fs = std::filesystem;

using Clock = std::chrono::steady_clock;

struct Timing {
  uint32_t virtualMs = 0;
  double wallMs = 0;
  // The whole game only: café stages and the wall time spent in them, and
  // the story records run.
  int stages = 0;
  double stageWallMs = 0;
  int records = 0;
  double storyWallMs = 0;
};

// A log stream that notes the wall time at which each line ends, so that a
// run's events can be placed on the wall clock.
class TimedLines : public std::stringbuf {
 public:
  std::vector<std::pair<Clock::time_point, std::string>> lines;

 protected:
  int sync() override {
    std::string text = str();
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
      lines.emplace_back(Clock::now(), text.substr(start, end - start));
    str(text.substr(start));
    return 0;
  }
};

// The café stages with the wall time each "g3" took (from the stage's start
// event to the next record: play, evaluation and the way back to the story),
// the story records and the wall time from the first record to the last with
// the stages left out (start-up before the story and the ending and ranking
// after it count for neither).
void CountStagesAndRecords(const TimedLines& log, Timing& timing) {
  bool inStage = false;
  Clock::time_point stageStart;
  std::optional<Clock::time_point> firstStep;
  Clock::time_point lastStep;
  auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
  for (const auto& [at, line] : log.lines) {
    if (line.find("\"event\":\"step\"") != std::string::npos) {
      ++timing.records;
      if (!firstStep) firstStep = at;
      lastStep = at;
      if (inStage) {
        ++timing.stages;
        timing.stageWallMs += ms(at - stageStart);
        inStage = false;
      }
    } else if (line.find("\"event\":\"stage\"") != std::string::npos &&
               line.find("\"what\":\"start\"") != std::string::npos) {
      inStage = true;
      stageStart = at;
    }
  }
  if (firstStep) timing.storyWallMs = ms(lastStep - *firstStep) - timing.stageWallMs;
}

// One run on a fresh copy of the data folder; the run changes the folder
// (save file, ranking) and writes its snapshots beside it.
bool PlayOnce(const fs::path& data, RunnerOptions options, TextRenderer& text, Timing& timing) {
  const fs::path game =
      fs::temp_directory_path() / ("dovetail-bench-headless-" + std::to_string(::getpid()));
  fs::remove_all(game);
  fs::create_directories(game);
  fs::copy(data, game / "data", fs::copy_options::recursive);

  options.gameFolder = game;
  options.snapDir = game;
  TimedLines log;
  std::ostream logStream(&log);
  const bool timesLines = options.autoPlay.has_value();
  const auto started = Clock::now();
  HeadlessRunner runner(std::move(options), text, timesLines ? &logStream : nullptr);
  const uint32_t virtualStart = runner.Host().TickCount();
  const int code = runner.Run();
  timing.virtualMs = runner.Host().TickCount() - virtualStart;
  timing.wallMs = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
  fs::remove_all(game);
  CountStagesAndRecords(log, timing);
  if (code != 0) {
    std::fprintf(stderr, "headless: the run ended with %d: %s\n", code, runner.Failure().c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  bool wholeGameOnly = false;
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--whole-game-only") {
      wholeGameOnly = true;
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
  auto text = MakeFreeTypeTextRenderer();
  if (!text.ok()) {
    std::fprintf(stderr, "headless: %s\n", text.error().message.c_str());
    return 1;
  }

  RunnerOptions playFile;
  playFile.play = std::move(*play);
  RunnerOptions wholeGame;
  wholeGame.cafe = CafePolicy::Perfect;
  wholeGame.autoPlay = AutoOptions{ParseRoute("first").value(), "", 0};

  for (const bool whole : {false, true}) {
    if (!whole && wholeGameOnly) continue;
    std::vector<Timing> timings(static_cast<size_t>(runs));
    for (Timing& timing : timings) {
      if (!PlayOnce(data, whole ? wholeGame : playFile, **text, timing)) return 1;
    }
    std::sort(timings.begin(), timings.end(),
              [](const Timing& a, const Timing& b) { return a.wallMs < b.wallMs; });
    const Timing& best = timings.front();
    const Timing& median = timings[timings.size() / 2];
    const std::string name =
        whole ? "whole game (--auto first --cafe perfect)" : playPath.filename().string();
    std::printf("%s: %.1f s of virtual time\n", name.c_str(), best.virtualMs / 1000.0);
    std::printf("  median %.0f ms wall, %.0f x real time\n", median.wallMs,
                median.virtualMs / median.wallMs);
    std::printf("  best   %.0f ms wall, %.0f x real time\n", best.wallMs,
                best.virtualMs / best.wallMs);
    if (whole) {
      const double storyMs = median.storyWallMs;
      std::printf("  %d café stages, %.1f ms wall each; %d story records, %.3f ms wall each\n",
                  median.stages, median.stages ? median.stageWallMs / median.stages : 0.0,
                  median.records, median.records ? storyMs / median.records : 0.0);
    }
  }
  return 0;
}
