#pragma once

#include <filesystem>

namespace dovetail {

// The folders a run plays from, worked out once before anything is built:
// the game folder (the program's own, or the one named on the command line)
// and the data folder inside it ("data" when the game folder has one, else
// the game folder itself).
struct GamePaths {
  std::filesystem::path BasePath;
  std::filesystem::path DataPath;

  static GamePaths ForGameFolder(const std::filesystem::path& gameFolder);
};

}  // namespace dovetail
