#include "storage/GamePaths.h"

#include <cstdint>
#include <cstdio>
#include <system_error>

#include "base/Files.h"
#include "base/FolderAccess.h"
#include "storage/DataFolder.h"

namespace dovetail {

namespace fs = std::filesystem;

namespace {

// The data folder can be written as the game writes it: a file can be made
// in it, and the disguised pictures there can be opened to restore and hide
// their headers.
bool DataFolderCanBeWritten(const fs::path& dataPath) {
  if (!CanCreateFileIn(dataPath, kSettingsFile)) return false;
  for (const char* name : kPictureFiles) {
    const fs::path picture = DataFile(dataPath, name);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(picture, ec)) && !CanBeOpenedForWriting(picture))
      return false;
  }
  return true;
}

// FNV-1a over the bytes: a short fingerprint, not a security measure.
uint32_t Fingerprint(std::string_view bytes) {
  uint32_t hash = 2166136261u;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return hash;
}

// The folder's name as a file name of its own: separators and control
// characters become "_", and a name that is empty or only dots becomes "game".
std::string FolderName(const fs::path& gameFolder) {
  std::error_code ec;
  fs::path absolute = fs::absolute(gameFolder, ec).lexically_normal();
  if (!absolute.has_filename()) absolute = absolute.parent_path();
  std::string name = absolute.filename().string();
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == '/' || c == '\\' || c == 0x7F) c = '_';
  }
  if (name.find_first_not_of('.') == std::string::npos) name = "game";
  return name;
}

}  // namespace

GamePaths GamePaths::ForGameFolder(const fs::path& gameFolder) {
  std::error_code ec;
  // The sub-folder is found like every data file, whatever the case of its
  // name ("Data", "DATA").
  const fs::path data = DataFile(gameFolder, "data");
  const fs::path dataPath = fs::is_directory(data, ec) ? data : gameFolder;
  return {gameFolder, dataPath, dataPath, true};
}

GamePaths GamePaths::ForPlayer(const fs::path& gameFolder, const PlayerFolderChoice& choice) {
  GamePaths paths = ForGameFolder(gameFolder);
  const bool apart =
      choice.saveDir || choice.installedGame || !DataFolderCanBeWritten(paths.DataPath);
  // The game's identity (a read of its script) only when a folder is named by it.
  if (!apart && !choice.keepOwnFiles) return paths;
  const fs::path playersOwn =
      choice.saveDir ? *choice.saveDir
                     : choice.dataHome / "dovetail" / GameIdentity(gameFolder, paths.DataPath);
  if (choice.keepOwnFiles) paths.ownFilesPath = playersOwn;
  if (apart) {
    paths.playerPath = playersOwn;
    paths.writesDataFolder = false;
  }
  return paths;
}

std::string GameIdentity(const fs::path& gameFolder, const fs::path& dataPath) {
  auto script = ReadWholeFile(DataFile(dataPath, kScriptFile), kMaxScriptFileBytes);
  char hash[9];
  std::snprintf(hash, sizeof hash, "%08x", Fingerprint(script.ok() ? *script : std::string()));
  return FolderName(gameFolder) + "-" + hash;
}

}  // namespace dovetail
