#include "base/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace dovetail {
namespace {

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

}  // namespace

Result<std::string> ReadWholeFile(const std::filesystem::path& path) {
  // A stream over a folder opens but throws on its first read.
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return FileError(path, "is a folder", EISDIR);
  std::ifstream in(path, std::ios::binary);
  if (!in) return FileError(path, "cannot be opened", errno);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return FileError(path, "cannot be read", errno);
  return bytes;
}

Status ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  std::string tempName = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
  FileDescriptor fd(::mkstemp(tempName.data()));
  if (fd.get() < 0) return FileError(path, "cannot create a temporary file beside it", errno);

  auto fail = [&](const std::string& what) {
    const int err = errno;
    ::unlink(tempName.c_str());
    return Status(FileError(path, what, err));
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
  // Keep the permissions of the file being replaced; a new file gets rw-r--r--.
  struct stat existing {};
  const mode_t mode = ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
  if (::fchmod(fd.get(), mode) != 0) return fail("cannot set the file's permissions");
  if (::fsync(fd.get()) != 0) return fail("cannot be flushed to disk");
  if (::close(fd.release()) != 0) return fail("cannot be closed");
  if (::rename(tempName.c_str(), path.c_str()) != 0) return fail("cannot be replaced");

  // Make the rename itself durable.
  FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY));
  if (dir.get() >= 0) ::fsync(dir.get());
  return Status::Ok();
}

}  // namespace dovetail
