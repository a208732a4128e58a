#pragma once

#include <optional>
#include <string>

#include "base/Result.h"
#include "programs/common/CommandLine.h"
#include "programs/runner/HeadlessRunner.h"

namespace dovetail {

// What dovetail-run's command line asks for: the run's options, where its
// play file and log are, and whether it only lists the story's routes.
struct RunnerArguments {
  RunnerOptions options;
  std::optional<std::string> playFile;
  std::optional<std::string> logFile;
  bool routes = false;
  bool cover = false;
};

// Reads the runner's options from `args` (--help and --version answered
// before); `defaultGame` is the game played without --game. An error lists
// every problem found, one a line.
Result<RunnerArguments> ParseRunnerArguments(CommandLine& args, const DefaultGame& defaultGame);

}  // namespace dovetail
