#include "programs/runner/RunnerArguments.h"

#include "programs/common/PlayerFolder.h"
#include "programs/runner/AutoPlayer.h"
#include "routes/Route.h"

namespace dovetail {

Result<RunnerArguments> ParseRunnerArguments(CommandLine& args, const DefaultGame& defaultGame) {
  RunnerArguments arguments;
  RunnerOptions& options = arguments.options;
  const std::optional<std::string> gameArgument = args.Value("--game");
  options.gameFolder = gameArgument.value_or(defaultGame.folder.string());
  options.playerFolder = ChoosePlayerFolder(args.Value("--save-dir"));
  options.playerFolder->installedGame = !gameArgument && defaultGame.installed;
  // Files of our own (comfort settings, read marks) only where asked: a run
  // for a test or an author leaves nothing in the user's data home.
  options.playerFolder->keepOwnFiles = options.playerFolder->saveDir.has_value();
  arguments.playFile = args.Value("--play");
  arguments.logFile = args.Value("--log");
  if (auto dir = args.Value("--snap-dir")) options.snapDir = *dir;
  bool numbersOk = true;
  if (auto seed = args.Value("--seed")) numbersOk &= ParseWholeNumber(*seed, options.seed);
  if (auto maxMs = args.Value("--max-ms")) numbersOk &= ParseWholeNumber(*maxMs, options.maxMs);
  if (auto every = args.Value("--snap-every"))
    numbersOk &= ParseWholeNumber(*every, options.snapEvery);
  std::string autoProblem;
  if (auto route = args.Value("--auto")) {
    auto given = ParseRoute(*route);
    AutoOptions autoPlay;
    if (given.ok()) {
      autoPlay.route = std::move(*given);
    } else {
      autoProblem += given.error().message + "\n";
    }
    if (auto name = args.Value("--name")) {
      auto text = NameDialogText(*name);
      if (text.ok()) {
        autoPlay.heroName = *text;
      } else {
        autoProblem += text.error().message + "\n";
      }
    }
    if (auto saves = args.Value("--quit-at-save")) {
      numbersOk &= ParseWholeNumber(*saves, autoPlay.quitAfterSaves);
    }
    options.autoPlay = std::move(autoPlay);
  }
  arguments.routes = args.Flag("--routes");
  arguments.cover = args.Flag("--cover");
  std::string cafeProblem;
  if (auto cafe = args.Value("--cafe")) {
    if (*cafe == "perfect") {
      options.cafe = CafePolicy::Perfect;
    } else if (*cafe == "wrong") {
      options.cafe = CafePolicy::Wrong;
    } else if (*cafe != "idle") {
      cafeProblem = "--cafe needs perfect, idle or wrong, not \"" + *cafe + "\"\n";
    }
  }
  if (arguments.playFile && options.autoPlay)
    autoProblem += "--play and --auto cannot go together\n";
  const std::string problems =
      args.Problems() +
      (numbersOk ? "" : "--seed, --max-ms, --snap-every and --quit-at-save need a whole number\n") +
      cafeProblem + autoProblem;
  if (!problems.empty()) return Error{problems};
  return arguments;
}

}  // namespace dovetail
