#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "backends/audio/silent/NullAudioOutput.h"
#include "backends/hosts/headless/HeadlessHost.h"
#include "base/Cp932.h"
#include "graphics/TextRenderer.h"
#include "screen/PictureRegions.h"
#include "shell/Game.h"
#include "support/RecordedEvents.h"
#include "support/TempFolder.h"
#include "support/TestDataFolder.h"
#include "support/WholeGame.h"

namespace dovetail {
namespace {

using testing::ReadBytes;
using testing::TestDataFolder;
using testing::WriteBytes;

constexpr Pixel kYellow = Rgb(255, 255, 0);

// A game at its title over a data folder whose ranking is `table` (UTF-8
// rows), with the current result `score`.
class RankingScreenTest : public testing::WholeGame {
 protected:
  void Start(const std::string& table, int32_t score) {
    WriteBytes(folder.data / "30.dat", *Utf8ToCp932(table));
    MakeGame();
    game->Start();
    game->story.Ranking[0] = {"新人　花子", score, "A"};
  }

  RankingEvent LastRanking() const { return events.All<RankingEvent>().back(); }

  // How many pixels of `color` the screen has in row `rank`'s band.
  int CountInRow(int rank, Pixel color) const {
    const Surface& screen = game->form.PicMainBak.Image();
    int count = 0;
    for (int32_t y = RankingRowY(rank); y < RankingRowY(rank) + 20; ++y) {
      for (int32_t x = 150; x < 520; ++x)
        count += screen.At(x, y) == color ? 1 : 0;
    }
    return count;
  }
};

const char* const kTiedTable =
    "名人,A,9000\r\n達人,B,8000\r\n常連,B,8000\r\n見習い,C,5000\r\n,,0\r\n";

TEST_F(RankingScreenTest, ATieTakesTheRankAboveAndItsRowIsYellow) {
  Start(kTiedTable, 8000);
  game->ranking.DispRanking(1);

  const RankingEvent shown = LastRanking();
  EXPECT_TRUE(shown.shown);
  EXPECT_EQ(shown.pos, 2);
  ASSERT_EQ(shown.rows.size(), 5u);
  EXPECT_EQ(shown.rows[1].name, "新人　花子");
  EXPECT_EQ(shown.rows[2].name, "達人");
  EXPECT_EQ(shown.rows[3].name, "常連");
  EXPECT_EQ(shown.rows[4].name, "見習い");
  EXPECT_EQ(*Cp932ToUtf8(ReadBytes(folder.data / "30.dat")),
            "名人,A,9000\r\n新人　花子,A,8000\r\n達人,B,8000\r\n常連,B,8000\r\n見習い,C,5000\r\n");

  EXPECT_GT(CountInRow(2, kYellow), 20);
  EXPECT_EQ(CountInRow(2, kWhite), 0);
  for (int rank : {1, 3, 4, 5}) {
    EXPECT_GT(CountInRow(rank, kWhite), 20) << "rank " << rank;
    EXPECT_EQ(CountInRow(rank, kYellow), 0) << "rank " << rank;
  }
  EXPECT_TRUE(game->ranking.RankingShown);
  EXPECT_TRUE(game->form.PicMainBak.Visible());
  EXPECT_FALSE(game->form.PicMain.Visible());
  EXPECT_EQ(game->Waiting(), WaitState::Ranking);
}

TEST_F(RankingScreenTest, FromTheTitleNothingIsHighlightedOrWritten) {
  Start(kTiedTable, 9999);
  const std::string before = ReadBytes(folder.data / "30.dat");
  game->title.Tmenu_MouseDown(4);

  const RankingEvent shown = LastRanking();
  EXPECT_EQ(shown.mode, 0);
  EXPECT_EQ(shown.pos, 0);
  EXPECT_EQ(shown.rows.size(), 4u);  // the empty rank 5 is not drawn
  for (int rank = 1; rank <= 5; ++rank)
    EXPECT_EQ(CountInRow(rank, kYellow), 0);
  EXPECT_EQ(CountInRow(5, kWhite), 0);
  EXPECT_EQ(ReadBytes(folder.data / "30.dat"), before);
  EXPECT_EQ(game->Waiting(), WaitState::Ranking);
}

TEST_F(RankingScreenTest, AResultBeatenByTheWholeTableGoesBackToTheTitle) {
  Start("a,A,9000\r\nb,A,8000\r\nc,B,7000\r\nd,B,6000\r\ne,C,5000\r\n", 4999);
  const std::string before = ReadBytes(folder.data / "30.dat");
  game->form.PicMain.SetVisible(true);
  game->ranking.DispRanking(1);

  EXPECT_FALSE(LastRanking().shown);
  EXPECT_FALSE(game->ranking.RankingShown);
  EXPECT_FALSE(game->form.PicMainBak.Visible());
  EXPECT_FALSE(game->form.PicMain.Visible());
  EXPECT_EQ(game->Waiting(), WaitState::Title);
  EXPECT_EQ(ReadBytes(folder.data / "30.dat"), before);
}

TEST_F(RankingScreenTest, AZeroResultTakesAnEmptyRankButIsNotDrawn) {
  Start(kTiedTable, 0);
  game->ranking.DispRanking(1);
  const RankingEvent shown = LastRanking();
  EXPECT_EQ(shown.pos, 5);
  EXPECT_EQ(shown.rows.size(), 4u);
  EXPECT_EQ(CountInRow(5, kYellow), 0);
  EXPECT_EQ(game->story.Ranking[5].Name, "新人　花子");
}

TEST_F(RankingScreenTest, TheExitButtonHoversAndReturnsToTheTitle) {
  Start(kTiedTable, 0);
  game->ranking.DispRanking(0);
  PictureBox& exit = game->ranking.Ranking_exit;
  const Rect normal = kRankingExit;
  const Rect hover = kRankingExitHover;
  ASSERT_TRUE(exit.Visible());
  EXPECT_EQ(exit.Left(), normal.x);
  EXPECT_EQ(exit.Top(), normal.y);

  Surface expected(normal.w, normal.h);
  BitBlt(expected, 0, 0, hover.w, hover.h, game->form.GItems.Image(), hover.x, hover.y);
  game->ranking.Ranking_exit_MouseMove();
  EXPECT_EQ(exit.Image(), expected);
  BitBlt(expected, 0, 0, normal.w, normal.h, game->form.PicMainBak.Image(), normal.x, normal.y);
  game->ranking.PicMainBak_MouseMove();
  EXPECT_EQ(exit.Image(), expected);

  host.PostClick(normal.x + 10, normal.y + 10);
  host.DoEvents();
  EXPECT_FALSE(exit.Visible());
  EXPECT_FALSE(game->ranking.RankingShown);
  EXPECT_EQ(game->Waiting(), WaitState::Title);
}

TEST_F(RankingScreenTest, ATableThatCannotBeWrittenIsReportedOnceAndStillShown) {
  Start(kTiedTable, 8000);
  std::filesystem::remove(folder.data / "30.dat");
  std::filesystem::create_directory(folder.data / "30.dat");
  game->ranking.DispRanking(1);
  game->story.Ranking[0].Score = 9500;
  game->ranking.DispRanking(1);

  ASSERT_EQ(host.MessageBoxes().size(), 1u);
  EXPECT_NE(host.MessageBoxes()[0].request.text.find("30.dat"), std::string::npos);
  EXPECT_EQ(LastRanking().pos, 1);
  EXPECT_TRUE(game->ranking.RankingShown);
}

}  // namespace
}  // namespace dovetail
