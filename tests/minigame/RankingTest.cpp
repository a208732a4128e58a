#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/Cp932.h"
#include "minigame/RankingFile.h"
#include "minigame/RankingRules.h"
#include "storage/FolderPlayerFiles.h"
#include "support/TempFolder.h"

namespace dovetail {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

RankingTable TableOf(std::initializer_list<int32_t> scores) {
  RankingTable table{};
  int rank = 1;
  for (int32_t score : scores) {
    table[rank] = {"Rank" + std::to_string(rank), score, score > 0 ? "B" : ""};
    ++rank;
  }
  return table;
}

TEST(RankingRules, PlacesTheResultAboveTiesAndBelowBetterScores) {
  struct Case {
    std::initializer_list<int32_t> table;
    int32_t score;
    int16_t place;
  };
  const Case cases[] = {
      {{9000, 8000, 8000, 5000, 0}, 8000, 2},
      {{9000, 8000, 8000, 5000, 0}, 9500, 1},
      {{9000, 8000, 8000, 5000, 0}, 4999, 5},
      {{9000, 8000, 7000, 6000, 5000}, 4000, 0},  // beaten by nobody
      {{9000, 8000, 7000, 6000, 0}, 0, 5},        // 0 reaches an empty rank
      {{0, 0, 0, 0, 0}, -1, 0},                   // negative never placed
      {{9000, 8000, 7000, 6000, -50}, -50, 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RankingPlace(TableOf(c.table), c.score), c.place) << "score " << c.score;
  }
}

TEST(RankingRules, InsertingMovesTheLowerRanksDownAndDropsTheLast) {
  RankingTable table = TableOf({9000, 8000, 8000, 5000, 0});
  table[0] = {"Hero", 8000, "A"};
  InsertResult(table, RankingPlace(table, table[0].Score));
  EXPECT_EQ(table[1].Score, 9000);
  EXPECT_EQ(table[2].Name, "Hero");
  EXPECT_EQ(table[2].Grade, "A");
  EXPECT_EQ(table[3].Name, "Rank2");
  EXPECT_EQ(table[4].Name, "Rank3");
  EXPECT_EQ(table[5].Name, "Rank4");
  EXPECT_EQ(table[5].Score, 5000);
}

TEST(RankingFile, NamesWithCommasAndQuotesSurviveAWriteAndARead) {
  TempFolder folder("ranking-roundtrip");
  const auto file = folder.path / "30.dat";
  FolderPlayerFiles files = FolderPlayerFiles::OfDataFolder(folder.path);
  RankingTable table = TableOf({9000, 8000, 7000, 0, -3});
  table[1].Name = "山田　太郎";
  table[2].Name = "O'Hara, \"Kit\"";
  table[3].Name = "\"quoted";
  ASSERT_TRUE(WriteRankingFile(files, table).ok());

  RankingTable back{};
  ASSERT_TRUE(ReadRankingFile(files, back).ok());
  for (int rank = 1; rank <= 5; ++rank) {
    EXPECT_EQ(back[rank].Name, table[rank].Name);
    EXPECT_EQ(back[rank].Score, table[rank].Score);
    EXPECT_EQ(back[rank].Grade, table[rank].Grade);
  }
  // Plain names keep their bytes: code page 932, no quotes.
  const std::string bytes = ReadBytes(file);
  EXPECT_EQ(bytes.substr(0, bytes.find("\r\n")), *Utf8ToCp932("山田　太郎,B,9000"));
  EXPECT_NE(bytes.find("Rank5,,-3\r\n"), std::string::npos);
}

TEST(RankingFile, AKillDuringTheRewriteLeavesTheOldOrTheNewTable) {
  TempFolder folder("ranking-kill");
  const auto file = folder.path / "30.dat";
  FolderPlayerFiles files = FolderPlayerFiles::OfDataFolder(folder.path);
  const RankingTable older = TableOf({5, 4, 3, 2, 1});
  RankingTable newer = TableOf({9000, 8000, 7000, 6000, 5000});
  newer[1].Name = std::string(4000, 'N');  // a longer write widens the window
  ASSERT_TRUE(WriteRankingFile(files, older).ok());
  const std::string olderText = *Utf8ToCp932(FormatRankingText(older));
  const std::string newerText = *Utf8ToCp932(FormatRankingText(newer));

  for (int round = 0; round < 20; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) {
        static_cast<void>(WriteRankingFile(files, newer));
        static_cast<void>(WriteRankingFile(files, older));
      }
    }
    usleep(static_cast<useconds_t>(1000 + 700 * round));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const std::string now = ReadBytes(file);
    EXPECT_TRUE(now == olderText || now == newerText) << "round " << round;
  }
}

}  // namespace
}  // namespace dovetail
