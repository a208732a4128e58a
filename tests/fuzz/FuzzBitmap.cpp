// Bitmap files: any bytes decode to a picture or an error, never a fault.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "graphics/BitmapFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  (void)dovetail::DecodeBitmap(bytes, "p01.dat");
  return 0;
}
