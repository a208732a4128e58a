#include "programs/common/PlayerFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace dovetail {

namespace {

std::filesystem::path UserHome() {
  if (const char* env = std::getenv("HOME"); env != nullptr && *env != '\0') return env;
  if (const passwd* user = ::getpwuid(::getuid()); user != nullptr) return user->pw_dir;
  return {};
}

// An absolute folder named by the environment variable, or nothing.
std::optional<std::filesystem::path> FolderFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  const std::filesystem::path path(value);
  if (!path.is_absolute()) return std::nullopt;
  return path;
}

// XDG_PICTURES_DIR="$HOME/Pictures" in the desktop's list of user folders.
std::optional<std::filesystem::path> PicturesFromUserDirs(const std::filesystem::path& home) {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const std::filesystem::path base =
      config != nullptr && std::filesystem::path(config).is_absolute() ? config : home / ".config";
  std::ifstream dirs(base / "user-dirs.dirs");
  std::string line;
  constexpr std::string_view kKey = "XDG_PICTURES_DIR=\"";
  while (std::getline(dirs, line)) {
    if (line.rfind(kKey, 0) != 0 || line.size() < kKey.size() + 1 || line.back() != '"') continue;
    std::string value = line.substr(kKey.size(), line.size() - kKey.size() - 1);
    if (value.rfind("$HOME", 0) == 0) return home / value.substr(value.size() > 5 ? 6 : 5);
    if (std::filesystem::path(value).is_absolute()) return value;
  }
  return std::nullopt;
}

}  // namespace

std::filesystem::path UserDataHome() {
  if (auto dataHome = FolderFromEnvironment("XDG_DATA_HOME")) return *dataHome;
  return UserHome() / ".local" / "share";
}

std::filesystem::path ScreenshotFolder() {
  const std::filesystem::path home = UserHome();
  std::optional<std::filesystem::path> pictures = FolderFromEnvironment("XDG_PICTURES_DIR");
  if (!pictures) pictures = PicturesFromUserDirs(home);
  return pictures.value_or(home / "Pictures") / "Dovetail";
}

}  // namespace dovetail
