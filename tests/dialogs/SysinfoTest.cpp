#include <gtest/gtest.h>

#include "backends/hosts/headless/HeadlessHost.h"
#include "base/Cp932.h"
#include "dialogs/Sysinfo.h"
#include "storage/FolderPlayerFiles.h"
#include "support/TempFolder.h"

namespace dovetail {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

TEST(Sysinfo, TheReportHasItsLinesLabelsAndPaddingFromTheHostsFacts) {
  HeadlessHost host;
  host.machine.now = {"2026/12/10", "9:05:07"};
  host.machine.screen = {1280, 1024, 24};
  host.machine.system = {"Debian GNU/Linux 12 (bookworm)", "6.1.0-13-amd64-and-more-text", 6, 1, 0};
  host.machine.memory = {8589934592,      4294967296,      1073741824, 536870912,
                         140737488355328, 140737000000000, 51};
  host.machine.processor = {"x86_64", 6, 151, 2, 8};
  GamePaths paths{"/games/dovetail", "/games/dovetail/data", "/games/dovetail/data"};

  const SysReport report = BuildSysReport(host, paths);
  EXPECT_EQ(report.text,
            "2026/12/10 9:05:07\r\n"
            "CPU = x86_64/686/6/-26878/(Pentium)×8\r\n"
            "CRT = 1280*1024(24bits)\r\n"
            "OS =  ver:6.1(6.1.0-13-amd64-and-m) build:0\r\n"
            "WINﾌｫﾙﾀﾞ = \r\n"
            "ｼｽﾃﾑﾌｫﾙﾀﾞ = \r\n"
            "app = /games/dovetail/\r\n"
            "data= /games/dovetail/data/\r\n"
            "総物理ﾒﾓﾘ      = 8589934592Bytes\r\n"
            "空物理ﾒﾓﾘ      = 4294967296Bytes\r\n"
            "総ﾍﾟｰｼﾞﾝｸﾞﾌｧｲﾙ = 1073741824Bytes\r\n"
            "空ﾍﾟｰｼﾞﾝｸﾞﾌｧｲﾙ = 536870912Bytes\r\n"
            "総仮想ﾕｰｻﾞｰﾒﾓﾘ = 140737488355328Bytes\r\n"
            "空仮想ﾕｰｻﾞｰﾒﾓﾘ = 140737000000000Bytes\r\n"
            "ﾒﾓﾘ使用量      = 51%\r\n");
  EXPECT_EQ(report.ScreenBits, 24);
  EXPECT_EQ(report.MemoryLoad, 51);
  EXPECT_FALSE(report.OldWindows);
}

TEST(Sysinfo, TheProcessorLineWithoutFiguresOrCount) {
  HeadlessHost host;
  host.machine.processor = {"aarch64", 0, 0, 0, 0};
  const std::string text = BuildSysReport(host, {}).text;
  // Without a count the line still ends where it should.
  EXPECT_NE(text.find("\r\nCPU = aarch64/0/0/0/(unknown)\r\nCRT = "), std::string::npos) << text;
}

TEST(Sysinfo, ProcessorTypesByFamily) {
  const std::pair<ProcessorFacts, int32_t> cases[] = {
      {{"i386", 3, 0, 0, 1}, 386},       {{"i486", 4, 0, 0, 1}, 486},
      {{"i686", 5, 2, 0, 1}, 586},       {{"x86_64", 6, 85, 7, 4}, 686},
      {{"x86_64", 25, 33, 0, 16}, 2586}, {{"aarch64", 0, 0, 0, 8}, 0},
      {{"x86_64", 0, 0, 0, 2}, 0}};
  for (const auto& [cpu, type] : cases)
    EXPECT_EQ(ProcessorType(cpu), type) << cpu.architecture << " family " << cpu.family;
}

TEST(Sysinfo, WindowsNamesAndTheOldSystems) {
  const struct {
    int32_t platform, major, minor;
    const char* name;
    std::optional<bool> old;
  } cases[] = {
      {0, 3, 11, "Windows 3.1", true},          {1, 4, 0, "Windows 95", true},
      {1, 3, 95, "Windows 95", true},           {1, 4, 10, "Windows 98", false},
      {1, 4, 80, "Windows 98", false},          {1, 4, 90, "Windows ME", false},
      {1, 5, 0, "Windows 98", false},           {2, 4, 0, "Windows NT4.0", true},
      {2, 5, 1, "Windows 2000", false},         {2, 6, 1, "", std::nullopt},
      {kOtherPlatform, 6, 1, "", std::nullopt},
  };
  for (const auto& c : cases) {
    const SystemName name = NameOfSystem(c.platform, c.major, c.minor);
    EXPECT_EQ(name.name, c.name) << c.platform << " " << c.major << "." << c.minor;
    EXPECT_EQ(name.old, c.old) << c.platform << " " << c.major << "." << c.minor;
  }
}

TEST(Sysinfo, TheFileIsCp932WithTwoLineEndsAfterTheLastLine) {
  TempFolder folder("sysinfo");
  HeadlessHost host;
  const GamePaths paths{folder.path, folder.path / "データ😀", folder.path};
  SysReport report = BuildSysReport(host, paths);
  FolderPlayerFiles files = FolderPlayerFiles::GameFiles(paths);
  ASSERT_TRUE(WriteSysLog(files, report).ok());
  const std::string bytes = ReadBytes(folder.path / "syslog.dat");
  EXPECT_TRUE(bytes.ends_with("%\r\n\r\n"));
  const std::string text = Cp932ToUtf8(bytes).value();
  // A character CP932 cannot hold becomes "?"; the rest is kept.
  EXPECT_NE(text.find("/データ?/\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("ﾒﾓﾘ使用量      = 50%\r\n\r\n"), std::string::npos);
}

}  // namespace
}  // namespace dovetail
