#include "base/Cp932Tables.h"

#include <algorithm>

#include "base/Utf8.h"

namespace dovetail {

bool Cp932TableToUtf8(std::string_view cp932, std::string& out, size_t& failedAt) {
  out.clear();
  for (size_t i = 0; i < cp932.size(); ++i) {
    const auto byte = static_cast<uint8_t>(cp932[i]);
    if (kCp932Single[byte] != kCp932None) {
      AppendUtf8(out, kCp932Single[byte]);
      continue;
    }
    const uint16_t pair =
        byte >= 0x80 && i + 1 < cp932.size()
            ? kCp932Pairs[(byte - 0x80) * 256 + static_cast<uint8_t>(cp932[i + 1])]
            : 0;
    if (pair == 0) {
      failedAt = i;
      return false;
    }
    AppendUtf8(out, pair);
    ++i;
  }
  return true;
}

namespace {

// The code point of the well-formed UTF-8 sequence at s[i] and its length;
// false for bytes that are not one.
bool NextCodePoint(std::string_view s, size_t i, char32_t& cp, size_t& length) {
  const auto lead = static_cast<uint8_t>(s[i]);
  if (lead < 0x80) {
    cp = lead;
    length = 1;
    return true;
  }
  length = Utf8SequenceLength(s, i);
  if (length < 2) return false;
  cp = DecodeCodePoint(s, i);
  // A code point written longer than it needs is no character either.
  const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
  return cp >= least && (cp != 0xFFFD || s.substr(i, length) == "\xEF\xBF\xBD");
}

}  // namespace

bool Utf8TableToCp932(std::string_view utf8, std::string& out, size_t& failedAt) {
  out.clear();
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    size_t length = 1;
    const uint32_t* end = kCp932Encode + kCp932EncodeCount;
    const uint32_t* found = end;
    if (NextCodePoint(utf8, i, cp, length) && cp <= 0xFFFF) {
      found = std::lower_bound(kCp932Encode, end, static_cast<uint32_t>(cp) << 16);
      if (found != end && (*found >> 16) != cp) found = end;
    }
    if (found == end) {
      failedAt = i;
      return false;
    }
    const uint32_t bytes = *found & 0xFFFF;
    if (bytes > 0xFF) out += static_cast<char>(bytes >> 8);
    out += static_cast<char>(bytes & 0xFF);
    i += length;
  }
  return true;
}

}  // namespace dovetail
