#include "graphics/PngFile.h"

#if DOVETAIL_HAVE_ZLIB
#include <zlib.h>
#endif

#include <algorithm>
#include <array>
#include <cassert>
#include <string_view>

#include "base/Files.h"

namespace dovetail {

namespace {

void PutBigEndian32(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value >> 24));
  out.push_back(static_cast<char>(value >> 16));
  out.push_back(static_cast<char>(value >> 8));
  out.push_back(static_cast<char>(value));
}

#if DOVETAIL_HAVE_ZLIB

uint32_t Crc32(std::string_view bytes) {
  return static_cast<uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

std::string ZlibStream(const std::string& raw) {
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packedSize, '\0');
  compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
            reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()), 6);
  packed.resize(packedSize);
  return packed;
}

#else

// Where zlib is not built in (the browser build), the rows are stored in
// deflate's uncompressed blocks: a larger file that every reader takes.
uint32_t Crc32(std::string_view bytes) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> entries{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k)
        c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      entries[n] = c;
    }
    return entries;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (char byte : bytes)
    crc = table[(crc ^ static_cast<uint8_t>(byte)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

std::string ZlibStream(const std::string& raw) {
  constexpr size_t kBlock = 65535;
  std::string out("\x78\x01", 2);  // deflate, 32 KiB window, no dictionary
  size_t at = 0;
  do {
    const size_t length = std::min(kBlock, raw.size() - at);
    const bool last = at + length == raw.size();
    out += static_cast<char>(last ? 1 : 0);
    out += static_cast<char>(length & 0xFF);
    out += static_cast<char>(length >> 8);
    out += static_cast<char>(~length & 0xFF);
    out += static_cast<char>((~length >> 8) & 0xFF);
    out.append(raw, at, length);
    at += length;
  } while (at < raw.size());
  uint32_t a = 1;
  uint32_t b = 0;
  for (char byte : raw) {
    a = (a + static_cast<uint8_t>(byte)) % 65521;
    b = (b + a) % 65521;
  }
  PutBigEndian32(out, (b << 16) | a);
  return out;
}

#endif

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
