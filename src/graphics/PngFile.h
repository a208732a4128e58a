#pragma once

#include <filesystem>
#include <string>

#include "base/Result.h"
#include "platform/Surface.h"

namespace dovetail {

// A PNG file of the surface: 8-bit RGB, no interlace. Used for snapshots of
// the window, so that frames can be looked at with any viewer.
std::string EncodePng(const Surface& surface);

// Writes EncodePng(surface) to `path`, replacing any old file atomically.
Status SavePngFile(const std::filesystem::path& path, const Surface& surface);

}  // namespace dovetail
