#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace dovetail {

// Code page 932 as tables, for builds whose C library has no converter for
// it (the browser build); generated from the system's iconv at build time
// (dovetail-make-cp932), so both convert alike.

// Each single byte's code point; kCp932None for a byte that only leads a pair.
inline constexpr uint32_t kCp932None = 0xFFFFFFFF;
extern const uint32_t kCp932Single[256];
// The code point of lead 0x80 + i / 256 and trail i % 256; 0: no character.
extern const uint16_t kCp932Pairs[128 * 256];
// Code point << 16 | the bytes (lead << 8 | trail for a pair), rising.
extern const uint32_t kCp932Encode[];
extern const size_t kCp932EncodeCount;

// As Cp932ToUtf8 and Utf8ToCp932: false and the offset of the first byte
// that cannot be converted when any cannot.
bool Cp932TableToUtf8(std::string_view cp932, std::string& out, size_t& failedAt);
bool Utf8TableToCp932(std::string_view utf8, std::string& out, size_t& failedAt);

}  // namespace dovetail
