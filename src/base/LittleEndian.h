#pragma once

#include <cassert>
#include <cstdint>
#include <string_view>

namespace dovetail {

// Bounds checks and little-endian reads for the binary file formats (pictures,
// cursors, sounds).

// True when `count` bytes from `offset` lie inside `bytes`.
inline bool Has(std::string_view bytes, uint64_t offset, uint64_t count) {
  return offset <= bytes.size() && count <= bytes.size() - offset;
}

// The caller has checked the range with Has().
inline uint8_t U8(std::string_view bytes, uint64_t offset) {
  assert(Has(bytes, offset, 1));
  return static_cast<uint8_t>(bytes[offset]);
}
inline uint16_t U16(std::string_view bytes, uint64_t offset) {
  return static_cast<uint16_t>(U8(bytes, offset) | (U8(bytes, offset + 1) << 8));
}
inline uint32_t U32(std::string_view bytes, uint64_t offset) {
  return uint32_t{U16(bytes, offset)} | (uint32_t{U16(bytes, offset + 2)} << 16);
}

}  // namespace dovetail
