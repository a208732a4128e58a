#include <gtest/gtest.h>

#include <filesystem>

#include "base/Cp932.h"
#include "dialogs/AboutDialog.h"
#include "support/TempFolder.h"
#include "support/WholeGame.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;

constexpr const char* kGreeting =
    "山田　花子さん、ダウンロードありがとうございます.\r\n"
    "－－－－－－－－－－－－－－－－－－－\r\n";
constexpr const char* kOldSystem = "Windows95,NTでは正常な画面表示ができないかも.\r\n";
constexpr const char* kScreen =
    "画面の最大表示色数が足りません.\r\n24bit色以上の設定にして下さい.\r\n";
constexpr const char* kMemory =
    "ﾒﾓﾘの利用率が90%を越えています.\r\n他のｱﾌﾟﾘｹｰｼｮﾝを終了させて下さい.\r\n";

std::array<std::string, 10> HeroNamed(const char* surname, const char* givenName) {
  std::array<std::string, 10> names;
  names[1] = surname;
  names[2] = givenName;
  return names;
}

SysReport Machine(int16_t screenBits, int16_t memoryLoad, bool oldWindows = false) {
  SysReport report;
  report.ScreenBits = screenBits;
  report.MemoryLoad = memoryLoad;
  report.OldWindows = oldWindows;
  return report;
}

TEST(AboutMessage, GreetsOnlyAPlayerWhoChangedBothNamesAndWarnsAtTheLimits) {
  const struct {
    std::array<std::string, 10> names;
    SysReport machine;
    std::string expected;
  } cases[] = {
      {HeroNamed("桐原", "ほのか"), Machine(32, 50), ""},
      {HeroNamed("山田", "ほのか"), Machine(32, 50), ""},
      {HeroNamed("桐原", "花子"), Machine(24, 50), ""},
      {HeroNamed("山田", "花子"), Machine(32, 50), kGreeting},
      {HeroNamed("桐原", "ほのか"), Machine(16, 50), kScreen},
      {HeroNamed("桐原", "ほのか"), Machine(32, 90), ""},
      {HeroNamed("桐原", "ほのか"), Machine(32, 91), kMemory},
      {HeroNamed("桐原", "ほのか"), Machine(24, 50, true), kOldSystem},
      {HeroNamed("山田", "花子"), Machine(8, 100, true),
       std::string(kGreeting) + kOldSystem + kScreen + kMemory},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AboutMessage(c.names, c.machine), c.expected)
        << c.names[1] << c.names[2] << " " << c.machine.ScreenBits << " bits, "
        << c.machine.MemoryLoad << " %";
  }
}

class AboutDialogTest : public testing::WholeGame {
 protected:
  void SetUp() override { Start(); }
  Dialog& About() { return game->about.Model(); }
  std::string Syslog() { return Cp932ToUtf8(ReadBytes(folder.data / "syslog.dat")).value(); }
};

TEST_F(AboutDialogTest, OpensWithItsTextsAndWritesTheReport) {
  Menu("vers");
  // The local time moves with the virtual clock; the report gives the moment
  // the box opened, a few virtual milliseconds ago.
  const LocalDateTime opened = host.LocalNow();
  ASSERT_TRUE(game->about.IsOpen());
  EXPECT_FALSE(game->form.window.Enabled());
  EXPECT_EQ(About().caption, "ﾊﾞｰｼﾞｮﾝ情報");
  EXPECT_EQ(About().Find("Label5")->text, "Dovetail の日常");
  EXPECT_EQ(About().Find("Label6")->text, "Ver. 1.00");
  EXPECT_EQ(About().Find("Label1")->text,
            "MMXPentium200MHz以上のCPUと800×600dot×24bit色\r\n"
            "以上(TrueColor)のｸﾞﾗﾌｨｯｸ表示が可能な環境が必要です。");
  const std::string& notice = About().Find("Label2")->text;
  EXPECT_TRUE(notice.ends_with("\r\nご意見ご要望等ありましたら、ﾒｰﾙでお知らせください。"));
  EXPECT_EQ(About().Find("cmdOK")->text, "ＯＫ");
  // The default hero on a good machine: nothing to say.
  EXPECT_EQ(About().Find("Text1")->text, "");
  EXPECT_FALSE(About().Find("Text1")->enabled);

  const std::string report = Syslog();
  EXPECT_TRUE(report.starts_with(opened.date + " " + opened.time +
                                 "\r\nCPU = x86_64/686/6/21767/(Pentium)×4\r\n"))
      << report;
  EXPECT_TRUE(report.ends_with("ﾒﾓﾘ使用量      = 50%\r\n\r\n")) << report;
}

TEST_F(AboutDialogTest, WarnsAboutTheMachineTheHostReportsAndGreetsARenamedHero) {
  host.machine.screen.bitsPerPixel = 16;
  host.machine.memory.loadPercent = 95;
  game->story.Names[1] = "山田";
  game->story.Names[2] = "花子";
  Menu("vers");
  EXPECT_EQ(About().Find("Text1")->text, std::string(kGreeting) + kScreen + kMemory);
  EXPECT_TRUE(About().Find("Text1")->enabled);
}

TEST_F(AboutDialogTest, OkTheCloseBoxAndLosingTheFocusCloseIt) {
  // The last two rounds press Enter and Escape.
  const auto kinds = {InputEvent::Kind::Press, InputEvent::Kind::DialogClose,
                      InputEvent::Kind::DialogLostFocus, InputEvent::Kind::DialogKey,
                      InputEvent::Kind::DialogKey};
  int keys = 0;
  for (const auto kind : kinds) {
    Menu("vers");
    ASSERT_TRUE(game->about.IsOpen());
    if (kind == InputEvent::Kind::DialogKey) {
      host.PostKey(keys++ == 0 ? kKeyReturn : kKeyEscape);
    } else {
      host.PostDialogInput(kind, kind == InputEvent::Kind::Press ? "cmdOK" : "");
    }
    Run();
    EXPECT_FALSE(game->about.IsOpen());
    EXPECT_TRUE(game->form.window.Enabled());
    EXPECT_TRUE(host.OpenDialogs().empty());
  }
  EXPECT_EQ(DialogEvents().size(), 10u);
  EXPECT_EQ(DialogEvents().back(), "close frmAbout");
}

TEST_F(AboutDialogTest, TheLinksOpenTheirAddresses) {
  Menu("vers");
  Press("Label3");
  Press("Label4");
  EXPECT_EQ(host.OpenedLinks(), (std::vector<std::string>{kContactLink, kHomePageLink}));
  EXPECT_TRUE(game->about.IsOpen());
}

// A report that cannot be written (here a folder stands where the file goes,
// which stops the superuser too, as a read-only data folder stops others).
TEST_F(AboutDialogTest, AReportThatCannotBeWrittenIsToldAndTheBoxStillOpens) {
  fs::create_directory(folder.data / "syslog.dat");
  Menu("vers");
  ASSERT_EQ(host.MessageBoxes().size(), 1u);
  EXPECT_NE(host.MessageBoxes()[0].request.text.find("syslog.dat"), std::string::npos);
  EXPECT_TRUE(game->about.IsOpen());
  EXPECT_TRUE(fs::is_directory(folder.data / "syslog.dat"));
}

}  // namespace
}  // namespace dovetail
