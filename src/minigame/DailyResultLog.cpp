#include "minigame/DailyResultLog.h"

#include "base/Cp932.h"
#include "storage/GamePaths.h"

namespace dovetail::cafe {

Result<std::string> DailyResultLine(std::string_view dateTime, const DayResult& result) {
  const std::string text = std::string(dateTime) + " s1:" + std::to_string(result.s1) +
                           " s2:" + std::to_string(result.s2) + " s3:" + std::to_string(result.s3) +
                           " s4:" + std::to_string(result.grade) + "\r\n";
  auto bytes = Utf8ToCp932(text);
  if (!bytes.ok()) return Error{"rank.txt: " + bytes.error().message};
  return bytes;
}

Status AppendDailyResult(PlayerFiles& files, std::string_view line) {
  return files.Append(kResultLogFile, line, kMaxResultLogBytes);
}

}  // namespace dovetail::cafe
