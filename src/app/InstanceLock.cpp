#include "app/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
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

std::unique_ptr<InstanceLock> InstanceLock::Acquire(const std::filesystem::path& gameFolder) {
  std::error_code ec;
  auto canonical = std::filesystem::weakly_canonical(gameFolder, ec);
  if (ec) canonical = gameFolder;
  const size_t key = std::hash<std::string>{}(canonical.string());
  const auto path = LockFolder() / ("dovetail-" + std::to_string(::getuid()) + "-" +
                                    std::to_string(key) + ".lock");
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  // Without a place for the lock file the program runs unguarded rather than not at all.
  if (fd < 0) return std::unique_ptr<InstanceLock>(new InstanceLock(-1));
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
