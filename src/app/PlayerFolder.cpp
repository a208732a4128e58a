#include "app/PlayerFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace dovetail {

std::filesystem::path UserDataHome() {
  if (const char* dataHome = std::getenv("XDG_DATA_HOME"); dataHome != nullptr) {
    const std::filesystem::path path(dataHome);
    if (path.is_absolute()) return path;
  }
  std::filesystem::path home;
  if (const char* env = std::getenv("HOME"); env != nullptr && *env != '\0') {
    home = env;
  } else if (const passwd* user = ::getpwuid(::getuid()); user != nullptr) {
    home = user->pw_dir;
  }
  return home / ".local" / "share";
}

}  // namespace dovetail
