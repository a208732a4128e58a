#include "base/FolderAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace dovetail {

bool CanCreateFileIn(const std::filesystem::path& folder, std::string_view target) {
  std::string name = (folder / ("." + std::string(target) + ".XXXXXX")).string();
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(name.c_str());
  return true;
}

bool CanBeOpenedForWriting(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  ::close(fd);
  return regular;
}

Status CheckReadable(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    return Error{path.string() + ": cannot be opened (" + std::strerror(errno) + ")"};
  }
  struct stat info {};
  const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  ::close(fd);
  if (!regular) return Error{path.string() + ": is not a regular file"};
  return {};
}

Status MakePrivateFolder(const std::filesystem::path& folder) {
  std::filesystem::path made;
  for (const auto& part : folder) {
    made /= part;
    if (::mkdir(made.c_str(), 0700) == 0 || errno == EEXIST) continue;
    // Some file systems refuse to make their root again with another error
    // (EINVAL in a browser's) rather than EEXIST.
    const int err = errno;
    struct stat existing {};
    if (::stat(made.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) continue;
    errno = err;
    return Error{made.string() + ": the folder cannot be made (" + std::strerror(errno) + ")"};
  }
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
    return Error{folder.string() + ": is not a folder"};
  return {};
}

}  // namespace dovetail
