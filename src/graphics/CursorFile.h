#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "window/Cursor.h"

namespace dovetail {

// Windows cursor files (.cur).
//
// The file is an icon directory of type 2; of its images the one closest to
// 32 × 32 is taken (the first of equally close ones). Each directory entry
// holds the image's hot spot (in the fields icons use for planes and bit
// count), clamped here to the image. The image is a device-independent bitmap
// of 1, 4, 8, 16, 24 or 32 bits whose info header gives twice the image's
// height: the colour (XOR) rows followed by a 1-bit AND mask.
//
// Pixels become 0xAARRGGBB:
// - a 32-bit image with any non-zero alpha uses its own alpha;
// - otherwise AND bit 0 is opaque in the image's colour, AND bit 1 over a
//   black colour is transparent, and AND bit 1 over any other colour (a pixel
//   that inverts the screen, as in text-beam cursors) is shown as opaque
//   black: a cursor cannot invert what is under it here, and black is what
//   inversion gives over the light pictures the cursor mostly moves over.
//
// PNG-compressed images are refused with "PNG cursors are not supported".
// Malformed or truncated files give an Error starting with `name`, never a
// crash or a read past the end.
Result<Cursor> DecodeCursor(std::string_view bytes, const std::string& name);

// The largest cursor file read: a few images of at most 256 × 256 in 32 bits
// stay below this.
inline constexpr uint64_t kMaxCursorFileBytes = uint64_t{1} << 20;

// Reads and decodes the cursor file at `path`; errors name the file.
Result<Cursor> LoadCursorFile(const std::filesystem::path& path);

}  // namespace dovetail
