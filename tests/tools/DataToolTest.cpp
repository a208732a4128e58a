#include <gtest/gtest.h>

#include <sstream>

#include "content/DataTool.h"
#include "support/Findings.h"
#include "support/TempFolder.h"

namespace dovetail::tools {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

ToolRun Tool(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunDataTool(args, out, err);
  return {status, out.str(), err.str()};
}

const std::string kScript =
    "num,command,jump,bg,chara,face,spare,speaker,text,param1,param2,subst,note\r\n"
    "1000,,,,,,,0,はじめ,,,,\r\n"
    "1010,s,,,,,,,1,,,,\r\n"
    "1020,g0,1030,,,,,,,,,,\r\n"
    "1030,,,,,,,,,,,,\r\n";
const std::string kChoices = "1010,すすむ,1020\r\n";

TEST(DataTool, UsageErrorsExitWithTwo) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                               {"check"},
                                               {"check", "a", "b"},
                                               {"compile", "a", "b"},
                                               {"decompile", "a"},
                                               {"frobnicate", "x"}}) {
    const ToolRun run = Tool(args);
    EXPECT_EQ(run.status, kToolUsage) << args.size();
    EXPECT_NE(run.err.find("usage: dovetail-data"), std::string::npos);
  }
  EXPECT_EQ(Tool({"--help"}).status, kToolOk);
}

TEST(DataTool, CompileThenDecompileGivesTheSourcesBack) {
  testing::TempFolder temp("cli");
  testing::WriteBytes(temp.path / "script.csv", kScript);
  testing::WriteBytes(temp.path / "choices.csv", kChoices);
  const fs::path data = temp.path / "data";
  const ToolRun compiled = Tool({"compile", (temp.path / "script.csv").string(),
                                 (temp.path / "choices.csv").string(), data.string()});
  EXPECT_EQ(compiled.status, kToolOk) << compiled.out << compiled.err;
  EXPECT_TRUE(fs::exists(data / "51.dat"));

  const fs::path readable = temp.path / "readable";
  const ToolRun decompiled = Tool({"decompile", data.string(), readable.string()});
  EXPECT_EQ(decompiled.status, kToolOk) << decompiled.out << decompiled.err;
  EXPECT_EQ(testing::ReadBytes(readable / "script.csv"), kScript);
  EXPECT_EQ(testing::ReadBytes(readable / "choices.csv"), kChoices);
}

TEST(DataTool, ACompileErrorPrintsOneLineAndWritesNothing) {
  testing::TempFolder temp("cli-error");
  std::string script = kScript;
  script.replace(script.find("g0,1030"), 7, "g0,1035");
  testing::WriteBytes(temp.path / "script.csv", script);
  testing::WriteBytes(temp.path / "choices.csv", kChoices);
  const ToolRun run = Tool({"compile", (temp.path / "script.csv").string(),
                            (temp.path / "choices.csv").string(), (temp.path / "data").string()});
  EXPECT_EQ(run.status, kToolFindings);
  EXPECT_EQ(run.out, "error: script.csv, row 4, label 1020: the jump target 1035 is not a label\n");
  EXPECT_FALSE(fs::exists(temp.path / "data" / "51.dat"));
}

TEST(DataTool, CheckFailsOnAFolderThatIsNotThere) {
  const ToolRun run = Tool({"check", "/nonexistent/dovetail-data"});
  EXPECT_EQ(run.status, kToolFindings);
  EXPECT_NE(run.out.find("the data folder does not exist"), std::string::npos);
}

}  // namespace
}  // namespace dovetail::tools
