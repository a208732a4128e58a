#include <gtest/gtest.h>

#include <filesystem>

#include "base/Files.h"
#include "minigame/DailyResultLog.h"
#include "storage/FolderPlayerFiles.h"

namespace dovetail::cafe {
namespace {

namespace fs = std::filesystem;

TEST(DailyResultLogTest, TheLineCarriesTheDateTheScoresAndTheGrade) {
  const struct {
    DayResult day;
    const char* line;
  } cases[] = {
      {{1800, 1000, 150, 2950, 4}, "2026/12/10 9:05:03 s1:1800 s2:1000 s3:150 s4:4\r\n"},
      {{-33800, 0, -1800, -35600, 0}, "2026/12/10 9:05:03 s1:-33800 s2:0 s3:-1800 s4:0\r\n"},
  };
  for (const auto& c : cases) {
    auto line = DailyResultLine("2026/12/10 9:05:03", c.day);
    ASSERT_TRUE(line.ok());
    EXPECT_EQ(*line, c.line);
  }
}

TEST(DailyResultLogTest, ADateTheCodePageCannotHoldIsAnError) {
  auto line = DailyResultLine("2026/12/10 😀", DayResult{});
  ASSERT_FALSE(line.ok());
  EXPECT_NE(line.error().message.find("rank.txt"), std::string::npos);
}

class DailyResultFileTest : public ::testing::Test {
 protected:
  DailyResultFileTest()
      : folder(fs::temp_directory_path() /
               ("dovetail-rank-" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  ~DailyResultFileTest() override { fs::remove_all(folder); }

  fs::path folder;
};

TEST_F(DailyResultFileTest, LinesAreAppendedToANewOrExistingFile) {
  const fs::path path = folder / "rank.txt";
  FolderPlayerFiles files = FolderPlayerFiles::OfDataFolder(folder);
  ASSERT_TRUE(AppendDailyResult(files, "one\r\n").ok());
  ASSERT_TRUE(AppendDailyResult(files, "two\r\n").ok());
  EXPECT_EQ(*ReadWholeFile(path), "one\r\ntwo\r\n");
}

TEST_F(DailyResultFileTest, AFileThatCannotBeWrittenIsAnErrorNamingIt) {
  const fs::path path = folder / "missing" / "rank.txt";
  FolderPlayerFiles files = FolderPlayerFiles::OfDataFolder(folder / "missing");
  const Status status = AppendDailyResult(files, "one\r\n");
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().message.find("rank.txt"), std::string::npos) << status.error().message;
  EXPECT_FALSE(fs::exists(path));
}

// A linked log is refused, not read through, and a log past its cap is
// refused rather than copied whole for each line; neither changes.
TEST_F(DailyResultFileTest, ALinkedOrOverlongLogIsRefused) {
  const fs::path outside = folder / "outside.txt";
  ASSERT_TRUE(ReplaceFileAtomically(outside, "private\r\n"));
  fs::create_symlink(outside, folder / "rank.txt");
  FolderPlayerFiles files = FolderPlayerFiles::OfDataFolder(folder);
  Status linked = AppendDailyResult(files, "one\r\n");
  ASSERT_FALSE(linked.ok());
  EXPECT_NE(linked.error().message.find("rank.txt: is a symbolic link"), std::string::npos)
      << linked.error().message;
  EXPECT_EQ(*ReadWholeFile(outside), "private\r\n");
  EXPECT_TRUE(fs::is_symlink(folder / "rank.txt"));

  const fs::path longFolder = folder / "long";
  const fs::path longLog = longFolder / "rank.txt";
  fs::create_directories(longFolder);
  FolderPlayerFiles longFiles = FolderPlayerFiles::OfDataFolder(longFolder);
  ASSERT_TRUE(ReplaceFileAtomically(longLog, std::string(kMaxResultLogBytes, 'x')));
  ASSERT_TRUE(AppendDailyResult(longFiles, "one\r\n").ok());  // a log at the cap is taken
  const Status overlong = AppendDailyResult(longFiles, "two\r\n");
  ASSERT_FALSE(overlong.ok());
  EXPECT_NE(overlong.error().message.find("larger than"), std::string::npos);
  EXPECT_EQ(fs::file_size(longLog), kMaxResultLogBytes + 5);
}

}  // namespace
}  // namespace dovetail::cafe
