#include "script/GamePaths.h"

#include <system_error>

#include "script/DataFolder.h"

namespace dovetail {

GamePaths GamePaths::ForGameFolder(const std::filesystem::path& gameFolder) {
  std::error_code ec;
  // The sub-folder is found like every data file, whatever the case of its
  // name ("Data", "DATA").
  const std::filesystem::path data = DataFile(gameFolder, "data");
  return {gameFolder, std::filesystem::is_directory(data, ec) ? data : gameFolder};
}

}  // namespace dovetail
