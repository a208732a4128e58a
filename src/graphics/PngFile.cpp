#include "graphics/PngFile.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <string_view>

#include "base/Files.h"
#include "graphics/PngDeflate.h"

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
  PutBigEndian32(out, Crc32(std::string_view(out).substr(typeAt)));
}

// The file around rows of `channels` bytes a pixel (3: RGB, 4: RGBA), each
// row led by filter byte 0 (none).
std::string EncodePngRows(int32_t w, int32_t h, int channels, const std::string& raw) {
  const std::string packed = ZlibStream(raw);

  std::string header;
  PutBigEndian32(header, static_cast<uint32_t>(w));
  PutBigEndian32(header, static_cast<uint32_t>(h));
  // 8 bits, RGB (2) or RGBA (6), deflate, no filter, no interlace.
  header += std::string("\x08", 1) + static_cast<char>(channels == 4 ? 6 : 2) +
            std::string("\x00\x00\x00", 3);

  std::string png("\x89PNG\r\n\x1A\n", 8);
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", "");
  return png;
}

std::string RawRows(const Surface& surface, const std::vector<uint8_t>* alpha) {
  const int32_t w = surface.Width();
  const int32_t h = surface.Height();
  const size_t channels = alpha != nullptr ? 4 : 3;
  std::string raw;
  raw.reserve(static_cast<size_t>(h) * (1 + channels * static_cast<size_t>(w)));
  for (int32_t y = 0; y < h; ++y) {
    raw.push_back(0);
    const Pixel* row = surface.Row(y);
    for (int32_t x = 0; x < w; ++x) {
      raw.push_back(static_cast<char>(RedOf(row[x])));
      raw.push_back(static_cast<char>(GreenOf(row[x])));
      raw.push_back(static_cast<char>(BlueOf(row[x])));
      if (alpha != nullptr)
        raw.push_back(static_cast<char>((*alpha)[static_cast<size_t>(y) * w + x]));
    }
  }
  return raw;
}

}  // namespace

std::string EncodePng(const Surface& surface) {
  assert(!surface.Empty());
  return EncodePngRows(surface.Width(), surface.Height(), 3, RawRows(surface, nullptr));
}

std::string EncodePngWithAlpha(const Surface& surface, const std::vector<uint8_t>& alpha) {
  assert(!surface.Empty());
  assert(alpha.size() == static_cast<size_t>(surface.Width()) * surface.Height());
  return EncodePngRows(surface.Width(), surface.Height(), 4, RawRows(surface, &alpha));
}

Status SavePngFile(const std::filesystem::path& path, const Surface& surface) {
  return ReplaceFileAtomically(path, EncodePng(surface));
}

}  // namespace dovetail
