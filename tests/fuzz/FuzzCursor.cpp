// Cursor files: any bytes decode to a cursor or an error, never a fault.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "graphics/CursorFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  (void)dovetail::DecodeCursor(bytes, "select.cur");
  return 0;
}
