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

// What the game would stop on along a route is refused by the compiler as
// by the checker, and nothing is written.
TEST(DataTool, CompileRefusesWhatARouteMeetsAndWritesNothing) {
  struct Fault {
    const char* name;
    std::string script;
    const char* words;
  };
  std::string stages = "1000,,,,,,,0,はじめ,,,,\r\n";
  for (int i = 0; i < 14; ++i)
    stages += "1000,g1,,,,,,,,,,,\r\n";
  stages += "1000,g3,,,,,,,,,,,\r\n1999,,,,,,,,,,,,\r\n";
  const Fault faults[] = {
      {"a counter amount that is no number",
       "1000,,,,,,,0,はじめ,,,,\r\n1000,p2,,,,,,,set,abc,,,\r\n1999,,,,,,,,,,,,\r\n", "the amount"},
      {"a café stage past the last", stages, "16"},
      {"a face change for a character nobody placed",
       "1000,,,,21,2,,3,はじめ,,,,\r\n1999,,,,,,,,,,,,\r\n", "not on the stage"},
      {"a page the story comes back to for ever",
       "1000,,,,,,,0,はじめ,,,,\r\n1000,g0,1000,,,,,,,,,,\r\n1999,,,,,,,,,,,,\r\n", "(a loop)"},
  };
  for (const Fault& fault : faults) {
    testing::TempFolder temp("cli-route");
    testing::WriteBytes(temp.path / "script.csv", fault.script);
    testing::WriteBytes(temp.path / "choices.csv", "");
    const ToolRun run = Tool({"compile", (temp.path / "script.csv").string(),
                              (temp.path / "choices.csv").string(), (temp.path / "data").string()});
    EXPECT_EQ(run.status, kToolFindings) << fault.name << ": " << run.out << run.err;
    EXPECT_NE(run.out.find("error: script.csv"), std::string::npos)
        << fault.name << ": " << run.out;
    EXPECT_NE(run.out.find(fault.words), std::string::npos) << fault.name << ": " << run.out;
    EXPECT_FALSE(fs::exists(temp.path / "data" / "51.dat")) << fault.name;
  }
}

TEST(DataTool, CheckFailsOnAFolderThatIsNotThere) {
  const ToolRun run = Tool({"check", "/nonexistent/dovetail-data"});
  EXPECT_EQ(run.status, kToolFindings);
  EXPECT_NE(run.out.find("the data folder does not exist"), std::string::npos);
}

}  // namespace
}  // namespace dovetail::tools
