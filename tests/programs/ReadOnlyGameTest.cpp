#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/LogLine.h"
#include "support/TempFolder.h"
#include "support/TestDataFolder.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;

// The bundled demo played from a game folder that cannot be written, as from
// a disc or a package: the real program, in a folder mounted read-only (a
// private mount namespace, for root) or, for another user, one whose
// permissions forbid writing.
class ReadOnlyGameTest : public ::testing::Test {
 protected:
  ReadOnlyGameTest() : temp("read-only-game") {
    game = temp.path / "disc";
    home = temp.path / "home";
    fs::create_directories(home);
    fs::create_directories(game);
    fs::copy(fs::path(DOVETAIL_BUILD_DIR) / "data", game / "data", fs::copy_options::recursive);
    player = home / "dovetail";
  }
  ~ReadOnlyGameTest() override {
    // A folder left without write permission could not be removed.
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(game, ec))
      fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ec);
    fs::permissions(game, fs::perms::owner_write, fs::perm_options::add, ec);
  }

  void SetUp() override {
    if (!fs::exists(Runner())) GTEST_SKIP() << "dovetail-run is not built";
    if (::geteuid() == 0 &&
        std::system(("unshare -m sh -c \"" + ReadOnlyMount(home.string()) + "\" >/dev/null 2>&1")
                        .c_str()) != 0)
      GTEST_SKIP() << "root cannot make a read-only mount here, and permissions do not bind root";
  }

  // For another user than root: the copy loses every write permission (root
  // mounts it read-only for each run instead).
  void MakeReadOnly() {
    if (::geteuid() == 0 || readOnly) return;
    readOnly = true;
    const auto noWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    for (const auto& entry : fs::recursive_directory_iterator(game))
      fs::permissions(entry.path(), noWrite, fs::perm_options::remove);
    fs::permissions(game, noWrite, fs::perm_options::remove);
  }

  static fs::path Runner() { return fs::path(DOVETAIL_BUILD_DIR) / "dovetail-run"; }

  // Runs dovetail-run on the game folder with the arguments, the user's data
  // home being `home`; returns its exit status.
  int Run(const std::string& arguments) {
    MakeReadOnly();
    std::string command = "env XDG_DATA_HOME='" + home.string() + "' '" + Runner().string() +
                          "' --game '" + game.string() + "' " + arguments;
    if (::geteuid() == 0) {
      command = "unshare -m sh -c \"" + ReadOnlyMount(game.string()) + " && exec " +
                Escape(command) + "\"";
    }
    const int status = std::system((command + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // The shell commands that mount the folder over itself, read-only.
  static std::string ReadOnlyMount(const std::string& folder) {
    return "mount --bind '" + folder + "' '" + folder + "' && mount -o remount,bind,ro '" + folder +
           "' '" + folder + "'";
  }

  static std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
      if (c == '"' || c == '\\' || c == '$' || c == '`') out += '\\';
      out += c;
    }
    return out;
  }

  // Every file of the folder and its bytes.
  static std::map<std::string, std::string> Contents(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
      files[fs::relative(entry.path(), folder).string()] =
          entry.is_regular_file() ? ReadBytes(entry.path()) : "(folder)";
    return files;
  }

  // The one folder the run made for the game's player.
  fs::path PlayerFolder() const {
    std::vector<fs::path> made;
    for (const auto& entry : fs::directory_iterator(player))
      made.push_back(entry.path());
    return made.size() == 1 ? made.front() : fs::path();
  }

  // The log's lines of one event.
  static std::vector<testing::LogLine> Events(const fs::path& log, const std::string& event) {
    std::vector<std::string> lines;
    std::istringstream text(ReadBytes(log));
    for (std::string line; std::getline(text, line);)
      lines.push_back(line);
    return testing::EventsNamed(lines, event);
  }

  testing::TempFolder temp;
  fs::path game;
  fs::path home;
  fs::path player;
  bool readOnly = false;
};

TEST_F(ReadOnlyGameTest, AWholeWeekKeepsThePlayersFilesInTheirHomeAndTheNextRunLoadsTheSave) {
  const auto before = Contents(game);
  const fs::path log1 = temp.path / "week.log";
  ASSERT_EQ(Run("--auto first --cafe perfect --log '" + log1.string() + "'"), 0);
  EXPECT_EQ(Contents(game), before) << "the game folder was written";

  const fs::path mine = PlayerFolder();
  ASSERT_FALSE(mine.empty());
  EXPECT_TRUE(mine.filename().string().starts_with("disc-")) << mine;
  EXPECT_EQ(fs::status(mine).permissions() & fs::perms::all, fs::perms::owner_all);
  for (const char* name : {"20.dat", "30.dat", "40.dat", "rank.txt"})
    EXPECT_TRUE(fs::is_regular_file(mine / name)) << name;
  // The settings are the game's own, carried on with the clear marker.
  EXPECT_TRUE(ReadBytes(mine / "20.dat").starts_with(ReadBytes(game / "data" / "20.dat")));
  EXPECT_NE(ReadBytes(mine / "20.dat").find("0200-0000"), std::string::npos);
  const auto ranking = Events(log1, "ranking");
  ASSERT_FALSE(ranking.empty());
  EXPECT_EQ(ranking.back().Num("mode"), 1);
  EXPECT_EQ(ranking.back().Num("pos"), 1);

  const fs::path log2 = temp.path / "load.log";
  ASSERT_EQ(Run("--auto load:first --cafe perfect --log '" + log2.string() + "'"), 0);
  const auto boxes = Events(log2, "msgbox");
  EXPECT_TRUE(std::any_of(boxes.begin(), boxes.end(), [](const testing::LogLine& box) {
    return box.Str("text") == "ロードしました.";
  }));
  EXPECT_FALSE(Events(log2, "ending").empty());
  EXPECT_EQ(Contents(game), before);
}

// The disguised pictures stay disguised on the disc and are shown as the
// game shows them from a folder whose headers start-up restored.
TEST_F(ReadOnlyGameTest, DisguisedPicturesShowAsFromAWritableFolder) {
  for (const char* name : {"11.dat", "90.dat", "p04.dat"})
    ASSERT_EQ(testing::HeaderOf(game / "data" / name), "JF") << name;
  const std::string play = fs::path(DOVETAIL_SOURCE_DIR) / "content/demo/play/first-day.play";
  const fs::path fromDisc = temp.path / "disc-snaps";
  const fs::path fromCopy = temp.path / "copy-snaps";
  fs::create_directories(fromDisc);
  fs::create_directories(fromCopy);
  ASSERT_EQ(Run("--play '" + play + "' --snap-dir '" + fromDisc.string() + "' --log /dev/null"), 0);

  const fs::path copy = temp.path / "copy";
  fs::create_directories(copy);
  fs::copy(fs::path(DOVETAIL_BUILD_DIR) / "data", copy / "data", fs::copy_options::recursive);
  const std::string writable = "'" + Runner().string() + "' --game '" + copy.string() +
                               "' --play '" + play + "' --snap-dir '" + fromCopy.string() +
                               "' --log /dev/null";
  ASSERT_EQ(std::system(writable.c_str()), 0);

  const auto disc = Contents(fromDisc);
  ASSERT_GE(disc.size(), 10u);
  EXPECT_EQ(disc, Contents(fromCopy));
  EXPECT_EQ(testing::HeaderOf(game / "data" / "11.dat"), "JF");
}

// A picture missing from a read-only folder is told once, naming it, and
// the run ends.
TEST_F(ReadOnlyGameTest, AMissingPictureIsToldOnce) {
  fs::remove(game / "data" / "21.dat");
  const fs::path play = temp.path / "nothing.play";
  testing::WriteBytes(play, "");
  const fs::path log = temp.path / "missing.log";
  EXPECT_EQ(Run("--play '" + play.string() + "' --log '" + log.string() + "'"), 1);
  const auto boxes = Events(log, "msgbox");
  ASSERT_EQ(boxes.size(), 1u) << ReadBytes(log);
  EXPECT_NE(boxes[0].Str("text").find("21.dat"), std::string::npos) << boxes[0];
}

}  // namespace
}  // namespace dovetail
