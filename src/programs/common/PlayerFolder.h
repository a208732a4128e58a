#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "storage/GamePaths.h"

namespace dovetail {

// The base folder of the user's own data files: $XDG_DATA_HOME when it is set
// to an absolute path (a relative one is ignored, as the desktop's rules say),
// else ~/.local/share of $HOME, else of the user's home in the password
// database.
std::filesystem::path UserDataHome();

// Where the player's screenshots go: "Dovetail" in the user's pictures
// folder ($XDG_PICTURES_DIR, else the one named in the desktop's
// user-dirs.dirs, else ~/Pictures).
std::filesystem::path ScreenshotFolder();

// Where the player's files go for this run: the --save-dir given, else a
// folder under the user's data home when the game folder cannot be written.
inline PlayerFolderChoice ChoosePlayerFolder(const std::optional<std::string>& saveDir) {
  PlayerFolderChoice choice;
  if (saveDir) choice.saveDir = std::filesystem::path(*saveDir);
  choice.dataHome = UserDataHome();
  return choice;
}

}  // namespace dovetail
