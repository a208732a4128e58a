#include "storage/PictureDisguise.h"

#include <algorithm>

#include "storage/DataFolder.h"

namespace dovetail {

bool IsDisguisedPicture(std::string_view name) {
  return std::any_of(kPictureFiles.begin(), kPictureFiles.end(),
                     [&](const char* picture) { return name == picture; });
}

}  // namespace dovetail
