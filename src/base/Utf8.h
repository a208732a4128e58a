#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dovetail {

// Character-level helpers over UTF-8 strings. Positions and lengths count
// characters (code points), as the original's string functions did; invalid
// bytes count as one character each so that no input can make them loop or
// read out of bounds.

// Byte length of the UTF-8 sequence starting at s[i] (1 for an invalid byte).
size_t Utf8SequenceLength(std::string_view s, size_t i);

// The characters of `s`, each as a view into `s`.
std::vector<std::string_view> Utf8Chars(std::string_view s);

// Number of characters in `s`.
size_t CharCount(std::string_view s);

// Decodes the code point at s[i]; invalid bytes decode as U+FFFD.
char32_t DecodeCodePoint(std::string_view s, size_t i);

// Appends the UTF-8 form of `cp` to `out`.
void AppendUtf8(std::string& out, char32_t cp);

// `count` characters of `s` starting at the 1-based character position `start`
// (like the original's Mid); clipped to the string.
std::string Mid(std::string_view s, size_t start, size_t count = std::string::npos);
std::string Left(std::string_view s, size_t count);
std::string Right(std::string_view s, size_t count);

// Removes leading and trailing ASCII blanks (space and tab), like Trim.
std::string_view TrimBlanks(std::string_view s);

}  // namespace dovetail
