#include <algorithm>
#include <array>

#include "graphics/PngDeflate.h"

namespace dovetail {

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
  const uint32_t adler = (b << 16) | a;
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<char>(adler >> shift));
  return out;
}

}  // namespace dovetail
