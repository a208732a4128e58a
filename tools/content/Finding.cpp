#include "content/Finding.h"

#include <algorithm>
#include <cctype>

namespace dovetail::tools {

Finding MakeError(std::string file, std::string message, int row, std::optional<int32_t> label) {
  return {Finding::Severity::Error, std::move(file), row, label, std::move(message)};
}

Finding MakeWarning(std::string file, std::string message, int row, std::optional<int32_t> label) {
  return {Finding::Severity::Warning, std::move(file), row, label, std::move(message)};
}

std::string FormatFinding(const Finding& finding) {
  std::string line = finding.IsError() ? "error: " : "warning: ";
  std::string where = finding.file;
  if (finding.row > 0) where += (where.empty() ? "row " : ", row ") + std::to_string(finding.row);
  if (finding.label) {
    where += (where.empty() ? "label " : ", label ") + std::to_string(*finding.label);
  }
  if (!where.empty()) line += where + ": ";
  return line + finding.message;
}

size_t CountErrors(const std::vector<Finding>& findings) {
  return static_cast<size_t>(std::count_if(findings.begin(), findings.end(),
                                           [](const Finding& f) { return f.IsError(); }));
}

size_t CountWarnings(const std::vector<Finding>& findings) {
  return findings.size() - CountErrors(findings);
}

Finding FindingFromLoaderError(const Error& error, const std::string& loaderFile,
                               const std::string& file) {
  const std::string& message = error.message;
  if (message.rfind(loaderFile, 0) != 0) return MakeError(file, message);
  std::string rest = message.substr(loaderFile.size());
  int row = 0;
  const std::string rowPrefix = ", row ";
  if (rest.rfind(rowPrefix, 0) == 0) {
    size_t pos = rowPrefix.size();
    while (pos < rest.size() && std::isdigit(static_cast<unsigned char>(rest[pos]))) {
      row = row * 10 + (rest[pos] - '0');
      ++pos;
    }
    rest = rest.substr(pos);
  }
  if (rest.rfind(": ", 0) == 0) rest = rest.substr(2);
  return MakeError(file, rest, row);
}

}  // namespace dovetail::tools
