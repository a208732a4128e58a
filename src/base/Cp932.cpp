#include "base/Cp932.h"

#if DOVETAIL_CP932_ICONV
#include <iconv.h>
#endif

#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "base/Cp932Tables.h"
#include "base/Utf8.h"

namespace dovetail {
namespace {

#if DOVETAIL_CP932_ICONV

// One iconv descriptor per direction and thread, opened on first use. The
// descriptors carry no story state; they only avoid reopening the table.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts all of `in`; on failure returns false and the offset of the
  // offending input byte in `failedAt`.
  bool Convert(std::string_view in, std::string& out, size_t& failedAt) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out.clear();
    out.resize(in.size() * 4 + 8);
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
      if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
        failedAt = in.size() - inLeft;
        return false;
      }
    }
    out.resize(out.size() - outLeft);
    return true;
  }

 private:
  iconv_t cd_;
};

Converter& ToUtf8() {
  thread_local Converter converter("UTF-8", "CP932");
  return converter;
}

Converter& ToCp932() {
  thread_local Converter converter("CP932", "UTF-8");
  return converter;
}

bool ConvertToUtf8(std::string_view in, std::string& out, size_t& failedAt) {
  return ToUtf8().Convert(in, out, failedAt);
}

bool ConvertToCp932(std::string_view in, std::string& out, size_t& failedAt) {
  return ToCp932().Convert(in, out, failedAt);
}

#else

// Where the C library has no converter for code page 932: the tables read
// off the system's converter when the program was built.
bool ConvertToUtf8(std::string_view in, std::string& out, size_t& failedAt) {
  return Cp932TableToUtf8(in, out, failedAt);
}

bool ConvertToCp932(std::string_view in, std::string& out, size_t& failedAt) {
  return Utf8TableToCp932(in, out, failedAt);
}

#endif

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
