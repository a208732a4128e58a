#include <unistd.h>

#include <cerrno>

#include "base/NewFile.h"

namespace dovetail {

int PlaceNewFile(const char* temp, const char* path) {
  // A hard link never replaces an existing name: whatever is there stays.
  return ::link(temp, path) == 0 ? 0 : errno;
}

}  // namespace dovetail
