#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "graphics/BitmapFile.h"
#include "storage/DataFolder.h"
#include "storage/FolderPlayerFiles.h"
#include "storage/GamePaths.h"
#include "support/TempFolder.h"
#include "support/TestDataFolder.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::WriteBytes;

class GamePathsTest : public ::testing::Test {
 protected:
  GamePathsTest()
      : folder(::testing::UnitTest::GetInstance()->current_test_info()->name()),
        home(std::string("home-") +
             ::testing::UnitTest::GetInstance()->current_test_info()->name()) {}

  PlayerFolderChoice SaveDir() const { return {home.path / "saves", home.path, false}; }

  testing::TestDataFolder folder;
  testing::TempFolder home;
};

TEST_F(GamePathsTest, AWritableDataFolderKeepsThePlayersFilesAndIsLeftAsItWas) {
  const GamePaths paths = GamePaths::ForPlayer(folder.root, {std::nullopt, home.path, false});
  EXPECT_TRUE(paths.writesDataFolder);
  EXPECT_EQ(paths.playerPath, folder.data);
  FolderPlayerFiles files = FolderPlayerFiles::GameFiles(paths);
  EXPECT_EQ(files.Read("20.dat", 1 << 20).value(), ReadBytes(folder.data / "20.dat"));
  ASSERT_TRUE(files.Append("rank.txt", "a line\r\n", 1 << 20));
  EXPECT_EQ(ReadBytes(folder.data / "rank.txt"), "a line\r\n");
  // The try at writing leaves nothing behind, and nothing goes to the home.
  for (const auto& entry : fs::directory_iterator(folder.data))
    EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
  EXPECT_TRUE(fs::is_empty(home.path));
}

// The files of our own always live apart from the data folder: in the
// --save-dir, else in the player's folder under the data home, even while the
// data folder keeps the game's files; nowhere when they are not kept.
TEST_F(GamePathsTest, OurOwnFilesLiveApartFromTheDataFolder) {
  const fs::path byIdentity = home.path / "dovetail" / GameIdentity(folder.root, folder.data);
  const struct {
    PlayerFolderChoice choice;
    fs::path expected;
  } cases[] = {
      {{std::nullopt, home.path, false, true}, byIdentity},
      {{home.path / "saves", home.path, false, true}, home.path / "saves"},
      {{std::nullopt, home.path, false, false}, fs::path()},
  };
  for (const auto& c : cases) {
    const GamePaths paths = GamePaths::ForPlayer(folder.root, c.choice);
    EXPECT_EQ(paths.ownFilesPath, c.expected);
    EXPECT_EQ(FolderPlayerFiles::OwnFiles(paths).Keeps(), !c.expected.empty());
  }
  // Made (private) only when one is written.
  EXPECT_FALSE(fs::exists(byIdentity));
  FolderPlayerFiles kept =
      FolderPlayerFiles::OwnFiles(GamePaths::ForPlayer(folder.root, cases[0].choice));
  ASSERT_TRUE(kept.Replace("comforts.ini", "x"));
  EXPECT_EQ(ReadBytes(byIdentity / "comforts.ini"), "x");
  EXPECT_EQ(fs::status(byIdentity).permissions() & fs::perms::all, fs::perms::owner_all);
  FolderPlayerFiles none =
      FolderPlayerFiles::OwnFiles(GamePaths::ForPlayer(folder.root, cases[2].choice));
  EXPECT_FALSE(none.Replace("x", "x").ok());
  EXPECT_FALSE(none.Read("x", 1).ok());
}

TEST_F(GamePathsTest, TheInstalledGameIsOnlyReadEvenWhenItCouldBeWritten) {
  const GamePaths paths = GamePaths::ForPlayer(folder.root, {std::nullopt, home.path, true});
  EXPECT_FALSE(paths.writesDataFolder);
  EXPECT_EQ(paths.playerPath.parent_path(), home.path / "dovetail");
  EXPECT_EQ(paths.playerPath.filename(), GameIdentity(folder.root, folder.data));
}

// The data folder's copy is the starting state until the player has one;
// a change starts from it, a replacement does not copy it first.
TEST_F(GamePathsTest, ThePlayersCopyTakesOverFromTheDataFoldersOnTheFirstChange) {
  WriteBytes(folder.data / "RANK.TXT", "first line\r\n");
  const GamePaths paths = GamePaths::ForPlayer(folder.root, SaveDir());
  EXPECT_FALSE(paths.writesDataFolder);
  FolderPlayerFiles files = FolderPlayerFiles::GameFiles(paths);
  const fs::path saves = home.path / "saves";
  EXPECT_EQ(files.Read("rank.txt", 1 << 20).value(), "first line\r\n");
  EXPECT_TRUE(files.State("rank.txt").regular);
  EXPECT_FALSE(fs::exists(saves)) << "made before it was needed";

  ASSERT_TRUE(files.Append("rank.txt", "second line\r\n", 1 << 20));
  EXPECT_EQ(ReadBytes(saves / "rank.txt"), "first line\r\nsecond line\r\n");
  EXPECT_EQ(fs::status(saves).permissions() & fs::perms::all, fs::perms::owner_all);
  EXPECT_EQ(files.Read("rank.txt", 1 << 20).value(), "first line\r\nsecond line\r\n");

  const std::string gameRanking = ReadBytes(folder.data / "30.dat");
  ASSERT_TRUE(files.Replace("30.dat", "new table"));
  EXPECT_EQ(ReadBytes(saves / "30.dat"), "new table");
  EXPECT_EQ(files.Read("30.dat", 1 << 20).value(), "new table");
  EXPECT_EQ(ReadBytes(folder.data / "30.dat"), gameRanking);
  EXPECT_EQ(ReadBytes(folder.data / "RANK.TXT"), "first line\r\n");
  EXPECT_EQ(files.List(), (std::vector<std::string>{"30.dat", "rank.txt"}));
}

TEST_F(GamePathsTest, APlayersFolderThatCannotBeMadeIsNamedInTheError) {
  WriteBytes(home.path / "saves", "a file where the folder should be");
  FolderPlayerFiles files =
      FolderPlayerFiles::GameFiles(GamePaths::ForPlayer(folder.root, SaveDir()));
  const Status status = files.Append("20.dat", "x", 1 << 20);
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().message.find((home.path / "saves").string()), std::string::npos)
      << status.error().message;
}

TEST_F(GamePathsTest, TheGamesIdentityIsItsFolderNameAndItsScriptsFingerprint) {
  const std::string identity = GameIdentity(folder.root, folder.data);
  const std::string name = folder.root.filename().string();
  EXPECT_TRUE(identity.starts_with(name + "-")) << identity;
  EXPECT_EQ(identity.size(), name.size() + 9) << identity;
  EXPECT_EQ(GameIdentity(folder.root / "", folder.data), identity) << "a trailing separator";
  folder.SetScript("1000,,,,,,,,別の話,,,,\r\n");
  EXPECT_NE(GameIdentity(folder.root, folder.data), identity);
  EXPECT_TRUE(GameIdentity("/", folder.data).starts_with("game-"));
}

// A disguised picture is read as the bitmap it hides; the disguise is
// undone only for the pictures that carry it.
TEST_F(GamePathsTest, ADisguisedPictureIsReadWithItsHeaderPutRightInMemory) {
  ASSERT_EQ(testing::HeaderOf(folder.data / "11.dat"), "JF");
  const std::string disguised = ReadBytes(folder.data / "11.dat");
  auto picture = LoadPicture(folder.data, "11.dat");
  ASSERT_TRUE(picture.ok()) << picture.error().message;
  std::string bitmap = disguised;
  bitmap.replace(0, 2, "BM");
  EXPECT_TRUE(*picture == DecodeBitmap(bitmap, "11.dat").value());
  EXPECT_EQ(ReadBytes(folder.data / "11.dat"), disguised);

  WriteBytes(folder.data / "p20.dat", disguised);
  EXPECT_FALSE(LoadPicture(folder.data, "p20.dat").ok());
}

}  // namespace
}  // namespace dovetail
