#pragma once

#include <string>
#include <string_view>

namespace dovetail {

// Writes text as a JSON string (quotes included); UTF-8 passes through.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace dovetail
