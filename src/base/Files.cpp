#include "base/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cassert>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/NewFile.h"

namespace dovetail {
namespace {

constexpr size_t kReadChunk = 64 * 1024;

Error FileError(const std::filesystem::path& path, const std::string& what, int err) {
  return Error{path.string() + ": " + what + " (" + std::strerror(err) + ")"};
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISLNK(mode)) return "a symbolic link";
  return "not a regular file";
}

Error NotRegular(const std::filesystem::path& path, mode_t mode) {
  return Error{path.string() + ": is " + KindOf(mode) + ", not a regular file"};
}

// Opens a file for reading or writing without ever blocking on a FIFO or a
// device, and checks that it is a regular file. With `noFollow` a symbolic
// link is refused instead of followed.
Result<int> OpenRegularFile(const std::filesystem::path& path, int access, bool noFollow,
                            struct stat& info) {
  const int flags = access | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (noFollow ? O_NOFOLLOW : 0);
  FileDescriptor fd(::open(path.c_str(), flags));
  if (fd.get() < 0) {
    const int err = errno;
    struct stat link {};
    if (noFollow && err == ELOOP && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
      return Error{path.string() + ": is a symbolic link; the program never writes through a link"};
    }
    // Opening a folder for writing fails with EISDIR: say what it is.
    if (::stat(path.c_str(), &link) == 0 && !S_ISREG(link.st_mode))
      return NotRegular(path, link.st_mode);
    return FileError(path, "cannot be opened", err);
  }
  if (::fstat(fd.get(), &info) != 0) return FileError(path, "cannot be examined", errno);
  if (!S_ISREG(info.st_mode)) return NotRegular(path, info.st_mode);
  // Regular files never block; reads and writes wait for the disk as usual.
  ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
  return fd.release();
}

Error TooLarge(const std::filesystem::path& path, uint64_t maxBytes) {
  return Error{path.string() + ": is larger than " + std::to_string(maxBytes) +
               " bytes, more than any real file of its kind"};
}

}  // namespace

namespace {

Result<std::string> ReadRegularFile(const std::filesystem::path& path, uint64_t maxBytes,
                                    bool noFollow) {
  struct stat info {};
  Result<int> opened = OpenRegularFile(path, O_RDONLY, noFollow, info);
  if (!opened.ok()) return opened.error();
  FileDescriptor fd(*opened);
  if (static_cast<uint64_t>(info.st_size) > maxBytes) return TooLarge(path, maxBytes);

  // The file may grow while it is read: the cap holds for what is read too.
  std::string bytes;
  bytes.reserve(static_cast<size_t>(info.st_size));
  char chunk[kReadChunk];
  for (;;) {
    const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return FileError(path, "cannot be read", errno);
    }
    if (n == 0) break;
    if (bytes.size() + static_cast<size_t>(n) > maxBytes) return TooLarge(path, maxBytes);
    bytes.append(chunk, static_cast<size_t>(n));
  }
  return bytes;
}

// The permissions a new file gets: rw for all, less what the umask takes.
// Read from the process's status rather than set and reset with umask(),
// which would race with other threads making files.
mode_t NewFileMode() {
  mode_t mask = 022;
  if (FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr) {
      unsigned value = 0;
      if (std::sscanf(line, "Umask: %o", &value) == 1) {
        mask = static_cast<mode_t>(value);
        break;
      }
    }
    std::fclose(status);
  }
  return 0666 & ~mask;
}

}  // namespace

Result<std::string> ReadWholeFile(const std::filesystem::path& path, uint64_t maxBytes) {
  return ReadRegularFile(path, maxBytes, false);
}

Result<std::string> ReadFileToChange(const std::filesystem::path& path, uint64_t maxBytes) {
  return ReadRegularFile(path, maxBytes, true);
}

Status SwapSignatureInPlace(const std::filesystem::path& path, std::string_view from,
                            std::string_view to) {
  assert(from.size() == 2 && to.size() == 2);
  struct stat info {};
  Result<int> opened = OpenRegularFile(path, O_RDWR, true, info);
  if (!opened.ok()) return opened.error();
  FileDescriptor fd(*opened);
  if (info.st_nlink > 1) {
    return Error{path.string() + ": has " + std::to_string(info.st_nlink) +
                 " hard links; a file that is also one elsewhere is never written"};
  }
  char head[2] = {};
  ssize_t n = 0;
  do {
    n = ::pread(fd.get(), head, sizeof head, 0);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return FileError(path, "cannot be read", errno);
  const std::string_view signature(head, static_cast<size_t>(n));
  if (signature == to) return {};
  if (signature != from) {
    return Error{path.string() + ": starts with neither \"" + std::string(from) + "\" nor \"" +
                 std::string(to) + "\""};
  }
  do {
    n = ::pwrite(fd.get(), to.data(), to.size(), 0);
  } while (n < 0 && errno == EINTR);
  if (n != static_cast<ssize_t>(to.size())) return FileError(path, "cannot be written", errno);
  if (::close(fd.release()) != 0) return FileError(path, "cannot be closed", errno);
  return {};
}

namespace {

// Writes `bytes` to a new temporary file beside `path`, flushed to disk, with
// `mode`; returns its name. Nothing is left behind on failure.
Result<std::string> WriteTemporaryBeside(const std::filesystem::path& path, std::string_view bytes,
                                         mode_t mode) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  std::string tempName = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
  FileDescriptor fd(::mkstemp(tempName.data()));
  if (fd.get() < 0) return FileError(path, "cannot create a temporary file beside it", errno);

  auto fail = [&](const std::string& what) {
    const int err = errno;
    ::unlink(tempName.c_str());
    return FileError(path, what, err);
  };

  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd.get(), bytes.data() + written, bytes.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail("cannot be written");
    }
    written += static_cast<size_t>(n);
  }
  if (::fchmod(fd.get(), mode) != 0) return fail("cannot set the file's permissions");
  if (::fsync(fd.get()) != 0) return fail("cannot be flushed to disk");
  if (::close(fd.release()) != 0) return fail("cannot be closed");
  return tempName;
}

// Makes a change of the folder's entries durable.
Status SyncFolderOf(const std::filesystem::path& path) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  // A file system that cannot sync a folder at all says EINVAL: nothing to do.
  if (dir.get() < 0 || (::fsync(dir.get()) != 0 && errno != EINVAL)) {
    return FileError(
        folder, "the folder cannot be synced to disk after writing " + path.filename().string(),
        errno);
  }
  return Status::Ok();
}

}  // namespace

Status ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  // Keep the permissions of the regular file being replaced; a new file (or
  // one replacing a link, whose target is none of ours) gets what the umask
  // allows.
  struct stat existing {};
  const bool keepMode = ::lstat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
  auto temp =
      WriteTemporaryBeside(path, bytes, keepMode ? (existing.st_mode & 07777) : NewFileMode());
  if (!temp.ok()) return temp.error();
  if (::rename(temp->c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp->c_str());
    return FileError(path, "cannot be replaced", err);
  }
  return SyncFolderOf(path);
}

Status CreateFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  auto temp = WriteTemporaryBeside(path, bytes, NewFileMode());
  if (!temp.ok()) return temp.error();
  const int err = PlaceNewFile(temp->c_str(), path.c_str());
  ::unlink(temp->c_str());
  if (err != 0) return FileError(path, "cannot be created", err);
  return SyncFolderOf(path);
}

bool IsTemporaryFileOf(std::string_view name, std::string_view target) {
  constexpr size_t kUniquePart = 6;  // the XXXXXX of mkstemp
  return name.size() == 1 + target.size() + 1 + kUniquePart && name[0] == '.' &&
         name.substr(1, target.size()) == target && name[1 + target.size()] == '.';
}

}  // namespace dovetail
