#include "minigame/DailyResultLog.h"

#include <system_error>

#include "base/Cp932.h"
#include "base/Files.h"

namespace dovetail::cafe {

Result<std::string> DailyResultLine(std::string_view dateTime, const DayResult& result) {
  const std::string text = std::string(dateTime) + " s1:" + std::to_string(result.s1) +
                           " s2:" + std::to_string(result.s2) + " s3:" + std::to_string(result.s3) +
                           " s4:" + std::to_string(result.grade) + "\r\n";
  auto bytes = Utf8ToCp932(text);
  if (!bytes.ok()) return Error{"rank.txt: " + bytes.error().message};
  return bytes;
}

Status AppendDailyResult(const std::filesystem::path& path, std::string_view line) {
  std::string text;
  std::error_code error;
  const auto status = std::filesystem::symlink_status(path, error);
  if (error && status.type() != std::filesystem::file_type::not_found)
    return Error{path.filename().string() + ": " + error.message()};
  if (std::filesystem::exists(status)) {
    auto before = ReadFileToChange(path, kMaxResultLogBytes);
    if (!before.ok()) return before.error();
    text = std::move(*before);
  }
  text += line;
  return ReplaceFileAtomically(path, text);
}

}  // namespace dovetail::cafe
