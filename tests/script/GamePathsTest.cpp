#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "graphics/BitmapFile.h"
#include "script/DataFolder.h"
#include "script/GamePaths.h"
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
  EXPECT_EQ(paths.PlayerPath, folder.data);
  EXPECT_EQ(paths.PlayerFileToRead("20.dat"), folder.data / "20.dat");
  EXPECT_EQ(paths.PlayerFileToUpdate("rank.txt").value(), folder.data / "rank.txt");
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
    EXPECT_EQ(paths.OwnFilesPath, c.expected);
    EXPECT_EQ(paths.OwnFile("comforts.ini").has_value(), !c.expected.empty());
  }
  // Made (private) only when one is written.
  EXPECT_FALSE(fs::exists(byIdentity));
  const GamePaths kept = GamePaths::ForPlayer(folder.root, cases[0].choice);
  EXPECT_EQ(kept.OwnFileToWrite("comforts.ini").value(), byIdentity / "comforts.ini");
  EXPECT_EQ(fs::status(byIdentity).permissions() & fs::perms::all, fs::perms::owner_all);
  EXPECT_FALSE(GamePaths::ForPlayer(folder.root, cases[2].choice).OwnFileToWrite("x").ok());
}

TEST_F(GamePathsTest, TheInstalledGameIsOnlyReadEvenWhenItCouldBeWritten) {
  const GamePaths paths = GamePaths::ForPlayer(folder.root, {std::nullopt, home.path, true});
  EXPECT_FALSE(paths.writesDataFolder);
  EXPECT_EQ(paths.PlayerPath.parent_path(), home.path / "dovetail");
  EXPECT_EQ(paths.PlayerPath.filename(), GameIdentity(folder.root, folder.data));
}

// The data folder's copy is the starting state until the player has one;
// a change starts from it, a replacement does not copy it first.
TEST_F(GamePathsTest, ThePlayersCopyTakesOverFromTheDataFoldersOnTheFirstChange) {
  WriteBytes(folder.data / "RANK.TXT", "first line\r\n");
  const GamePaths paths = GamePaths::ForPlayer(folder.root, SaveDir());
  EXPECT_FALSE(paths.writesDataFolder);
  const fs::path saves = home.path / "saves";
  EXPECT_EQ(paths.PlayerFileToRead("rank.txt"), folder.data / "RANK.TXT");
  EXPECT_FALSE(fs::exists(saves)) << "made before it was needed";

  const fs::path rank = paths.PlayerFileToUpdate("rank.txt").value();
  EXPECT_EQ(rank, saves / "rank.txt");
  EXPECT_EQ(ReadBytes(rank), "first line\r\n");
  EXPECT_EQ(fs::status(saves).permissions() & fs::perms::all, fs::perms::owner_all);
  EXPECT_EQ(paths.PlayerFileToRead("rank.txt"), rank);

  const fs::path ranking = paths.PlayerFileToReplace("30.dat").value();
  EXPECT_EQ(ranking, saves / "30.dat");
  EXPECT_FALSE(fs::exists(ranking));
  EXPECT_EQ(paths.PlayerFileToRead("30.dat"), folder.data / "30.dat");
  EXPECT_EQ(ReadBytes(folder.data / "RANK.TXT"), "first line\r\n");
}

TEST_F(GamePathsTest, APlayersFolderThatCannotBeMadeIsNamedInTheError) {
  WriteBytes(home.path / "saves", "a file where the folder should be");
  const GamePaths paths = GamePaths::ForPlayer(folder.root, SaveDir());
  auto path = paths.PlayerFileToUpdate("20.dat");
  ASSERT_FALSE(path.ok());
  EXPECT_NE(path.error().message.find((home.path / "saves").string()), std::string::npos)
      << path.error().message;
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
