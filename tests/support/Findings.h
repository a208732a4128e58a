#pragma once

#include <string>
#include <vector>

#include "content/Finding.h"

namespace dovetail::testing {

using tools::Finding;

// The findings as text, one a line, for failure messages.
inline std::string Listing(const std::vector<Finding>& findings) {
  std::string text;
  for (const Finding& f : findings)
    text += "  " + FormatFinding(f) + "\n";
  return text.empty() ? "  (none)\n" : text;
}

// True when a finding of that severity names the file and row (0: any row)
// and its message contains `words`.
inline bool Has(const std::vector<Finding>& findings, Finding::Severity severity,
                const std::string& file, int row, const std::string& words) {
  for (const Finding& f : findings) {
    if (f.severity == severity && f.file == file && (row == 0 || f.row == row) &&
        f.message.find(words) != std::string::npos) {
      return true;
    }
  }
  return false;
}

inline std::vector<Finding> ErrorsOf(const std::vector<Finding>& findings) {
  std::vector<Finding> errors;
  for (const Finding& f : findings) {
    if (f.IsError()) errors.push_back(f);
  }
  return errors;
}

}  // namespace dovetail::testing
