#include <iconv.h>

#include <stdexcept>

#include "base/Cp932Converter.h"

namespace dovetail {

namespace {

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

}  // namespace

bool ConvertToUtf8(std::string_view in, std::string& out, size_t& failedAt) {
  return ToUtf8().Convert(in, out, failedAt);
}

bool ConvertToCp932(std::string_view in, std::string& out, size_t& failedAt) {
  return ToCp932().Convert(in, out, failedAt);
}

}  // namespace dovetail
