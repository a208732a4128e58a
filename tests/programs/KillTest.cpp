#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "base/Files.h"
#include "saves/SaveFile.h"
#include "storage/DataFolder.h"
#include "storage/FolderPlayerFiles.h"
#include "support/TestDataFolder.h"
#include "support/TitleClick.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A dovetail-run started on a game folder, its log (standard output) read
// through a pipe as it is written, its standard error thrown away.
struct Runner {
  pid_t pid = -1;
  int log = -1;  // the pipe's reading end
};

// A pid of -1 when the run could not be started.
Runner StartRunner(const fs::path& game, const fs::path& play) {
  const std::string program = (fs::path(DOVETAIL_BUILD_DIR) / "dovetail-run").string();
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return {};
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    return {};
  }
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(pipeEnds[1], STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    ::execl(program.c_str(), program.c_str(), "--game", game.c_str(), "--play", play.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(pipeEnds[1]);
  return {pid, pipeEnds[0]};
}

// The lines of a runner's log seen so far, each with when its end arrived.
struct LogSeen {
  std::vector<std::string> lines;
  std::vector<Clock::time_point> arrived;
  std::string partial;
  bool ended = false;
};

// Reads the runner's log until it has written `lines` lines or ended. The log
// is flushed line by line, so a line seen is a point the run has passed.
void ReadLog(int log, LogSeen& seen, size_t lines) {
  char chunk[4096];
  while (!seen.ended && seen.lines.size() < lines) {
    const ssize_t got = ::read(log, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      seen.ended = true;
      break;
    }
    const Clock::time_point now = Clock::now();
    for (ssize_t i = 0; i < got; ++i) {
      if (chunk[i] != '\n') {
        seen.partial += chunk[i];
        continue;
      }
      seen.lines.push_back(std::move(seen.partial));
      seen.arrived.push_back(now);
      seen.partial.clear();
    }
  }
}

int WaitFor(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

// A complete run: its exit status, its log lines, and how long after the
// previous line (the first: after the start) each line came, with one more
// entry for the time from the last line to the run's end.
struct CompleteRun {
  int status = 0;
  std::vector<std::string> lines;
  std::vector<Clock::duration> gaps;
};

CompleteRun RunToTheEnd(const fs::path& game, const fs::path& play) {
  const Clock::time_point started = Clock::now();
  const Runner runner = StartRunner(game, play);
  CompleteRun run;
  if (runner.pid < 0) {
    ADD_FAILURE() << "dovetail-run could not be started";
    run.status = -1;
    return run;
  }
  LogSeen seen;
  ReadLog(runner.log, seen, SIZE_MAX);
  ::close(runner.log);
  run.status = WaitFor(runner.pid);
  const Clock::time_point ended = Clock::now();
  Clock::time_point previous = started;
  for (const Clock::time_point arrived : seen.arrived) {
    run.gaps.push_back(arrived - previous);
    previous = arrived;
  }
  run.gaps.push_back(ended - previous);
  run.lines = std::move(seen.lines);
  return run;
}

// Where a kill landed: whether it ended the run (not one that had already
// ended by itself), and how many log lines the run had written by then.
struct Kill {
  bool landed = false;
  size_t linesWritten = 0;
};

// Starts a run, lets it write `afterLines` lines of its log, waits `delay`
// more and kills it.
Kill KillRun(const fs::path& game, const fs::path& play, size_t afterLines, Clock::duration delay) {
  const Runner runner = StartRunner(game, play);
  if (runner.pid < 0) {
    ADD_FAILURE() << "dovetail-run could not be started";
    return {};
  }
  LogSeen seen;
  ReadLog(runner.log, seen, afterLines);
  std::this_thread::sleep_for(delay);
  ::kill(runner.pid, SIGKILL);
  const int status = WaitFor(runner.pid);
  ReadLog(runner.log, seen, SIZE_MAX);
  ::close(runner.log);
  return {WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, seen.lines.size()};
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

// The program killed at moments spread over every stretch of its run (start,
// story, save, quit), each stretch found from the run's own log: a save that
// loads is always there (the save or its backup), and the next complete run
// leaves the folder at rest. Only kills that landed inside a run count, and
// kills go on until enough have, so the test means the same on a fast or a
// slow machine.
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
  ASSERT_TRUE(ReplaceFileAtomically(play, "until title\n" + testing::TitleClick(kNewStoryEntry) +
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

  // Complete runs make the first save and time the stretches between the
  // log's lines; the shortest of three for each stretch, since the first run
  // starts cold and a busy machine slows any one of them.
  std::vector<std::string> lines;
  std::vector<Clock::duration> gaps;
  for (int i = 0; i < 3; ++i) {
    CompleteRun run = RunToTheEnd(folder.root, play);
    ASSERT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0);
    ASSERT_TRUE(saveThere());
    if (i == 0) {
      lines = std::move(run.lines);
      gaps = std::move(run.gaps);
      continue;
    }
    ASSERT_EQ(run.lines, lines) << "the runs of one play file differ";
    for (size_t k = 0; k < gaps.size(); ++k)
      gaps[k] = std::min(gaps[k], run.gaps[k]);
  }
  // The save is written before its message box is logged.
  const auto savedBox = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.find(R"("event":"msgbox")") != std::string::npos;
  });
  ASSERT_NE(savedBox, lines.end()) << "the play file's save shows no message box";
  const size_t linesBeforeTheBox = static_cast<size_t>(savedBox - lines.begin());

  // Round after round, one kill in each stretch (after k lines, a moment
  // drawn within the stretch's length), until enough have landed.
  constexpr int kKills = 40;
  constexpr int kMostAttempts = 20 * kKills;
  std::mt19937 random(20261210);
  int landed = 0;
  int landedBeforeTheBox = 0;
  int landedAfterTheBox = 0;
  int attempts = 0;
  while (landed < kKills && attempts < kMostAttempts) {
    for (size_t k = 0; k < gaps.size() && landed < kKills; ++k, ++attempts) {
      std::uniform_int_distribution<int64_t> moment(
          0, std::chrono::duration_cast<std::chrono::microseconds>(gaps[k]).count());
      const Kill kill = KillRun(folder.root, play, k, std::chrono::microseconds(moment(random)));
      EXPECT_TRUE(saveThere()) << "after a kill after " << kill.linesWritten << " log lines";
      if (!kill.landed) continue;
      ++landed;
      ++(kill.linesWritten <= linesBeforeTheBox ? landedBeforeTheBox : landedAfterTheBox);
    }
  }
  EXPECT_EQ(landed, kKills) << "only " << landed << " of " << attempts
                            << " kills landed inside a run";
  // Kills landed both while the run starts and saves, and once it has saved.
  EXPECT_GT(landedBeforeTheBox, 0);
  EXPECT_GT(landedAfterTheBox, 0);

  const CompleteRun last = RunToTheEnd(folder.root, play);
  ASSERT_TRUE(WIFEXITED(last.status) && WEXITSTATUS(last.status) == 0);
  ExpectAtRest(folder.data);
  EXPECT_TRUE(SaveFileLoads(files, "40.dat"));
}

}  // namespace
}  // namespace dovetail
