#include <zlib.h>

#include "graphics/PngDeflate.h"

namespace dovetail {

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

}  // namespace dovetail
