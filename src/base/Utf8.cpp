#include "base/Utf8.h"

namespace dovetail {

size_t Utf8SequenceLength(std::string_view s, size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  size_t length = 1;
  if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  } else if (lead >= 0xE0) {
    length = lead <= 0xEF ? 3 : 1;
  } else if (lead >= 0xC2) {
    length = 2;
  }
  if (i + length > s.size()) return 1;
  for (size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

std::vector<std::string_view> Utf8Chars(std::string_view s) {
  std::vector<std::string_view> chars;
  chars.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const size_t n = Utf8SequenceLength(s, i);
    chars.push_back(s.substr(i, n));
    i += n;
  }
  return chars;
}

size_t CharCount(std::string_view s) {
  size_t count = 0;
  for (size_t i = 0; i < s.size(); i += Utf8SequenceLength(s, i))
    ++count;
  return count;
}

char32_t DecodeCodePoint(std::string_view s, size_t i) {
  const size_t n = Utf8SequenceLength(s, i);
  const auto lead = static_cast<unsigned char>(s[i]);
  if (n == 1) return lead < 0x80 ? char32_t{lead} : char32_t{0xFFFD};
  char32_t cp = lead & (0x7F >> n);
  for (size_t k = 1; k < n; ++k)
    cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string Mid(std::string_view s, size_t start, size_t count) {
  if (start == 0) start = 1;
  size_t i = 0;
  for (size_t skipped = 1; skipped < start && i < s.size(); ++skipped) {
    i += Utf8SequenceLength(s, i);
  }
  const size_t begin = i;
  for (size_t taken = 0; taken < count && i < s.size(); ++taken) {
    i += Utf8SequenceLength(s, i);
  }
  return std::string(s.substr(begin, i - begin));
}

std::string Left(std::string_view s, size_t count) {
  return Mid(s, 1, count);
}

std::string Right(std::string_view s, size_t count) {
  const size_t total = CharCount(s);
  if (count >= total) return std::string(s);
  return Mid(s, total - count + 1);
}

std::string_view TrimBlanks(std::string_view s) {
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && (s[begin] == ' ' || s[begin] == '\t'))
    ++begin;
  while (end > begin && (s[end - 1] == ' ' || s[end - 1] == '\t'))
    --end;
  return s.substr(begin, end - begin);
}

}  // namespace dovetail
