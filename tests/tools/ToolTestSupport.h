#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "content/Finding.h"

namespace dovetail::tools::testing {

// A fresh folder under the system's temporary folder, removed afterwards.
struct TempFolder {
  explicit TempFolder(const std::string& name)
      : path(std::filesystem::temp_directory_path() /
             ("dovetail-tools-" + name + "-" + std::to_string(::getpid()))) {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    std::filesystem::create_directories(path);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::filesystem::path path;
};

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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

}  // namespace dovetail::tools::testing
