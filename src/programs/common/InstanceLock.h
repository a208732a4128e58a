#pragma once

#include <filesystem>
#include <memory>

namespace dovetail {

// Keeps a second copy of the desktop program from running on the same game
// folder: an exclusive lock on a file in the user's runtime folder, named
// after the game folder and held for as long as the object lives. The lock
// goes with the process, so a crashed copy never blocks the next start.
class InstanceLock {
 public:
  // Null when another running copy holds the lock.
  static std::unique_ptr<InstanceLock> Acquire(const std::filesystem::path& gameFolder);
  // The lock file of the folder: in $XDG_RUNTIME_DIR, else the temporary
  // folder, named after the user and the folder.
  static std::filesystem::path LockFile(const std::filesystem::path& gameFolder);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

 private:
  explicit InstanceLock(int fd) : fd_(fd) {}
  int fd_;
};

}  // namespace dovetail
