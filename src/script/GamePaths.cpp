#include "script/GamePaths.h"

#include <system_error>

namespace dovetail {

GamePaths GamePaths::ForGameFolder(const std::filesystem::path& gameFolder) {
  std::error_code ec;
  const std::filesystem::path data = gameFolder / "data";
  return {gameFolder, std::filesystem::is_directory(data, ec) ? data : gameFolder};
}

}  // namespace dovetail
