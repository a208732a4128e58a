#include <gtest/gtest.h>

#include <string>

#include "base/Cp932.h"
#include "base/Cp932Tables.h"
#include "base/Utf8.h"

namespace dovetail {
namespace {

// The offset in a conversion error ("... at offset 3 is not ...").
size_t OffsetIn(const std::string& message) {
  const size_t at = message.find("at offset ");
  return at == std::string::npos ? std::string::npos : std::stoul(message.substr(at + 10));
}

// The tables the browser build converts with give what iconv gives, for
// every byte, every pair of bytes and every character of the first plane.
TEST(Cp932Tables, DecodeEveryByteAndPairAsIconvDoes) {
  int differences = 0;
  auto check = [&differences](const std::string& bytes) {
    const Result<std::string> expected = Cp932ToUtf8(bytes);
    std::string out;
    size_t failedAt = 0;
    const bool ok = Cp932TableToUtf8(bytes, out, failedAt);
    const bool same = ok == expected.ok() &&
                      (ok ? out == *expected : failedAt == OffsetIn(expected.error().message));
    if (!same && ++differences <= 5)
      ADD_FAILURE() << "bytes " << std::hex << int(uint8_t(bytes[0]));
  };
  for (int first = 0; first < 256; ++first) {
    check(std::string(1, char(first)));
    for (int second = 0; second < 256; ++second)
      check({char(first), char(second)});
  }
  EXPECT_EQ(differences, 0);
}

TEST(Cp932Tables, EncodeEveryCharacterAsIconvDoes) {
  int differences = 0;
  auto check = [&differences](const std::string& text) {
    const Result<std::string> expected = Utf8ToCp932(text);
    std::string out;
    size_t failedAt = 0;
    const bool ok = Utf8TableToCp932(text, out, failedAt);
    if (ok != expected.ok() || (ok && out != *expected)) {
      if (++differences <= 5) ADD_FAILURE() << "text \"" << text << "\"";
    }
  };
  for (char32_t cp = 0; cp <= 0xFFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    std::string text = "a";
    AppendUtf8(text, cp);
    check(text);
  }
  // Bytes that are no UTF-8, a code point written too long, a second plane one.
  for (const char* text : {"\xFF", "\xC0\xAF", "\xE0\x81\x81", "\xE3\x81", "\xF0\x9F\x98\x80"})
    check(text);
  EXPECT_EQ(differences, 0);
}

}  // namespace
}  // namespace dovetail
