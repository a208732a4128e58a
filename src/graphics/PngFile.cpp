#include "graphics/PngFile.h"

#include <zlib.h>

#include <cassert>

#include "base/Files.h"

namespace dovetail {

namespace {

void PutBigEndian32(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value >> 24));
  out.push_back(static_cast<char>(value >> 16));
  out.push_back(static_cast<char>(value >> 8));
  out.push_back(static_cast<char>(value));
}

void PutChunk(std::string& out, const char type[4], const std::string& data) {
  PutBigEndian32(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.append(type, 4);
  out += data;
  const auto* bytes = reinterpret_cast<const Bytef*>(out.data() + typeAt);
  PutBigEndian32(out, static_cast<uint32_t>(crc32(0, bytes, static_cast<uInt>(4 + data.size()))));
}

}  // namespace

std::string EncodePng(const Surface& surface) {
  assert(!surface.Empty());
  const int32_t w = surface.Width();
  const int32_t h = surface.Height();
  // Each row: filter byte 0 (none), then R, G, B.
  std::string raw;
  raw.reserve(static_cast<size_t>(h) * (1 + 3 * w));
  for (int32_t y = 0; y < h; ++y) {
    raw.push_back(0);
    const Pixel* row = surface.Row(y);
    for (int32_t x = 0; x < w; ++x) {
      raw.push_back(static_cast<char>(RedOf(row[x])));
      raw.push_back(static_cast<char>(GreenOf(row[x])));
      raw.push_back(static_cast<char>(BlueOf(row[x])));
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packedSize, '\0');
  compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
            reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()), 6);
  packed.resize(packedSize);

  std::string header;
  PutBigEndian32(header, static_cast<uint32_t>(w));
  PutBigEndian32(header, static_cast<uint32_t>(h));
  header +=
      std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace

  std::string png("\x89PNG\r\n\x1A\n", 8);
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", "");
  return png;
}

Status SavePngFile(const std::filesystem::path& path, const Surface& surface) {
  return ReplaceFileAtomically(path, EncodePng(surface));
}

}  // namespace dovetail
