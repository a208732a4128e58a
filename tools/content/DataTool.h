#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace dovetail::tools {

// The usage text of `dovetail-data`.
extern const char* const kDataToolUsage;

// Exit statuses of `dovetail-data`.
constexpr int kToolOk = 0;
constexpr int kToolFindings = 1;  // errors in the content (or a file that cannot be written)
constexpr int kToolUsage = 2;

// Runs `dovetail-data` with `args` (without the program name): findings go
// to `out` one a line, the usage text and the closing summary to `err`.
int RunDataTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace dovetail::tools
