#include "base/Cp932Converter.h"
#include "base/Cp932Tables.h"

namespace dovetail {

// Where the C library has no converter for code page 932: the tables read
// off the system's converter when the program was built.
bool ConvertToUtf8(std::string_view in, std::string& out, size_t& failedAt) {
  return Cp932TableToUtf8(in, out, failedAt);
}

bool ConvertToCp932(std::string_view in, std::string& out, size_t& failedAt) {
  return Utf8TableToCp932(in, out, failedAt);
}

}  // namespace dovetail
