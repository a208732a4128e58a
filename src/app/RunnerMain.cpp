// dovetail-run: the game on the headless host, for tests and for authors.

#include <charconv>
#include <fstream>
#include <iostream>

#include "app/CommandLine.h"
#include "app/HeadlessRunner.h"
#include "base/Files.h"
#include "graphics/TextRenderer.h"

namespace {

constexpr const char* kUsage =
    "usage: dovetail-run [--game DIR] [--play FILE] [--log FILE] [--snap-dir DIR]\n"
    "                    [--seed N] [--max-ms N] [--cafe perfect|idle|wrong]\n"
    "\n"
    "Plays the game without a window, in virtual time.\n"
    "  --game DIR      the game folder (its data folder is DIR/data, or DIR itself);\n"
    "                  default: the folder of this program\n"
    "  --play FILE     input, one command a line: wait MS, until STATE (title,\n"
    "                  click-wait, choice, dialog, message-box, customer), click X Y,\n"
    "                  rclick X Y, move X Y, key NAME, menu NAME, answer ok|cancel,\n"
    "                  type TEXT, press CONTROL, close, snap NAME, serve, serve-wrong;\n"
    "                  '#' starts a comment\n"
    "  --log FILE      the JSON Lines log of what happened (default: standard output)\n"
    "  --snap-dir DIR  where snap writes NAME.png (default: the current folder)\n"
    "  --seed N        seed of the game's random numbers (default 1)\n"
    "  --max-ms N      stop with an error after N ms of virtual time (default 3600000)\n"
    "  --cafe POLICY   how café stages play when the play file has no café commands:\n"
    "                  perfect (every customer served correctly), wrong (served\n"
    "                  wrongly) or idle (nobody serves; the default)\n";

bool ParseNumber(const std::string& text, uint32_t& out) {
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && ptr == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace dovetail;
  CommandLine args(argc, argv);
  if (args.AnsweredHelpOrVersion("dovetail-run", kUsage)) return 0;
  RunnerOptions options;
  options.gameFolder = args.Value("--game").value_or(ExecutableFolder(argv[0]).string());
  const auto playFile = args.Value("--play");
  const auto logFile = args.Value("--log");
  if (auto dir = args.Value("--snap-dir")) options.snapDir = *dir;
  bool numbersOk = true;
  if (auto seed = args.Value("--seed")) numbersOk &= ParseNumber(*seed, options.seed);
  if (auto maxMs = args.Value("--max-ms")) numbersOk &= ParseNumber(*maxMs, options.maxMs);
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
  if (!args.Problems().empty() || !numbersOk || !cafeProblem.empty()) {
    std::cerr << "dovetail-run: " << args.Problems()
              << (numbersOk ? "" : "--seed and --max-ms need a whole number\n") << cafeProblem
              << kUsage;
    return 2;
  }

  if (playFile) {
    auto text = ReadWholeFile(*playFile);
    if (!text.ok()) {
      std::cerr << "dovetail-run: " << text.error().message << "\n";
      return 2;
    }
    auto play = ParsePlayFile(*text, *playFile);
    if (!play.ok()) {
      std::cerr << "dovetail-run: " << play.error().message << "\n";
      return 2;
    }
    options.play = std::move(*play);
  }

  std::ofstream logStream;
  std::ostream* log = &std::cout;
  if (logFile) {
    logStream.open(*logFile, std::ios::binary | std::ios::trunc);
    if (!logStream) {
      std::cerr << "dovetail-run: " << *logFile << ": cannot be written\n";
      return 2;
    }
    log = &logStream;
  }

  auto text = TextRenderer::Create();
  if (!text.ok()) {
    std::cerr << "dovetail-run: " << text.error().message << "\n";
    return 2;
  }
  HeadlessRunner runner(std::move(options), **text, log);
  const int code = runner.Run();
  if (!runner.Failure().empty()) std::cerr << "dovetail-run: " << runner.Failure() << "\n";
  return code;
}
