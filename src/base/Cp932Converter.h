#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dovetail {

// The build's converter between code page 932 and UTF-8: the system's iconv on
// the desktop (backends/cp932/iconv), the tables read off it when the program
// was built where the C library has none (backends/cp932/tables, the
// browser). Each converts all of `in` into `out`; on failure it returns false
// with the offset of the offending input byte in `failedAt`.
bool ConvertToUtf8(std::string_view in, std::string& out, size_t& failedAt);
bool ConvertToCp932(std::string_view in, std::string& out, size_t& failedAt);

}  // namespace dovetail
