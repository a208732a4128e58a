// The game in a web browser. The page (web/page/main.js) has put the game's
// folder at /game, the glyph table at /dovetail/glyphs.bin and the player's files,
// read back from the browser's storage, into the folder --player names.
//
//   --player DIR  where the player's files are kept (each file the game
//                 writes there is stored in the browser's storage before the
//                 game goes on)
//   --seed N      the café's random numbers from N, as the headless runner's
//                 --seed (for the page's tests); otherwise drawn anew
//   --log         the run's events as the headless runner's log lines, and
//                 what the program waits for, handed to the page (for the
//                 page's tests)

#include <ostream>
#include <random>
#include <sstream>

#include "backends/audio/browser/WebAudioOutput.h"
#include "backends/glyphs/table/GlyphTable.h"
#include "backends/hosts/web/PageSeam.h"
#include "backends/hosts/web/WebHost.h"
#include "backends/storage/browser/BrowserStorage.h"
#include "base/Files.h"
#include "base/JsonText.h"
#include "base/ProgramExit.h"
#include "graphics/TextRenderer.h"
#include "programs/common/CafeGestures.h"
#include "programs/common/CommandLine.h"
#include "programs/common/EventLog.h"
#include "programs/common/LoggedEvents.h"
#include "shell/Game.h"
#include "sound/EffectSounds.h"

namespace {

using namespace dovetail;

constexpr const char* kGameFolder = "/game";
constexpr const char* kGlyphTable = "/dovetail/glyphs.bin";

// A failure before the game's window exists, shown as the page's message box.
int Refuse(WebHost& host, const std::string& reason) {
  host.Diagnostic("dovetail: " + reason);
  host.MessageBox({reason, kAppTitle, MessageBoxButtons::Ok});
  return ExitStatus(ExitCode::BadUsage);
}

// Hands each finished line to the page.
class PageLogBuffer final : public std::stringbuf {
 public:
  // At the end: a line not yet finished is kept and written on, not over.
  PageLogBuffer() : std::stringbuf(std::ios_base::out | std::ios_base::ate) {}

 protected:
  int sync() override {
    std::string text = str();
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
      dovetail_web_log(text.substr(start, end - start).c_str());
    str(text.substr(start));
    return 0;
  }
};

// What the program waits for, told to the page when it changes; at a café
// customer also the gestures that serve the one waiting longest.
class WaitReporter {
 public:
  explicit WaitReporter(Game& game) : game_(game) {}
  void Report() {
    const WaitState state = game_.Waiting();
    std::string serving;
    if (state == WaitState::Customer) serving = Gestures();
    if (state == last_ && serving == lastServing_) return;
    last_ = state;
    lastServing_ = serving;
    dovetail_web_report(std::string(WaitStateName(state)).c_str(), serving.c_str());
  }

 private:
  std::string Gestures() {
    const int16_t seat = game_.cafe.LongestWaitingSeat();
    JsonWriter json;
    json.BeginArray();
    for (const ScriptedInput& input :
         ServingGestures(game_.cafe, game_.settings.cafe, seat, true, 0)) {
      json.BeginObject().Key("kind").Number(static_cast<int64_t>(input.event.kind));
      json.Key("x").Number(input.event.x).Key("y").Number(input.event.y).EndObject();
    }
    return json.EndArray().Text();
  }

  Game& game_;
  WaitState last_ = WaitState::Busy;
  std::string lastServing_;
};

int Play(CommandLine& args) {
  WebHost host;
  // What the page may give: the player's folder, and for the page's test the
  // random seed and the run's log.
  const std::string playerFolder = args.Value("--player").value_or("/player");
  std::optional<uint32_t> seed;
  if (auto given = args.Value("--seed")) {
    uint32_t value = 0;
    if (!ParseWholeNumber(*given, value)) return Refuse(host, "--seed needs a whole number");
    seed = value;
  }
  const bool logged = args.Flag("--log");
  if (!args.Problems().empty()) return Refuse(host, args.Problems());

  auto table = ReadWholeFile(kGlyphTable);
  if (!table) return Refuse(host, table.error().message);
  auto glyphs = GlyphTable::Read(std::move(*table), kGlyphTable);
  if (!glyphs) return Refuse(host, glyphs.error().message);
  (*glyphs)->onMissingFont = [&host](const std::string& line) { host.Diagnostic(line); };
  TextRenderer text(std::move(*glyphs));

  auto effects = EffectSounds::LoadBuiltIn();
  if (!effects) return Refuse(host, effects.error().message);
  WebAudioOutput audio(host, *effects);

  PlayerFolderChoice player;
  player.saveDir = playerFolder;
  const GamePaths paths = GamePaths::ForPlayer(kGameFolder, player);

  PageLogBuffer logBuffer;
  std::ostream logStream(&logBuffer);
  EventLog log(&logStream);
  LoggedEvents loggedEvents(host, log);
  IgnoredEvents ignoredEvents;
  GameEvents& events = logged ? static_cast<GameEvents&>(loggedEvents) : ignoredEvents;
  // The page's file system lives in memory: a write counts once the
  // browser's storage holds it.
  const FolderPlayerFiles::Durability durability = KeepInBrowserStorage;
  try {
    Game game(host, text, paths, audio, events, durability);
    game.random.seed(seed ? *seed : std::random_device{}());
    // Screenshots are kept with the player's files; the page exports them.
    game.comforts.SetScreenshotFolder(
        FolderPlayerFiles::Folder(*player.saveDir / "screenshots", durability));
    WaitReporter waits(game);
    if (logged) {
      host.onMessageBoxAnswered = [&](const MessageBoxRequest& request, MessageBoxAnswer answer) {
        log.Write(MessageBoxLogEvent(host.TickCount(), request, answer));
        logStream.flush();
      };
    }
    host.onTimePassed = [&] {
      audio.CatchUp();
      logStream.flush();
      if (logged) waits.Report();
    };
    game.Start();
    game.Guarded([&host] { host.RunEventLoop(); });
  } catch (const ProgramExit& exit) {
    logStream.flush();
    return ExitStatus(exit.code);
  }
  return ExitStatus(ExitCode::Done);
}

}  // namespace

int main(int argc, char** argv) {
  dovetail::CommandLine args(argc, argv);
  int code = ExitStatus(ExitCode::Failed);
  try {
    code = Play(args);
  } catch (const std::exception& error) {
    // A fault of the program itself: told on the page's console, not lost
    // in the browser's handling of an uncaught exception.
    dovetail_web_diagnostic((std::string("dovetail: ") + error.what()).c_str());
  }
  dovetail_web_ended(code);
  return code;
}
