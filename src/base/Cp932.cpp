#include "base/Cp932.h"

#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "base/Cp932Converter.h"
#include "base/Utf8.h"

namespace dovetail {
namespace {

std::string HexByte(unsigned char b) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%02X", b);
  return buf;
}

}  // namespace

Result<std::string> Cp932ToUtf8(std::string_view cp932) {
  std::string out;
  size_t failedAt = 0;
  if (!ConvertToUtf8(cp932, out, failedAt)) {
    return Error{"byte " + HexByte(static_cast<unsigned char>(cp932[failedAt])) + " at offset " +
                 std::to_string(failedAt) + " is not Shift_JIS (CP932) text"};
  }
  return out;
}

Result<std::string> Utf8ToCp932(std::string_view utf8) {
  std::string out;
  size_t failedAt = 0;
  if (!ConvertToCp932(utf8, out, failedAt)) {
    const size_t n = Utf8SequenceLength(utf8, failedAt);
    return Error{"character \"" + std::string(utf8.substr(failedAt, n)) +
                 "\" cannot be written in Shift_JIS (CP932)"};
  }
  return out;
}

int32_t AnsiCharLen(std::string_view utf8Char) {
  if (utf8Char.size() == 1) return 1;
  const char32_t cp = DecodeCodePoint(utf8Char, 0);
  if (cp >= 0xFF61 && cp <= 0xFF9F) return 1;
  std::string out;
  size_t failedAt = 0;
  if (!ConvertToCp932(utf8Char, out, failedAt)) return 1;
  return static_cast<int32_t>(out.size());
}

int32_t AnsiLen(std::string_view utf8) {
  int32_t length = 0;
  for (size_t i = 0; i < utf8.size();) {
    const size_t n = Utf8SequenceLength(utf8, i);
    length += AnsiCharLen(utf8.substr(i, n));
    i += n;
  }
  return length;
}

}  // namespace dovetail
