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
  const bool exists = std::filesystem::exists(path, error);
  if (error) return Error{path.filename().string() + ": " + error.message()};
  if (exists) {
    auto before = ReadWholeFile(path);
    if (!before.ok()) return before.error();
    text = std::move(*before);
  }
  text += line;
  return ReplaceFileAtomically(path, text);
}

}  // namespace dovetail::cafe
