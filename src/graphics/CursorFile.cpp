#include "graphics/CursorFile.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstdlib>

#include "base/Files.h"
#include "base/LittleEndian.h"
#include "graphics/BitmapFile.h"

namespace dovetail {
namespace {

constexpr uint64_t kDirectorySize = 6;
constexpr uint64_t kEntrySize = 16;
constexpr uint16_t kCursorType = 2;
constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1A\n";
// Cursor images are at most 256 pixels a side (a directory size of 0 stands
// for 256); a larger one is damage, refused before its pixels are decoded.
constexpr int32_t kMaxCursorSide = 256;

Error Fail(const std::string& name, const std::string& what) {
  return Error{name + ": " + what};
}

struct DirectoryEntry {
  int32_t width = 0;  // as the directory states it; 0 stands for 256
  int32_t height = 0;
  int32_t hotX = 0;
  int32_t hotY = 0;
  uint32_t size = 0;
  uint32_t offset = 0;
};

DirectoryEntry ReadEntry(std::string_view bytes, uint64_t at) {
  DirectoryEntry entry;
  entry.width = U8(bytes, at) == 0 ? 256 : U8(bytes, at);
  entry.height = U8(bytes, at + 1) == 0 ? 256 : U8(bytes, at + 1);
  entry.hotX = U16(bytes, at + 4);
  entry.hotY = U16(bytes, at + 6);
  entry.size = U32(bytes, at + 8);
  entry.offset = U32(bytes, at + 12);
  return entry;
}

}  // namespace

Result<Cursor> DecodeCursor(std::string_view bytes, const std::string& name) {
  if (!Has(bytes, 0, kDirectorySize)) return Fail(name, "truncated cursor directory");
  if (U16(bytes, 0) != 0 || U16(bytes, 2) != kCursorType) {
    return Fail(name, "not a cursor file");
  }
  const uint16_t count = U16(bytes, 4);
  if (count == 0) return Fail(name, "cursor file holds no image");
  if (!Has(bytes, kDirectorySize, kEntrySize * count)) {
    return Fail(name, "truncated cursor directory");
  }

  // The image closest to the usual cursor size.
  DirectoryEntry entry = ReadEntry(bytes, kDirectorySize);
  const auto distance = [](const DirectoryEntry& e) {
    return std::abs(e.width - 32) + std::abs(e.height - 32);
  };
  for (uint16_t i = 1; i < count; ++i) {
    const DirectoryEntry other = ReadEntry(bytes, kDirectorySize + kEntrySize * i);
    if (distance(other) < distance(entry)) entry = other;
  }
  if (!Has(bytes, entry.offset, entry.size)) {
    return Fail(name, "cursor image runs past the end of the file");
  }
  const std::string_view image = bytes.substr(entry.offset, entry.size);
  if (image.starts_with(kPngSignature)) return Fail(name, "PNG cursors are not supported");

  auto header = ReadDibHeader(image, name);
  if (!header) return header.error();
  if (header->compression != kBiRgb && header->compression != kBiBitfields) {
    return Fail(name, "compressed cursor images are not supported");
  }
  // The info header counts the colour rows and the mask rows together.
  if (header->height % 2 != 0) {
    return Fail(name, "cursor image height " + std::to_string(header->height) + " is odd");
  }
  header->height /= 2;
  const int32_t width = header->width;
  const int32_t height = header->height;
  if (width > kMaxCursorSide || height > kMaxCursorSide) {
    return Fail(name, "cursor image " + std::to_string(width) + "x" + std::to_string(height) +
                          " is larger than " + std::to_string(kMaxCursorSide) + " pixels a side");
  }

  const uint64_t colourBytes = DibRowStride(width, header->bitCount) * height;
  const uint64_t maskStride = DibRowStride(width, 1);
  if (!Has(image, header->size, colourBytes)) return Fail(name, "truncated cursor image");
  if (!Has(image, header->size + colourBytes, maskStride * height)) {
    return Fail(name, "truncated cursor mask");
  }
  auto colours = DecodeDibPixels(*header, image.substr(header->size, colourBytes), name);
  if (!colours) return colours.error();
  const std::string_view mask = image.substr(header->size + colourBytes, maskStride * height);

  const std::vector<uint8_t>& alpha = colours->alpha;
  const bool ownAlpha = std::any_of(alpha.begin(), alpha.end(), [](uint8_t a) { return a != 0; });

  Cursor cursor;
  cursor.width = width;
  cursor.height = height;
  cursor.hotX = std::clamp(entry.hotX, 0, width - 1);
  cursor.hotY = std::clamp(entry.hotY, 0, height - 1);
  cursor.argb.resize(static_cast<size_t>(width) * height);
  for (int32_t y = 0; y < height; ++y) {
    const int64_t maskRow = header->topDown ? y : height - 1 - y;
    for (int32_t x = 0; x < width; ++x) {
      const Pixel colour = colours->pixels.At(x, y);
      const size_t at = static_cast<size_t>(y) * width + x;
      if (ownAlpha) {
        cursor.argb[at] = (uint32_t{alpha[at]} << 24) | colour;
        continue;
      }
      const uint8_t maskByte = U8(mask, maskRow * maskStride + x / 8);
      const bool andBit = (maskByte >> (7 - x % 8)) & 1;
      if (!andBit) {
        cursor.argb[at] = 0xFF000000u | colour;
      } else if (colour == kBlack) {
        cursor.argb[at] = 0;
      } else {
        cursor.argb[at] = 0xFF000000u | kBlack;  // inverts the screen: shown black
      }
    }
  }
  return cursor;
}

Result<Cursor> LoadCursorFile(const std::filesystem::path& path) {
  auto bytes = ReadWholeFile(path, kMaxCursorFileBytes);
  if (!bytes) return bytes.error();
  return DecodeCursor(*bytes, path.string());
}

}  // namespace dovetail
