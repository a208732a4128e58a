#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "base/NewFile.h"

namespace dovetail {

int PlaceNewFile(const char* temp, const char* path) {
  // A browser's file system has no hard links. The program is the only
  // writer of its in-memory files, on one thread: a name found free stays
  // free until the rename.
  struct stat existing {};
  if (::lstat(path, &existing) == 0) return EEXIST;
  return std::rename(temp, path) == 0 ? 0 : errno;
}

}  // namespace dovetail
