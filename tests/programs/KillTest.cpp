#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "base/Files.h"
#include "saves/SaveFile.h"
#include "storage/DataFolder.h"
#include "storage/FolderPlayerFiles.h"
#include "support/TestDataFolder.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Starts dovetail-run on the game folder with the play file, its output
// thrown away; returns the child's process id.
pid_t StartRunner(const fs::path& game, const fs::path& play) {
  const std::string program = (fs::path(DOVETAIL_BUILD_DIR) / "dovetail-run").string();
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    ::execl(program.c_str(), program.c_str(), "--game", game.c_str(), "--play", play.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return pid;
}

int WaitFor(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

// The folder as it is while the program is not running: every picture
// disguised, no decoded script, no temporary file.
void ExpectAtRest(const fs::path& data) {
  for (const char* name : kPictureFiles)
    EXPECT_EQ(testing::HeaderOf(data / name), "JF") << name;
  for (const auto& entry : fs::directory_iterator(data)) {
    const std::string name = entry.path().filename().string();
    EXPECT_FALSE(name.starts_with(".") || entry.path().extension() == ".cod") << name;
  }
}

// The program killed at random moments while it starts, saves and quits: a
// save that loads is always there (the save or its backup), and the next
// complete run leaves the folder at rest.
TEST(KillTest, AKillAtAnyMomentLosesNoSaveAndTheNextRunPutsTheFolderAtRest) {
  const fs::path program = fs::path(DOVETAIL_BUILD_DIR) / "dovetail-run";
  if (!fs::exists(program)) GTEST_SKIP() << "dovetail-run is not built";
  testing::TestDataFolder folder("kill");
  folder.SetScript(
      "1000,,,,,,,,はじめ,,,,\r\n"
      "2000,g2,,,,,,,,,,,\r\n"
      "2000,,,,,,,,セーブの後,,,,\r\n"
      "3000,,,,,,,,おわり,,,,\r\n");
  const fs::path play = folder.root / "save-and-quit.play";
  ASSERT_TRUE(ReplaceFileAtomically(play,
                                    "until title\n"
                                    "click 420 245\n"
                                    "until click-wait\n"
                                    "click 320 440\n"
                                    "until message-box\n"
                                    "answer ok\n"
                                    "until click-wait\n"
                                    "menu ends\n"));
  const FolderPlayerFiles files = FolderPlayerFiles::OfDataFolder(folder.data);
  const auto saveThere = [&] {
    return SaveFileLoads(files, "40.dat") || SaveFileLoads(files, "40.dat.bak");
  };

  // Complete runs make the first save and measure how long a run takes; the
  // fastest of three, since the first run starts cold and a busy machine
  // slows any one of them, and kills must land inside later runs.
  auto runTime = Clock::duration::max();
  for (int i = 0; i < 3; ++i) {
    const auto started = Clock::now();
    const int complete = WaitFor(StartRunner(folder.root, play));
    runTime = std::min(runTime, Clock::now() - started);
    ASSERT_TRUE(WIFEXITED(complete) && WEXITSTATUS(complete) == 0);
    ASSERT_TRUE(saveThere());
  }

  constexpr int kKills = 40;
  std::mt19937 random(20261210);
  std::uniform_int_distribution<int64_t> moment(
      0, std::chrono::duration_cast<std::chrono::microseconds>(runTime).count());
  int killedWhileRunning = 0;
  for (int i = 0; i < kKills; ++i) {
    const pid_t pid = StartRunner(folder.root, play);
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    ::kill(pid, SIGKILL);
    const int status = WaitFor(pid);
    if (WIFSIGNALED(status)) ++killedWhileRunning;
    EXPECT_TRUE(saveThere()) << "after kill " << i;
  }
  // Most kills must land inside a run for the test to mean something.
  EXPECT_GE(killedWhileRunning, kKills / 2);

  const int last = WaitFor(StartRunner(folder.root, play));
  ASSERT_TRUE(WIFEXITED(last) && WEXITSTATUS(last) == 0);
  ExpectAtRest(folder.data);
  EXPECT_TRUE(SaveFileLoads(files, "40.dat"));
}

}  // namespace
}  // namespace dovetail
