#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "backends/hosts/headless/HeadlessHost.h"
#include "base/Cp932.h"
#include "base/Files.h"
#include "base/ProgramExit.h"
#include "saves/SaveFile.h"
#include "shell/GameEvents.h"
#include "storage/FolderPlayerFiles.h"
#include "support/StubStoryHandlers.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;

TEST(PositionKey, KeepsTheMinusSignInsideTheZeros) {
  EXPECT_EQ(PositionKey(1059, 5, 1234, 812), "105900050000001234000812");
  EXPECT_EQ(PositionKey(1059, 5, -50, 812), "105900050000000-50000812");
  EXPECT_EQ(PositionKey(1059, 5, 1234, 812).size(), 24u);
}

class SaveFileTest : public ::testing::Test {
 protected:
  SaveFileTest() : handlers(state), interpreter(state, host, handlers, events) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    // Labels 1000 (records 0-1), 1059 (records 2-4), 1100 (record 5).
    const int16_t labels[] = {1000, 1000, 1059, 1059, 1059, 1100};
    for (int i = 0; i < 6; ++i)
      state.tables.Script[i].Label = labels[i];
    state.tables.LastRecord = 5;
    state.tables.Labels[0] = {1000, 0};
    state.tables.Labels[1] = {1059, 2};
    state.tables.Labels[2] = {1100, 5};
    state.tables.LabelCount = 3;
  }
  ~SaveFileTest() override { fs::remove_all(dir); }

  // The player's files in the test's folder, as a game folder keeps them.
  FolderPlayerFiles Files() const {
    return FolderPlayerFiles::GameFiles(GamePaths::ForGameFolder(dir));
  }
  const std::string& LastMessage() const { return host.MessageBoxes().back().request.text; }

  HeadlessHost host;
  StoryState state;
  testing::StubStoryHandlers handlers;
  IgnoredEvents events;
  Interpreter interpreter;
  fs::path dir =
      fs::temp_directory_path() / (std::string("dovetail-save-") +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
  FolderPlayerFiles files = Files();
};

TEST_F(SaveFileTest, WritesTheHundredAndSixLineFormat) {
  state.Names[1] = "桐原";
  state.Names[2] = "ほのか";
  state.CurLabel = 1059;
  state.StageNo = 5;
  state.cafe.TotalScore = 1234;
  state.ScriptPos = 812;
  state.cafe.SuccessCount = 3;
  state.cafe.FailCount = 1;
  state.counters.kaiAwa = 7;
  state.counters.kya = -2;
  state.cafe.ServeLog[0][14] = 100000;
  state.cafe.DishLog[50][0] = 403;
  SaveGame(state, host, files);
  EXPECT_EQ(LastMessage(), "セーブしました.");

  const std::string text = *Cp932ToUtf8(*ReadWholeFile(dir / "40.dat"));
  size_t lines = 0;
  for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2)
    ++lines;
  EXPECT_EQ(lines, 106u);
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "桐原,ほのか,105900050000001234000812,5,3,1");
  EXPECT_NE(text.find("\r\n7,0,0,0,0,0\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n0,0,0,0,0,-2\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n0,0,0,0,0,0,0,0,0,0,0,0,0,0,100000\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n403,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n"), std::string::npos);
}

TEST_F(SaveFileTest, LoadingRestoresTheStoryAndContinuesAfterTheSavePoint) {
  state.Names[1] = "山田,";
  state.Names[2] = "\"花\"子";
  state.CurLabel = 1059;
  state.StageNo = 7;
  state.cafe.TotalScore = -50;
  state.ScriptPos = 4;  // saved from the third record of the label
  state.counters.cof = 2;
  state.cafe.DishLog[3][4] = 101;
  SaveGame(state, host, files);

  StoryState loaded;
  loaded.tables = state.tables;
  testing::StubStoryHandlers loadedHandlers(loaded);
  Interpreter loader(loaded, host, loadedHandlers, events);
  LoadGame(loaded, loader, host, files);
  EXPECT_EQ(LastMessage(), "ロードしました.");
  EXPECT_EQ(loaded.Names[1], "山田,");
  EXPECT_EQ(loaded.Names[2], "\"花\"子");
  EXPECT_EQ(loaded.StageNo, 7);
  EXPECT_EQ(loaded.cafe.TotalScore, -50);
  EXPECT_EQ(loaded.counters.cof, 2);
  EXPECT_EQ(loaded.cafe.DishLog[3][4], 101);
  EXPECT_TRUE(loaded.NameEntered);
  // The record after the first record of label 1059, whatever ScriptPos was.
  EXPECT_EQ(loaded.ScriptPos, 3);
}

TEST_F(SaveFileTest, DisagreeingStageNumbersAreAFailureNamingTheFile) {
  state.CurLabel = 1059;
  state.StageNo = 5;
  SaveGame(state, host, files);
  std::string text = *ReadWholeFile(dir / "40.dat");
  const size_t field4 = text.find(",5,");
  ASSERT_NE(field4, std::string::npos);
  text.replace(field4, 3, ",6,");
  ASSERT_TRUE(ReplaceFileAtomically(dir / "40.dat", text));
  const size_t boxes = host.MessageBoxes().size();
  try {
    LoadGame(state, interpreter, host, files);
    FAIL() << "the load went on";
  } catch (const GameFailure& failure) {
    // The failure is told by the one place that ends the run, not here.
    EXPECT_EQ(failure.message, "40.dat: the two stage numbers disagree");
  }
  EXPECT_EQ(host.MessageBoxes().size(), boxes);
}

TEST_F(SaveFileTest, AFailedLoadReportsAndLeavesThePosition) {
  state.ScriptPos = 0;
  LoadGame(state, interpreter, host, files);  // no save file
  EXPECT_EQ(LastMessage(), "ロードに失敗しました\r\n最初から始めます.");
  EXPECT_EQ(state.ScriptPos, 0);
  EXPECT_FALSE(state.NameEntered);

  // A short file: the names read so far stay in effect.
  ASSERT_TRUE(ReplaceFileAtomically(
      dir / "40.dat", *Utf8ToCp932("太郎,次郎,105900020000000000000001,2,0,0\r\n1,2\r\n")));
  LoadGame(state, interpreter, host, files);
  EXPECT_EQ(LastMessage(), "ロードに失敗しました\r\n最初から始めます.");
  EXPECT_EQ(state.ScriptPos, 0);
}

TEST_F(SaveFileTest, ThePreviousSaveIsKeptAndUsedWhenTheSaveIsGone) {
  state.CurLabel = 1000;
  SaveGame(state, host, files);
  state.CurLabel = 1059;
  SaveGame(state, host, files);
  ASSERT_TRUE(fs::exists(dir / "40.dat.bak"));
  fs::remove(dir / "40.dat");
  LoadGame(state, interpreter, host, files);
  EXPECT_EQ(LastMessage(), "ロードしました.");
  EXPECT_EQ(state.CurLabel, 1000);
  EXPECT_EQ(state.ScriptPos, 1);
}

TEST_F(SaveFileTest, ANameThatCannotBeWrittenFailsTheSaveAndKeepsTheOldFile) {
  SaveGame(state, host, files);
  const std::string before = *ReadWholeFile(dir / "40.dat");
  state.Names[1] = "\xF0\x9F\x98\x80";
  ::testing::internal::CaptureStderr();
  SaveGame(state, host, files);
  const std::string reason = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(LastMessage(), "セーブに失敗しました.");
  EXPECT_EQ(*ReadWholeFile(dir / "40.dat"), before);
  EXPECT_NE(reason.find("40.dat: "), std::string::npos) << reason;  // the reason, for the record
}

TEST_F(SaveFileTest, ASaveThatCannotBeReplacedSaysWhyOnTheErrorStream) {
  fs::create_directory(dir / "40.dat");
  ::testing::internal::CaptureStderr();
  SaveGame(state, host, files);
  const std::string reason = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(LastMessage(), "セーブに失敗しました.");
  EXPECT_NE(reason.find("40.dat: cannot be replaced"), std::string::npos) << reason;
}

// Line 1 of a save at label 1059 with the given key stage text and field 4.
std::string SaveWithLine1(const std::string& key, const std::string& stageField) {
  std::string text = "太郎,次郎," + key + "," + stageField + ",0,0\r\n";
  for (int line = 2; line <= 4; ++line)
    text += "0,0,0,0,0,0\r\n";
  for (int line = 5; line <= 106; ++line)
    text += "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n";
  return *Utf8ToCp932(text);
}

TEST_F(SaveFileTest, TheStagesAreComparedAsNumbersBeforeAnythingElseIsConverted) {
  const struct {
    const char* what;
    std::string key;
    std::string stageField;
    bool ends;  // the run ends as a failure; otherwise the load failure message
  } cases[] = {
      {"agreeing stages", "105900030000000000000001", "3", false},
      {"stage field not a number", "105900030000000000000001", "x", false},
      {"key stage not a number", "1059zz030000000000000001", "3", false},
      {"equal as numbers, not as text", "105900030000000000000001", "03", false},
      {"disagreeing stages", "105900030000000000000001", "4", true},
      {"label no number, stages disagree", "ab5900030000000000000001", "4", true},
      {"label no number, stages agree", "ab5900030000000000000001", "3", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(ReplaceFileAtomically(dir / "40.dat", SaveWithLine1(c.key, c.stageField)));
    const size_t boxes = host.MessageBoxes().size();
    if (c.ends) {
      EXPECT_THROW(LoadGame(state, interpreter, host, files), GameFailure);
      EXPECT_EQ(host.MessageBoxes().size(), boxes);
      continue;
    }
    EXPECT_NO_THROW(LoadGame(state, interpreter, host, files));
    ASSERT_EQ(host.MessageBoxes().size(), boxes + 1);
    const bool loads = std::string(c.what) == "agreeing stages" ||
                       std::string(c.what) == "equal as numbers, not as text";
    EXPECT_EQ(LastMessage(),
              loads ? "ロードしました." : "ロードに失敗しました\r\n最初から始めます.");
  }
}

TEST_F(SaveFileTest, ADamagedSaveNeverReplacesAGoodBackupAndOffersIt) {
  state.CurLabel = 1000;
  SaveGame(state, host, files);
  state.CurLabel = 1059;
  SaveGame(state, host, files);
  const std::string good = *ReadWholeFile(dir / "40.dat.bak");
  // 40.dat cut to three lines.
  std::string damaged = *ReadWholeFile(dir / "40.dat");
  damaged.resize(damaged.find("\r\n", damaged.find("\r\n", damaged.find("\r\n") + 2) + 2) + 2);
  ASSERT_TRUE(ReplaceFileAtomically(dir / "40.dat", damaged));

  // Declined: the load fails and the story starts from its beginning.
  state.ScriptPos = 0;
  host.QueueAnswer(MessageBoxAnswer::Cancel);
  LoadGame(state, interpreter, host, files);
  ASSERT_GE(host.MessageBoxes().size(), 2u);
  const auto& boxes = host.MessageBoxes();
  EXPECT_EQ(boxes[boxes.size() - 2].request.text,
            "セーブデータが壊れています.\r\n一つ前のセーブデータをロードしますか?");
  EXPECT_EQ(boxes[boxes.size() - 2].request.buttons, MessageBoxButtons::OkCancel);
  EXPECT_EQ(LastMessage(), "ロードに失敗しました\r\n最初から始めます.");
  EXPECT_EQ(state.ScriptPos, 0);

  // Accepted: the backup is loaded.
  host.QueueAnswer(MessageBoxAnswer::Ok);
  LoadGame(state, interpreter, host, files);
  EXPECT_EQ(LastMessage(), "ロードしました.");
  EXPECT_EQ(state.CurLabel, 1000);
  EXPECT_EQ(state.ScriptPos, 1);

  // The next save point keeps the good backup instead of the damaged save.
  ASSERT_TRUE(ReplaceFileAtomically(dir / "40.dat", damaged));
  SaveGame(state, host, files);
  EXPECT_EQ(LastMessage(), "セーブしました.");
  EXPECT_EQ(*ReadWholeFile(dir / "40.dat.bak"), good);
}

TEST_F(SaveFileTest, AFolderInThePlaceOfTheSaveFallsBackToTheBackup) {
  state.CurLabel = 1000;
  SaveGame(state, host, files);
  SaveGame(state, host, files);
  fs::remove(dir / "40.dat");
  fs::create_directory(dir / "40.dat");
  LoadGame(state, interpreter, host, files);
  EXPECT_EQ(LastMessage(), "ロードしました.");
  EXPECT_EQ(state.CurLabel, 1000);
}

TEST_F(SaveFileTest, AHostileSaveFileFallsBackToTheBackupAndIsReplacedByARegularFile) {
  const fs::path outside = dir / "outside";
  fs::create_directory(outside);
  state.CurLabel = 1059;
  FolderPlayerFiles outsideFiles = FolderPlayerFiles::OfDataFolder(outside);
  SaveGame(state, host, outsideFiles);  // a valid save outside the data folder
  const std::string theirs = *ReadWholeFile(outside / "40.dat");
  state.CurLabel = 1000;
  SaveGame(state, host, files);
  SaveGame(state, host, files);
  const std::string backup = *ReadWholeFile(dir / "40.dat.bak");
  const struct {
    const char* what;
    std::function<void(const fs::path&)> plant;
    int16_t loadedLabel;  // the backup's 1000, or the linked save's 1059
    const char* saved;    // the message of the next save point
  } cases[] = {
      {"folder", [](const fs::path& p) { fs::create_directory(p); }, 1000, "セーブに失敗しました."},
      {"FIFO", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, 1000,
       "セーブしました."},
      {"/dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }, 1000,
       "セーブしました."},
      {"link out of the folder",
       [&](const fs::path& p) { fs::create_symlink(outside / "40.dat", p); }, 1059,
       "セーブしました."},
      {"size bomb",
       [](const fs::path& p) {
         ASSERT_TRUE(ReplaceFileAtomically(p, "x"));
         fs::resize_file(p, uint64_t{1} << 30);  // sparse
       },
       1000, "セーブしました."},
      {"empty file", [](const fs::path& p) { ASSERT_TRUE(ReplaceFileAtomically(p, "")); }, 1000,
       "セーブしました."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(dir / "40.dat");
    c.plant(dir / "40.dat");
    state.CurLabel = 0;
    host.QueueAnswer(MessageBoxAnswer::Ok);  // taken when the backup is offered
    LoadGame(state, interpreter, host, files);
    EXPECT_EQ(LastMessage(), "ロードしました.");
    EXPECT_EQ(state.CurLabel, c.loadedLabel);
    SaveGame(state, host, files);
    EXPECT_EQ(LastMessage(), std::string(c.saved));
    EXPECT_EQ(*ReadWholeFile(dir / "40.dat.bak"), backup);
    EXPECT_EQ(*ReadWholeFile(outside / "40.dat"), theirs);
    if (std::string(c.what) != "folder") {
      EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / "40.dat")));
    }
    fs::remove_all(dir / "40.dat");
  }
}

TEST_F(SaveFileTest, ALinkedSaveIsReplacedNeverWrittenThroughOrCopied) {
  const fs::path outside = dir / "outside";
  fs::create_directory(outside);
  state.CurLabel = 1000;
  FolderPlayerFiles outsideFiles = FolderPlayerFiles::OfDataFolder(outside);
  SaveGame(state, host, outsideFiles);  // a valid save, outside the data folder
  const std::string theirs = *ReadWholeFile(outside / "40.dat");
  fs::create_symlink(outside / "40.dat", dir / "40.dat");

  state.CurLabel = 1059;
  SaveGame(state, host, files);
  EXPECT_EQ(LastMessage(), "セーブしました.");
  EXPECT_FALSE(fs::is_symlink(dir / "40.dat"));
  EXPECT_FALSE(fs::exists(dir / "40.dat.bak"));  // the link's target is not copied in
  EXPECT_EQ(*ReadWholeFile(outside / "40.dat"), theirs);
  EXPECT_EQ(std::distance(fs::directory_iterator(outside), {}), 1);
}

// A game played from a read-only folder whose 40.dat is a link (an install
// made of links): the save goes to the player's own folder as a regular file;
// the link and what it leads to are left as they are.
TEST_F(SaveFileTest, ALinkedSaveInTheGamesFolderIsLeftAloneAndThePlayersCopyWritten) {
  const fs::path outside = dir / "outside";
  const fs::path game = dir / "game";
  fs::create_directories(outside);
  fs::create_directories(game / "data");
  state.CurLabel = 1000;
  FolderPlayerFiles outsideFiles = FolderPlayerFiles::OfDataFolder(outside);
  SaveGame(state, host, outsideFiles);
  const std::string theirs = *ReadWholeFile(outside / "40.dat");
  fs::create_symlink(outside / "40.dat", game / "data" / "40.dat");
  PlayerFolderChoice player;
  player.saveDir = dir / "player";
  FolderPlayerFiles playerFiles = FolderPlayerFiles::GameFiles(GamePaths::ForPlayer(game, player));

  state.CurLabel = 1059;
  SaveGame(state, host, playerFiles);
  EXPECT_EQ(LastMessage(), "セーブしました.");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / "player" / "40.dat")));
  EXPECT_FALSE(fs::exists(dir / "player" / "40.dat.bak"));  // a link is no backup
  EXPECT_TRUE(fs::is_symlink(game / "data" / "40.dat"));
  EXPECT_EQ(*ReadWholeFile(outside / "40.dat"), theirs);
}

}  // namespace
}  // namespace dovetail
