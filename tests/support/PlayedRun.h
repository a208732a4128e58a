#pragma once

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "graphics/TextRenderer.h"
#include "programs/runner/HeadlessRunner.h"
#include "programs/runner/PlayFile.h"

namespace dovetail::testing {

// What one headless run of a play file gave: its exit code, the reason it
// stopped early (empty when it did not) and its log lines.
struct PlayedRun {
  int code = 0;
  std::string failure;
  std::vector<std::string> lines;
};

// Runs the headless runner with `options` (a play file or a route).
inline PlayedRun RunHeadless(RunnerOptions options, TextRenderer& text) {
  PlayedRun run;
  std::ostringstream out;
  HeadlessRunner runner(std::move(options), text, &out);
  run.code = runner.Run();
  run.failure = runner.Failure();
  run.lines = runner.Log().Lines();
  return run;
}

// Plays `playText` (a play file's text, which must parse) with the rest of
// `options` on the headless runner.
inline PlayedRun PlayHeadless(RunnerOptions options, const std::string& playText,
                              TextRenderer& text) {
  auto play = ParsePlayFile(playText, "play.txt");
  if (!play.ok()) return {-1, play.error().message, {}};
  options.play = std::move(*play);
  return RunHeadless(std::move(options), text);
}

}  // namespace dovetail::testing
