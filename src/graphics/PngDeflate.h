#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dovetail {

// The build's compressor of PNG data: zlib on the desktop
// (backends/deflate/zlib), deflate's stored blocks where zlib is not built in
// (backends/deflate/stored, the browser: a larger file every reader takes).

// The CRC-32 of a PNG chunk's type and data.
uint32_t Crc32(std::string_view bytes);
// `raw` as a zlib stream (the IDAT chunks' data).
std::string ZlibStream(const std::string& raw);

}  // namespace dovetail
