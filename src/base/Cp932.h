#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Result.h"

namespace dovetail {

// Conversion between UTF-8 (the form of every string in memory) and the
// Japanese ANSI code page 932 (the form of every text file and of all text
// layout). Uses glibc's "CP932" table, which keeps '\' as a backslash and knows
// the vendor characters (～, －, ①) that plain Shift_JIS lacks.

// Fails on bytes that are not CP932, naming the byte offset.
Result<std::string> Cp932ToUtf8(std::string_view cp932);

// Fails on a character that CP932 cannot encode, naming it.
Result<std::string> Utf8ToCp932(std::string_view utf8);

// Byte length of `utf8` in CP932: 1 for ASCII and half-width katakana, 2 for
// other characters. A character CP932 cannot encode counts 1, the '?' that the
// system's conversion puts in its place.
int32_t AnsiLen(std::string_view utf8);

// CP932 byte length of one character given as its UTF-8 sequence.
int32_t AnsiCharLen(std::string_view utf8Char);

}  // namespace dovetail
