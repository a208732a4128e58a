// dovetail-run: the game on the headless host, for tests and for authors.

#include <algorithm>
#include <fstream>
#include <iostream>

#include "backends/glyphs/freetype/FreeTypeGlyphs.h"
#include "base/Files.h"
#include "base/ProgramExit.h"
#include "graphics/TextRenderer.h"
#include "programs/common/CommandLine.h"
#include "programs/common/PlayerFolder.h"
#include "programs/runner/HeadlessRunner.h"
#include "programs/runner/RunnerArguments.h"
#include "routes/RouteMap.h"
#include "storage/DataFolder.h"
#include "storage/GamePaths.h"

namespace dovetail {
namespace {

constexpr const char* kUsage =
    "usage: dovetail-run [--game DIR] [--save-dir DIR] [--play FILE] [--log FILE]\n"
    "                    [--snap-dir DIR]\n"
    "                    [--snap-every MS] [--seed N] [--max-ms N]\n"
    "                    [--cafe perfect|idle|wrong]\n"
    "                    [--auto ROUTE [--name FAMILY,GIVEN] [--quit-at-save N]]\n"
    "       dovetail-run [--game DIR] --routes [--cover]\n"
    "\n"
    "Plays the game without a window, in virtual time.\n"
    "  --game DIR      the game folder (its data folder is DIR/data, or DIR itself);\n"
    "                  default: the folder of this program when it holds a game,\n"
    "                  else the game installed with the program\n"
    "  --save-dir DIR  keeps the player's files (settings, save, ranking, result\n"
    "                  log, system report) in DIR; the game folder is only read.\n"
    "                  Without it they stay in the data folder while it can be\n"
    "                  written, else in $XDG_DATA_HOME/dovetail/GAME\n"
    "  --play FILE     input, one command a line: wait MS, until STATE (title,\n"
    "                  click-wait, choice, dialog, message-box, customer, ranking),\n"
    "                  click X Y,\n"
    "                  rclick X Y, move X Y, key NAME, wheel up|down, menu NAME,\n"
    "                  answer ok|cancel, type TEXT, press CONTROL, close, snap NAME,\n"
    "                  serve, serve-wrong;\n"
    "                  '#' starts a comment\n"
    "  --log FILE      the JSON Lines log of what happened (default: standard output)\n"
    "  --snap-dir DIR  where snap writes NAME.png, and F12 its screenshots\n"
    "                  (default: the current folder)\n"
    "  --snap-every MS also a snapshot every MS ms of virtual time, at-TTTTTTT.png\n"
    "  --seed N        seed of the game's random numbers (default 1)\n"
    "  --max-ms N      stop with an error after N ms of virtual time (default 3600000)\n"
    "  --cafe POLICY   how café stages play when the play file has no café commands:\n"
    "                  perfect (every customer served correctly), wrong (served\n"
    "                  wrongly) or idle (nobody serves; the default)\n"
    "  --auto ROUTE    plays by itself instead of a play file: clicks through the\n"
    "                  text, picks the route's options at the choices, names the\n"
    "                  hero, serves the café by --cafe, goes through the ending and\n"
    "                  the ranking and stops when the title is back. ROUTE is a\n"
    "                  comma list of option numbers from 1 (\"2,1,3\"), \"none\",\n"
    "                  \"first\", \"last\" or \"random:SEED\"; \"extra:\" before it plays\n"
    "                  the title's extra story, \"load:\" loads the save first; \"+\"\n"
    "                  joins stories played one after another (\"first+extra:none\").\n"
    "                  Exit status 4 when the route cannot go on (a content error,\n"
    "                  an option the choice does not offer, a stall)\n"
    "  --name F,G      the hero's family and given name typed into the name dialog\n"
    "  --quit-at-save N  quits through the menu bar after the Nth save\n"
    "  --routes        prints every distinct route through the story's choices, one\n"
    "                  a line as --auto takes it, followed by \"--cafe perfect\" or\n"
    "                  \"--cafe idle\" where the route needs the café's final grade\n"
    "                  to be A or B, or lower; on standard error the number of\n"
    "                  routes, the ends they reach, labels no route reaches and\n"
    "                  content errors met on the way (exit status 1 when there are\n"
    "                  any of the last two)\n"
    "  --cover         with --routes: only routes that together take every branch\n";

// How many of the routes shown reach each kind of end.
std::string EndsReached(const std::vector<MappedRoute>& shown) {
  std::string text;
  for (RouteEnd end : {RouteEnd::StaffRoll, RouteEnd::Ending, RouteEnd::ScriptEnd, RouteEnd::Quit,
                       RouteEnd::Stall}) {
    const auto count = std::count_if(shown.begin(), shown.end(),
                                     [&](const MappedRoute& route) { return route.end == end; });
    if (count == 0) continue;
    text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + RouteEndName(end);
  }
  return text;
}

// --routes: the routes on standard output, the summary on standard error.
int PrintRoutes(const std::filesystem::path& gameFolder, bool cover) {
  const GamePaths paths = GamePaths::ForGameFolder(gameFolder);
  ScriptTables tables;
  if (Status loaded = LoadScript(paths.DataPath, tables, nullptr); !loaded.ok()) {
    std::cerr << "dovetail-run: " << loaded.error().message << "\n";
    return ExitStatus(ExitCode::BadUsage);
  }
  const RouteMap map = MapRoutes(tables);
  const std::vector<MappedRoute>& shown = cover ? map.covering : map.routes;
  for (const MappedRoute& route : shown) {
    // The extra story is offered once a story has been played past its first
    // café stage: its routes are printed after one, so that they play as
    // they stand on a fresh folder.
    std::cout << (route.story.start == StoryRoute::Start::Extra ? "first+" : "")
              << StoryRouteText(route.story)
              << (route.grade == GradeNeed::High  ? " --cafe perfect"
                  : route.grade == GradeNeed::Low ? " --cafe idle"
                                                  : "")
              << "\n";
  }
  std::cerr << "dovetail-run: " << shown.size() << (cover ? " covering" : "")
            << (shown.size() == 1 ? " route" : " routes")
            << (map.complete || cover ? "" : " (more left out)") << ": " << EndsReached(shown)
            << "\n";
  if (!map.unreached.empty()) {
    std::cerr << "dovetail-run: labels no route reaches:";
    for (int16_t label : map.unreached)
      std::cerr << " " << label;
    std::cerr << "\n";
  }
  for (const RouteProblem& problem : map.problems)
    std::cerr << "dovetail-run: label " << problem.label << ": " << problem.message << "\n";
  return ExitStatus(map.unreached.empty() && map.problems.empty() ? ExitCode::Done
                                                                  : ExitCode::Failed);
}

}  // namespace
}  // namespace dovetail

int main(int argc, char** argv) {
  using namespace dovetail;
  CommandLine args(argc, argv);
  if (args.AnsweredHelpOrVersion("dovetail-run", kUsage)) return ExitStatus(ExitCode::Done);
  auto parsed = ParseRunnerArguments(args, FindDefaultGame(argv[0]));
  if (!parsed.ok()) {
    std::cerr << "dovetail-run: " << parsed.error().message << kUsage;
    return ExitStatus(ExitCode::BadUsage);
  }
  RunnerOptions options = std::move(parsed->options);
  const std::optional<std::string> playFile = parsed->playFile;
  const std::optional<std::string> logFile = parsed->logFile;
  if (parsed->routes) return PrintRoutes(options.gameFolder, parsed->cover);
  std::error_code snapFolder;
  if (!std::filesystem::is_directory(options.snapDir, snapFolder)) {
    std::cerr << "dovetail-run: --snap-dir " << options.snapDir.string()
              << ": no such folder; the snapshots would have nowhere to go\n";
    return ExitStatus(ExitCode::BadUsage);
  }

  if (playFile) {
    auto text = ReadWholeFile(*playFile);
    if (!text.ok()) {
      std::cerr << "dovetail-run: " << text.error().message << "\n";
      return ExitStatus(ExitCode::BadUsage);
    }
    auto play = ParsePlayFile(*text, *playFile);
    if (!play.ok()) {
      std::cerr << "dovetail-run: " << play.error().message << "\n";
      return ExitStatus(ExitCode::BadUsage);
    }
    options.play = std::move(*play);
  }

  std::ofstream logStream;
  std::ostream* log = &std::cout;
  if (logFile) {
    logStream.open(*logFile, std::ios::binary | std::ios::trunc);
    if (!logStream) {
      std::cerr << "dovetail-run: " << *logFile << ": cannot be written\n";
      return ExitStatus(ExitCode::BadUsage);
    }
    log = &logStream;
  }

  auto text = MakeFreeTypeTextRenderer();
  if (!text.ok()) {
    std::cerr << "dovetail-run: " << text.error().message << "\n";
    return ExitStatus(ExitCode::BadUsage);
  }
  HeadlessRunner runner(std::move(options), **text, log);
  const int code = runner.Run();
  if (!runner.Failure().empty()) std::cerr << "dovetail-run: " << runner.Failure() << "\n";
  return code;
}
