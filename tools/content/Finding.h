#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"

namespace dovetail::tools {

// One thing the content tools found wrong with a data folder or a script
// source: how bad it is, where it is (file, row of the file, label of the
// script record) and what is wrong.
struct Finding {
  enum class Severity { Warning, Error };

  Severity severity = Severity::Error;
  std::string file;              // e.g. "51.dat" or "script.csv"
  int row = 0;                   // 1-based line of the file; 0 when none applies
  std::optional<int32_t> label;  // label of the script record, when there is one
  std::string message;

  bool IsError() const { return severity == Severity::Error; }
};

Finding MakeError(std::string file, std::string message, int row = 0,
                  std::optional<int32_t> label = std::nullopt);
Finding MakeWarning(std::string file, std::string message, int row = 0,
                    std::optional<int32_t> label = std::nullopt);

// One line: "error: 51.dat, row 12, label 1020: the jump target 1030 is not a label".
std::string FormatFinding(const Finding& finding);

size_t CountErrors(const std::vector<Finding>& findings);
size_t CountWarnings(const std::vector<Finding>& findings);

// A finding made from an error of the engine's loaders, whose messages read
// "FILE, row N: what" or "FILE: what". The file named in the message is
// replaced by `file` (the loaders call the script "51.dat" also when the text
// came from a source file); a message without that prefix is kept whole.
Finding FindingFromLoaderError(const Error& error, const std::string& loaderFile,
                               const std::string& file);

}  // namespace dovetail::tools
