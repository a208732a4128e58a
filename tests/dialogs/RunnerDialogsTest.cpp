#include <gtest/gtest.h>

#include <sstream>

#include "backends/glyphs/freetype/FreeTypeGlyphs.h"
#include "graphics/TextRenderer.h"
#include "programs/runner/HeadlessRunner.h"
#include "shell/Game.h"
#include "support/TempFolder.h"
#include "support/TestDataFolder.h"

namespace dovetail {
namespace {

// A play file drives both dialogs of the menu bar: it waits for them, ticks
// their boxes, presses their buttons and closes them, and the log tells when
// each opened and closed.
TEST(RunnerDialogs, APlayFileWorksTheOptionsAndTheAboutBox) {
  testing::TestDataFolder folder("runner-dialogs");
  folder.SetSettings("1100", false);
  auto text = MakeFreeTypeTextRenderer().value();
  RunnerOptions options;
  options.gameFolder = folder.root;
  options.play = ParsePlayFile(
                     "until title\n"
                     "menu opt\n"
                     "until dialog\n"
                     "press Check2\n"
                     "press Option5\n"
                     "press Command1\n"
                     "until title\n"
                     "menu vers\n"
                     "until dialog\n"
                     "close\n"
                     "until title\n",
                     "dialogs.play")
                     .value();
  std::ostringstream out;
  HeadlessRunner runner(std::move(options), *text, &out);
  ASSERT_EQ(runner.Run(), 0) << runner.Failure();

  std::vector<std::string> dialogs;
  for (const std::string& line : runner.Log().Lines()) {
    if (line.find(R"("event":"dialog")") == std::string::npos) continue;
    dialogs.push_back(line.substr(line.find(R"("name")")));
  }
  EXPECT_EQ(dialogs, (std::vector<std::string>{R"("name":"Option_Window","what":"open"})",
                                               R"("name":"Option_Window","what":"close"})",
                                               R"("name":"frmAbout","what":"open"})",
                                               R"("name":"frmAbout","what":"close"})"}));
  EXPECT_TRUE(testing::ReadBytes(folder.data / "20.dat").starts_with("1000\r\n"));
  EXPECT_EQ(runner.GetGame().story.message.MessageMode, 3);
  EXPECT_TRUE(std::filesystem::exists(folder.data / "syslog.dat"));
}

}  // namespace
}  // namespace dovetail
