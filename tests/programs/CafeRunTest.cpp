#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Cp932.h"
#include "base/Files.h"
#include "graphics/TextRenderer.h"
#include "programs/runner/HeadlessRunner.h"
#include "support/LogLine.h"
#include "support/PlayedRun.h"
#include "support/RunnerGame.h"
#include "support/TestDataFolder.h"
#include "support/TitleClick.h"

namespace dovetail {
namespace {

// A whole café week: "g3" (stage 2), then "g1" "g3" thirteen times. The last
// pair asks for stage 15, which has no entry in the stage table; then "q".
std::string WeekScript() {
  std::string rows = "1000,g3,,,,,,,,,,,\r\n";
  for (int i = 0; i < 13; ++i)
    rows += "1000,g1,,,,,,,,,,,\r\n1000,g3,,,,,,,,,,,\r\n";
  return rows + "1001,q,,,,,,,,,,,\r\n";
}

class CafeRunTest : public testing::RunnerGame {
 protected:
  CafeRunTest() { folder.SetScript(WeekScript()); }

  int Play(CafePolicy policy,
           const std::string& playText = "until title\n" + testing::TitleClick(kNewStoryEntry),
           uint32_t seed = 1) {
    RunnerOptions options = Options();
    options.seed = seed;
    options.cafe = policy;
    options.maxMs = 4 * 3'600'000;
    return PlayWith(std::move(options), playText);
  }

  std::vector<std::string> RankLines() const {
    auto bytes = ReadWholeFile(folder.data / "rank.txt");
    if (!bytes.ok()) return {};
    std::vector<std::string> result;
    const std::string content = *Cp932ToUtf8(*bytes);
    for (size_t start = 0, end; (end = content.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
      result.push_back(content.substr(start, end - start));
    }
    return result;
  }

  int ClearMarkers() const {
    const std::string settings = *ReadWholeFile(folder.data / "20.dat");
    int count = 0;
    for (size_t at = 0; (at = settings.find("0200-0000", at)) != std::string::npos; ++at)
      ++count;
    return count;
  }
};

TEST_F(CafeRunTest, APerfectWeekGetsTheTopGradeEveryDayAndAnAAtTheEnd) {
  ASSERT_EQ(Play(CafePolicy::Perfect), 0) << failure;

  const auto stages = Events("stage");
  ASSERT_EQ(stages.size(), 26u);  // stages 2..14, each started and ended
  EXPECT_EQ(stages.front().Num("stage"), 2);
  EXPECT_EQ(stages.back().Num("stage"), 14);
  EXPECT_TRUE(Events("giveup").empty());
  const auto serves = Events("serve");
  ASSERT_FALSE(serves.empty());
  for (const testing::LogLine& serve : serves)
    EXPECT_TRUE(serve.Bool("correct")) << serve;

  // Days 2..7 are evaluated; each log line matches its line of rank.txt.
  const auto days = Events("day");
  const auto ranks = RankLines();
  ASSERT_EQ(days.size(), 6u);
  ASSERT_EQ(ranks.size(), 6u);
  for (size_t i = 0; i < days.size(); ++i) {
    EXPECT_EQ(days[i].Num("grade"), 4) << days[i];
    const std::string scores = " s1:" + std::to_string(days[i].Num("s1")) +
                               " s2:" + std::to_string(days[i].Num("s2")) +
                               " s3:" + std::to_string(days[i].Num("s3")) + " s4:4";
    EXPECT_TRUE(ranks[i].ends_with(scores)) << ranks[i] << " vs " << days[i];
  }

  const auto final = Events("final");
  ASSERT_EQ(final.size(), 1u);
  EXPECT_EQ(final[0].Str("grade"), "A") << final[0];
  EXPECT_EQ(final[0].Num("score"), final[0].Num("total") + final[0].Num("bonus"));
  EXPECT_EQ(ClearMarkers(), 1);

  // Stage 15 has no entry: a content error naming the label, and the story
  // goes on to its end.
  bool reported = false;
  for (const testing::LogLine& box : Events("msgbox")) {
    const std::string& told = box.Str("text");
    reported |=
        told.find("label 1000") != std::string::npos && told.find("15") != std::string::npos;
  }
  EXPECT_TRUE(reported);
}

TEST_F(CafeRunTest, APerfectWeekThenTheEndingTakesTheTopRankAndTheExitGoesToTheTitle) {
  std::string rows = "1000,g3,,,,,,,,,,,\r\n";
  for (int i = 0; i < 12; ++i)
    rows += "1000,g1,,,,,,,,,,,\r\n1000,g3,,,,,,,,,,,\r\n";
  folder.SetScript(rows + "1001,e,,,,,,,,,,,\r\n1002,,,,,,,,,,,,\r\n");
  ASSERT_EQ(Play(CafePolicy::Perfect, "until title\n" + testing::TitleClick(kNewStoryEntry) +
                                          "until ranking\nsnap ranking\nclick 300 410\n"
                                          "until title\n"),
            0)
      << failure;

  const auto stages = Events("stage");
  ASSERT_EQ(stages.size(), 26u);
  EXPECT_EQ(stages.back().Num("stage"), 14);
  const auto final = Events("final");
  ASSERT_EQ(final.size(), 1u);
  const int64_t score = final[0].Num("score");
  ASSERT_EQ(Events("ending").size(), 1u);
  EXPECT_FALSE(Events("ending")[0].Bool("staffroll"));

  // The week's score beats the folder's 9000 and 8000: rank 1, yellow.
  const auto ranking = Events("ranking");
  ASSERT_EQ(ranking.size(), 1u);
  EXPECT_EQ(ranking[0].Num("mode"), 1);
  EXPECT_EQ(ranking[0].Num("pos"), 1);
  EXPECT_EQ(ranking[0].Items("scores"),
            (std::vector<std::string>{std::to_string(score), "9000", "8000"}))
      << ranking[0];
  const std::string table = *Cp932ToUtf8(*ReadWholeFile(folder.data / "30.dat"));
  EXPECT_NE(table.find(",A," + std::to_string(score) + "\r\n名人,A,9000\r\n達人,B,8000\r\n"),
            std::string::npos)
      << table;
  EXPECT_TRUE(std::filesystem::exists(folder.root / "ranking.png"));
  // The exit button's click brought the title back: the run ended there.
  EXPECT_NE(lines.back().find("the play file is done"), std::string::npos) << lines.back();
}

TEST_F(CafeRunTest, AnIdleWeekOnlyHasGiveUpsAndEndsWithAnE) {
  ASSERT_EQ(Play(CafePolicy::Idle), 0) << failure;
  EXPECT_TRUE(Events("serve").empty());
  EXPECT_FALSE(Events("giveup").empty());
  const auto final = Events("final");
  ASSERT_EQ(final.size(), 1u);
  EXPECT_EQ(final[0].Str("grade"), "E") << final[0];
  EXPECT_EQ(ClearMarkers(), 1);
}

TEST_F(CafeRunTest, ThePlayFileServesByMouseWhenItHasCafeCommands) {
  folder.SetScript("1000,g3,,,,,,,,,,,\r\n1001,q,,,,,,,,,,,\r\n");
  // The policy stays out of the way of a play file that plays the café.
  ASSERT_EQ(Play(CafePolicy::Perfect, "until title\n" + testing::TitleClick(kNewStoryEntry) +
                                          "until customer\nserve\nserve-wrong\n"
                                          "until customer\nsnap waiting\n"),
            0)
      << failure;
  const auto serves = Events("serve");
  ASSERT_EQ(serves.size(), 2u);
  EXPECT_TRUE(serves[0].Bool("correct"));
  EXPECT_FALSE(serves[1].Bool("correct"));
  // The run stops once the play file is done and a customer waits.
  EXPECT_EQ(Events("stage").size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(folder.root / "waiting.png"));
}

TEST_F(CafeRunTest, TheSameSeedBringsTheSameCustomersAndOrders) {
  folder.SetScript("1000,g3,,,,,,,,,,,\r\n1001,q,,,,,,,,,,,\r\n");
  auto customers = [&](uint32_t seed) {
    EXPECT_EQ(
        Play(CafePolicy::Perfect, "until title\n" + testing::TitleClick(kNewStoryEntry), seed), 0)
        << failure;
    return Events("customer");
  };
  const auto first = customers(1);
  EXPECT_GT(first.size(), 10u);
  EXPECT_EQ(customers(1), first);
  EXPECT_NE(customers(2), first);
}

}  // namespace
}  // namespace dovetail
