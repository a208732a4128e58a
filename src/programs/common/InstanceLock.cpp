#include "programs/common/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <system_error>

namespace dovetail {

namespace {

std::filesystem::path LockFolder() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime) {
    return runtime;
  }
  return std::filesystem::temp_directory_path();
}

}  // namespace

std::filesystem::path InstanceLock::LockFile(const std::filesystem::path& gameFolder) {
  std::error_code ec;
  auto canonical = std::filesystem::weakly_canonical(gameFolder, ec);
  if (ec) canonical = gameFolder;
  const size_t key = std::hash<std::string>{}(canonical.string());
  return LockFolder() /
         ("dovetail-" + std::to_string(::getuid()) + "-" + std::to_string(key) + ".lock");
}

std::unique_ptr<InstanceLock> InstanceLock::Acquire(const std::filesystem::path& gameFolder) {
  const auto path = LockFile(gameFolder);
  // A link planted under the lock's name is never followed, and a file that
  // is not the user's own is not used: the program then runs unguarded
  // rather than not at all, as it does without a place for the lock file.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return std::unique_ptr<InstanceLock>(new InstanceLock(-1));
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::getuid()) {
    ::close(fd);
    return std::unique_ptr<InstanceLock>(new InstanceLock(-1));
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<InstanceLock>(new InstanceLock(fd));
}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace dovetail
