// dovetail: the game on the desktop.

#include <QApplication>
#include <iostream>

#include "app/CommandLine.h"
#include "app/InstanceLock.h"
#include "base/ProgramExit.h"
#include "graphics/TextRenderer.h"
#include "platform/qt/QtHost.h"
#include "shell/Game.h"

namespace {

constexpr const char* kUsage =
    "usage: dovetail [--game DIR]\n"
    "\n"
    "Plays the game. Its data folder is DIR/data, or DIR itself when it has no\n"
    "\"data\" folder; without --game, DIR is the folder of this program.\n"
    "  --game DIR    another game folder\n"
    "  --help        this text\n"
    "  --version     the program's version\n";

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
  if (!args.Problems().empty()) {
    std::cerr << "dovetail: " << args.Problems() << kUsage;
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
    Game game(host, **text, gameFolder);
    game.Form_Load();
    if (smokeTest) game.Form_Unload();
    host.RunEventLoop();
  } catch (const ProgramExit& exit) {
    return exit.code;
  }
}
