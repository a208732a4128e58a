// dovetail: the game on the desktop.

#include <QApplication>
#include <iostream>

#include "app/CommandLine.h"
#include "app/InstanceLock.h"
#include "base/ProgramExit.h"
#include "graphics/TextRenderer.h"
#include "platform/qt/QtHost.h"
#include "shell/Game.h"
#include "sound/EffectSounds.h"
#include "sound/SynthAudioOutput.h"

namespace {

constexpr const char* kUsage =
    "usage: dovetail [--game DIR] [--soundfont FILE]\n"
    "\n"
    "Plays the game. Its data folder is DIR/data, or DIR itself when it has no\n"
    "\"data\" folder; without --game, DIR is the folder of this program.\n"
    "  --game DIR         another game folder\n"
    "  --soundfont FILE   the General MIDI soundfont (.sf2 / .sf3) for the music;\n"
    "                     by default FluidR3_GM, else TimGM6mb, from the system\n"
    "  --help             this text\n"
    "  --version          the program's version\n";

// The sound output: the synthesizer with the soundfont asked for or found, and
// the built-in effects at the output's rate. Without a soundfont the music is
// off and the effects still play.
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
  return SynthAudioOutput::Create(font, std::move(effects));
}

}  // namespace

int main(int argc, char** argv) {
  using namespace dovetail;
  CommandLine args(argc, argv);
  if (args.AnsweredHelpOrVersion("dovetail", kUsage)) return 0;
  if (args.Flag("--version")) {
    std::cout << "dovetail " << DOVETAIL_VERSION << "\n";
    return 0;
  }
  const std::filesystem::path gameFolder =
      args.Value("--game").value_or(ExecutableFolder(argv[0]).string());
  // For the desktop tests: start, show the title, shut down.
  const bool smokeTest = args.Flag("--smoke-test");
  const std::optional<std::string> soundFont = args.Value("--soundfont");
  if (!args.Problems().empty()) {
    std::cerr << "dovetail: " << args.Problems() << kUsage;
    return 2;
  }
  // A soundfont that cannot be loaded is refused before any window opens.
  auto audio = MakeAudioOutput(soundFont);
  if (!audio.ok()) {
    std::cerr << "dovetail: " << audio.error().message << "\n";
    return 2;
  }

  QApplication application(argc, argv);
  QtHost host;
  const auto lock = InstanceLock::Acquire(gameFolder);
  if (lock == nullptr) {
    host.MessageBox({"既に起動しています。", kAppTitle, MessageBoxButtons::Ok});
    return 0;
  }
  auto text = TextRenderer::Create();
  if (!text.ok()) {
    host.MessageBox({text.error().message, kAppTitle, MessageBoxButtons::Ok});
    return 2;
  }
  try {
    // Nobody watches the desktop program's events.
    IgnoredEvents events;
    Game game(host, **text, GamePaths::ForGameFolder(gameFolder), **audio, events);
    game.Form_Load();
    if (smokeTest) game.Form_Unload();
    host.RunEventLoop();
  } catch (const ProgramExit& exit) {
    return exit.code;
  }
}
