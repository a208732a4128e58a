#pragma once

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/HeadlessRunner.h"
#include "app/PlayFile.h"
#include "graphics/TextRenderer.h"

namespace dovetail::testing {

// What one headless run of a play file gave: its exit code, the reason it
// stopped early (empty when it did not) and its log lines.
struct PlayedRun {
  int code = 0;
  std::string failure;
  std::vector<std::string> lines;
};

// Plays `playText` (a play file's text, which must parse) with the rest of
// `options` on the headless runner.
inline PlayedRun PlayHeadless(RunnerOptions options, const std::string& playText,
                              TextRenderer& text) {
  auto play = ParsePlayFile(playText, "play.txt");
  PlayedRun run;
  if (!play.ok()) {
    run.code = -1;
    run.failure = play.error().message;
    return run;
  }
  options.play = std::move(*play);
  std::ostringstream out;
  HeadlessRunner runner(std::move(options), text, &out);
  run.code = runner.Run();
  run.failure = runner.Failure();
  run.lines = runner.Log().Lines();
  return run;
}

}  // namespace dovetail::testing
