#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/Result.h"

namespace dovetail {

// The files the game writes: settings, ranking, save and its backup, the
// daily result log and the system report. They are the player's files: they
// live in the data folder while it can be written, as they always did, and
// in a folder of the player's own when it cannot (or when asked); the game
// reaches them through PlayerFiles (FolderPlayerFiles::GameFiles).
inline constexpr std::string_view kSettingsFile = "20.dat";
inline constexpr std::string_view kRankingFile = "30.dat";
inline constexpr std::string_view kSaveFile = "40.dat";
inline constexpr std::string_view kSaveBackupFile = "40.dat.bak";
inline constexpr std::string_view kResultLogFile = "rank.txt";
inline constexpr std::string_view kSystemReportFile = "syslog.dat";

// Where a player's files go when the data folder is not theirs to write.
struct PlayerFolderChoice {
  // The folder named on the command line (--save-dir): the player's files
  // go there and the data folder is never written, even when it could be.
  std::optional<std::filesystem::path> saveDir;
  // The base of per-user data ($XDG_DATA_HOME, by default ~/.local/share):
  // a read-only game keeps its player's files in dovetail/GAME under it.
  std::filesystem::path dataHome;
  // The game is one installed with the program (a package's files): it is
  // played as a read-only one even by a user who could write it.
  bool installedGame = false;
  // Whether the files of our own (comfort settings, read marks) are kept
  // between runs: in the --save-dir, else in dovetail/GAME under the data
  // home. The headless runner keeps them only in a --save-dir.
  bool keepOwnFiles = true;
};

// The folders a run plays from, worked out once before anything is built:
// the game folder (the program's own, or the one named on the command line),
// the data folder inside it ("data" when the game folder has one, else the
// game folder itself), and the folder of the player's files.
struct GamePaths {
  // The program's folder and the data folder, as the game's rules name them.
  std::filesystem::path BasePath;
  std::filesystem::path DataPath;
  // Where the player's files are written. The data folder itself unless it
  // is read-only or --save-dir names another.
  std::filesystem::path playerPath;
  // True while the data folder is written as the game always did it: picture
  // headers restored at start-up and disguised again at the end, leftovers of
  // interrupted runs removed. False: not one byte is ever written there.
  bool writesDataFolder = true;
  // Where the files of our own live (the player's comfort settings, the
  // pages read): always apart from the data folder, whose files stay the
  // original's. Empty: nothing of ours is kept beyond the run.
  std::filesystem::path ownFilesPath{};

  // The data folder is the folder of the player's files too, and is written.
  static GamePaths ForGameFolder(const std::filesystem::path& gameFolder);
  // The programs' paths: the data folder keeps the player's files when it can
  // be written (found by trying, since permission bits do not tell for root
  // or a read-only mount); otherwise, or with a --save-dir, they go to the
  // player's folder and the data folder is only read.
  static GamePaths ForPlayer(const std::filesystem::path& gameFolder,
                             const PlayerFolderChoice& choice);

  // True when the player's files live apart from the data folder.
  bool SeparatePlayerFolder() const { return playerPath != DataPath; }
};

// A stable, readable name for a game: its folder's name and a short hash of
// its script file ("demo-3fa2c1d9"), so that two games, or two versions of
// one, never share a player's folder.
std::string GameIdentity(const std::filesystem::path& gameFolder,
                         const std::filesystem::path& dataPath);

}  // namespace dovetail
