// dovetail: the game on the desktop.

#include <malloc.h>

#include <QApplication>
#include <QIcon>
#include <iostream>
#include <optional>
#include <random>
#include <utility>

#include "backends/audio/synthesizer/SynthAudioOutput.h"
#include "backends/hosts/qt/QtHost.h"
#include "base/ProgramExit.h"
#include "graphics/TextRenderer.h"
#include "programs/common/CommandLine.h"
#include "programs/common/FontLookup.h"
#include "programs/common/InstanceLock.h"
#include "programs/common/PlayerFolder.h"
#include "programs/common/StartupReport.h"
#include "shell/Game.h"
#include "sound/EffectSounds.h"

namespace {

constexpr const char* kUsage =
    "usage: dovetail [--game DIR] [--save-dir DIR] [--soundfont FILE]\n"
    "\n"
    "Plays the game. Its data folder is DIR/data, or DIR itself when it has no\n"
    "\"data\" folder; without --game, DIR is the folder of this program when it\n"
    "holds a game, else the game installed with the program.\n"
    "  --game DIR         another game folder\n"
    "  --save-dir DIR     keeps the player's files (settings, save, ranking) in DIR;\n"
    "                     the game folder is then only read. Without it they stay\n"
    "                     in the game's data folder while it can be written, else\n"
    "                     in $XDG_DATA_HOME/dovetail/GAME (~/.local/share/...)\n"
    "  --soundfont FILE   the General MIDI soundfont (.sf2 / .sf3) for the music;\n"
    "                     by default FluidR3_GM, else TimGM6mb, from the system\n"
    "  --help             this text\n"
    "  --version          the program's version\n";

// The sound output: the synthesizer with the soundfont asked for or found, and
// the built-in effects at the output's rate. Without a soundfont the music is
// off and the effects still play. A soundfont that turns out broken past its
// header is told on standard error and the music is off.
dovetail::Result<std::unique_ptr<dovetail::SynthAudioOutput>> MakeAudioOutput(
    const std::optional<std::string>& soundFont) {
  using namespace dovetail;
  Result<EffectSounds> sounds = EffectSounds::LoadBuiltIn();
  if (!sounds) return sounds.error();
  SynthAudioOutput::EffectBuffers effects;
  for (int32_t id = EffectSounds::kFirstId; id <= EffectSounds::kLastId; ++id) {
    if (const WaveSound* sound = sounds->Find(id))
      effects[id] = ToStereo(*sound, SynthAudioOutput::kSampleRate);
  }
  std::optional<std::filesystem::path> font = FindSoundFont();
  if (soundFont) font = *soundFont;
  if (!font) std::cerr << "dovetail: no General MIDI soundfont installed; the music is off\n";
  // The soundfont's header is checked here; it is loaded from the first frame
  // on, while the splash runs.
  return SynthAudioOutput::Create(font, std::move(effects), [](const Error& error) {
    std::cerr << "dovetail: " << error.message << "\n";
  });
}

// The synthesizer reads an instrument's samples when a piece chooses it and
// frees them when no channel uses it any more. Blocks this large are mapped
// on their own, so that freeing one gives its memory back to the system; by
// default the allocator raises this threshold after the first such free and
// keeps later samples in its heap, where freed memory stays with the process.
void KeepLargeBlocksApart() {
  constexpr int kLargeBlockBytes = 256 * 1024;
  mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes);
}

// The window's icon and the desktop entry it belongs to: the installed icon
// from the desktop's theme, else the one the build drew beside the program.
void ShowAsTheDesktopKnowsIt(const char* argv0) {
  const std::filesystem::path built = dovetail::ExecutableFolder(argv0) / "icons" / "256x256" /
                                      "apps" / (std::string(DOVETAIL_APP_ID) + ".png");
  QApplication::setWindowIcon(
      QIcon::fromTheme(DOVETAIL_APP_ID, QIcon(QString::fromStdString(built.string()))));
  QGuiApplication::setDesktopFileName(DOVETAIL_APP_ID);
}

// The player's zoom and full screen as last chosen, and remembered when
// changed.
void RememberTheView(dovetail::MainWindowShell& shell, dovetail::Comforts& comforts) {
  const dovetail::ComfortSettings& view = comforts.Settings();
  if (view.zoom > 0 && shell.ZoomFits(view.zoom)) shell.SetZoom(view.zoom);
  if (view.fullScreen) shell.SetFullScreen(true);
  shell.onViewChanged = [&shell, &comforts] {
    comforts.ViewChanged(static_cast<int16_t>(shell.Zoom()), shell.FullScreen());
  };
}

}  // namespace

int main(int argc, char** argv) {
  using namespace dovetail;
  CommandLine args(argc, argv);
  if (args.AnsweredHelpOrVersion("dovetail", kUsage)) return ExitStatus(ExitCode::Done);
  const std::optional<std::string> gameArgument = args.Value("--game");
  const DefaultGame defaultGame = FindDefaultGame(argv[0]);
  const std::filesystem::path gameFolder = gameArgument.value_or(defaultGame.folder.string());
  // For the desktop tests: start, show the title, shut down.
  const bool smokeTest = args.Flag("--smoke-test");
  // For the start-up benchmark: the moments of start-up on standard error.
  const StartupReport report(args.Flag("--report-startup"));
  const std::optional<std::string> soundFont = args.Value("--soundfont");
  PlayerFolderChoice playerFolder = ChoosePlayerFolder(args.Value("--save-dir"));
  playerFolder.installedGame = !gameArgument && defaultGame.installed;
  if (!args.Problems().empty()) {
    std::cerr << "dovetail: " << args.Problems() << kUsage;
    return ExitStatus(ExitCode::BadUsage);
  }
  KeepLargeBlocksApart();
  FontLookup fonts;
  // A soundfont that is missing or is no soundfont is refused before any
  // window opens.
  auto audio = MakeAudioOutput(soundFont);
  if (!audio.ok()) {
    std::cerr << "dovetail: " << audio.error().message << "\n";
    return ExitStatus(ExitCode::BadUsage);
  }
  report.Moment("sound-checked");

  QApplication application(argc, argv);
  ShowAsTheDesktopKnowsIt(argv[0]);
  report.Moment("application");
  QtHost host;
  report.Moment("host");
  bool firstFrame = true;
  // The synthesizer's library and the soundfont load once the first frame
  // is on the screen, off its way.
  host.onPresented = [&] {
    if (!std::exchange(firstFrame, false)) return;
    report.Moment("first-frame");
    (*audio)->StartLoading();
  };
  const GamePaths paths = GamePaths::ForPlayer(gameFolder, playerFolder);
  // Two copies must not write the same player's files; copies keeping their
  // files apart (--save-dir) may share a game folder.
  const auto lock = InstanceLock::Acquire(paths.playerPath);
  if (lock == nullptr) {
    host.MessageBox({"既に起動しています。", kAppTitle, MessageBoxButtons::Ok, true});
    return ExitStatus(ExitCode::Done);
  }
  auto text = fonts.Take();
  if (!text.ok()) {
    host.MessageBox({text.error().message, kAppTitle, MessageBoxButtons::Ok});
    return ExitStatus(ExitCode::Failed);
  }
  report.Moment("fonts");
  try {
    // Nobody watches the desktop program's events.
    IgnoredEvents events;
    Game game(host, **text, paths, **audio, events);
    // Each launch draws other customers (the headless runner keeps --seed).
    game.random.seed(std::random_device{}());
    game.comforts.SetScreenshotFolder(FolderPlayerFiles::Folder(ScreenshotFolder()));
    RememberTheView(host.Shell(), game.comforts);
    game.Start();
    report.Moment("title");
    const QPoint canvas = host.Canvas().mapToGlobal(QPoint(0, 0));
    report.Place(canvas.x(), canvas.y(), host.Canvas().Zoom());
    if (smokeTest) game.Quit();
    game.Guarded([&host] { host.RunEventLoop(); });
  } catch (const ProgramExit& exit) {
    return ExitStatus(exit.code);
  }
}
