#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/TempFolder.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;

struct Ran {
  int code = -1;
  std::string output;  // standard output and error
};

// Runs dovetail-run with the arguments (a shell command line's rest).
Ran RunRunner(const std::string& arguments) {
  const std::string command =
      "'" + (fs::path(DOVETAIL_BUILD_DIR) / "dovetail-run").string() + "' " + arguments + " 2>&1";
  Ran ran;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return ran;
  char buffer[4096];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
    ran.output.append(buffer, n);
  const int status = ::pclose(pipe);
  ran.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return ran;
}

class RunnerProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(fs::path(DOVETAIL_BUILD_DIR) / "dovetail-run"))
      GTEST_SKIP() << "dovetail-run is not built";
  }
};

TEST_F(RunnerProgramTest, AMissingSnapshotFolderIsRefusedAtOnce) {
  const Ran ran = RunRunner("--game '" + std::string(DOVETAIL_BUILD_DIR) +
                            "' --play /dev/null --snap-dir /no/such/folder");
  EXPECT_EQ(ran.code, 2);
  EXPECT_NE(ran.output.find("--snap-dir /no/such/folder: no such folder"), std::string::npos)
      << ran.output;
}

// Every extra-story route --routes prints plays as it stands on a fresh copy
// of the demo, where the extra story is still locked.
TEST_F(RunnerProgramTest, ExtraStoryRoutesArePrintedInAFormThatPlaysOnAFreshFolder) {
  const Ran routes = RunRunner("--game '" + std::string(DOVETAIL_BUILD_DIR) + "' --routes");
  ASSERT_EQ(routes.code, 0) << routes.output;
  std::vector<std::string> extra;
  std::istringstream lines(routes.output);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_FALSE(line.starts_with("extra:")) << line;
    if (line.find("extra:") != std::string::npos) extra.push_back(line);
  }
  ASSERT_FALSE(extra.empty());
  for (const std::string& route : extra) {
    testing::TempFolder game("extra-route");
    fs::copy(fs::path(DOVETAIL_BUILD_DIR) / "data", game.path / "data",
             fs::copy_options::recursive);
    const Ran played = RunRunner("--game '" + game.path.string() + "' --log /dev/null --auto " +
                                 route + " --cafe perfect");
    EXPECT_EQ(played.code, 0) << route << ": " << played.output;
  }
}

}  // namespace
}  // namespace dovetail
