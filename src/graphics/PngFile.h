#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/Result.h"
#include "host/Surface.h"

namespace dovetail {

// A PNG file of the surface: 8-bit RGB, no interlace. Used for snapshots of
// the window, so that frames can be looked at with any viewer.
std::string EncodePng(const Surface& surface);

// A PNG file of the surface with an opacity per pixel (`alpha`, one byte a
// pixel in row order, 0 transparent): 8-bit RGBA. For the program's icon.
std::string EncodePngWithAlpha(const Surface& surface, const std::vector<uint8_t>& alpha);

// Writes EncodePng(surface) to `path`, replacing any old file atomically.
Status SavePngFile(const std::filesystem::path& path, const Surface& surface);

}  // namespace dovetail
