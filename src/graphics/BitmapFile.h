#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "host/Surface.h"

namespace dovetail {

// Windows bitmap files (.bmp) and the device-independent bitmaps inside them.
//
// Every read of the input is checked against its length: a truncated or
// malformed file gives an Error whose message starts with the name given by
// the caller, never a crash or a read past the end.

// The largest picture accepted, per side and in pixels, so that a damaged or
// hostile header cannot make the decoder allocate more than a picture the game
// can show: the screen is 640 × 480 and the largest sheets are a few hundred
// pixels a side (the user-interface sheet 680 × 520, the customer sheet
// 450 × 700). 2048 a side and 2 M pixels (8 MB decoded) leave room for any of
// them; twelve pictures at the cap stay below 100 MB.
constexpr int32_t kMaxBitmapSide = 2048;
constexpr int64_t kMaxBitmapPixels = int64_t{2048} * 1024;
// The largest bitmap file read: a picture at the pixel cap in 32 bits, with
// its headers, stays below this.
constexpr uint64_t kMaxBitmapFileBytes = uint64_t{9} << 20;

// Compression codes of the info header.
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;

// The description of a device-independent bitmap: its info header (the OS/2
// core header of 12 bytes, the Windows header of 40 bytes or one of the larger
// V2 to V5 headers), its colour masks and its colour table, as found after a
// bitmap file's header or at the start of a cursor image.
struct DibHeader {
  int32_t width = 0;
  int32_t height = 0;  // rows, always positive
  bool topDown = false;
  uint16_t bitCount = 0;
  uint32_t compression = kBiRgb;
  // Red, green, blue and alpha masks of 16- and 32-bit pixels (the defaults
  // 5-5-5 or 8-8-8 without alpha unless the header gives bit fields).
  std::array<uint32_t, 4> masks{};
  // The colour table of 1-, 4- and 8-bit pictures (biClrUsed entries, or
  // 2^bits when that is 0); indices past its end are black.
  std::vector<Pixel> palette;
  // Bytes of the info header, the masks that follow it and the colour table:
  // where the pixels start when they follow directly (cursor images).
  uint64_t size = 0;
};

// Reads the info header, masks and colour table at the start of `dib` and
// checks that the depth, compression and dimensions are ones the decoder
// supports.
Result<DibHeader> ReadDibHeader(std::string_view dib, const std::string& name);

// Bytes of one stored row of `width` pixels at `bitCount` bits: rows are
// padded to a multiple of 4 bytes.
uint64_t DibRowStride(int64_t width, int32_t bitCount);

// A decoded device-independent bitmap.
struct DibImage {
  Surface pixels;
  // The alpha of each pixel of a 32-bit picture, top-down like `pixels`: the
  // fourth byte, or the alpha mask's bits with bit fields. Empty for other
  // depths.
  std::vector<uint8_t> alpha;
};

// Decodes the pixel data `data` (uncompressed rows, or an RLE stream) of the
// picture `header` describes. Pixels an RLE stream leaves unwritten take
// palette entry 0. An RLE stream is checked whole before the picture is
// allocated, so a short stream that claims a large picture costs nothing.
Result<DibImage> DecodeDibPixels(const DibHeader& header, std::string_view data,
                                 const std::string& name);

// Decodes a whole bitmap file held in memory; `name` starts every error
// message. The first two bytes must be "BM".
Result<Surface> DecodeBitmap(std::string_view bytes, const std::string& name);

// Reads and decodes the bitmap file at `path` (at most kMaxBitmapFileBytes);
// errors name the file.
Result<Surface> LoadBitmapFile(const std::filesystem::path& path);

// A plain bitmap file of `surface`: 40-byte info header, 24 bits per pixel, no
// compression, rows bottom-up. The surface must not be empty.
std::string EncodeBitmap24(const Surface& surface);

// Writes EncodeBitmap24(surface) to `path`, replacing any old file atomically.
Status SaveBitmapFile(const std::filesystem::path& path, const Surface& surface);

}  // namespace dovetail
