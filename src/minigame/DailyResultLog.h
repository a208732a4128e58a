#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "minigame/DayScore.h"
#include "storage/PlayerFiles.h"

namespace dovetail::cafe {

// "rank.txt": one line per evaluated day, appended, never read back by the
// game. A line is the local date and time, then the three scores and the
// daily grade: "2026/12/10 9:05:03 s1:1234 s2:1000 s3:-100 s4:2", in CP932
// with CR LF.

// The line for `result`; `dateTime` is the local date and time as the host
// gives it ("yyyy/MM/dd H:mm:ss"). Fails when it holds a character CP932
// cannot encode.
Result<std::string> DailyResultLine(std::string_view dateTime, const DayResult& result);

// The largest log appended to: a line is about 50 bytes and a week adds six,
// so 4 MB hold some ten thousand weeks of play. A larger file is refused
// rather than copied whole for each new line.
inline constexpr uint64_t kMaxResultLogBytes = uint64_t{4} << 20;

// Appends `line` (bytes, as made above) to the file, creating it when
// missing. The file is replaced as a whole, so a failure leaves the lines
// written before as they were; a symbolic link is refused, never read
// through. The error names the file and the reason.
Status AppendDailyResult(PlayerFiles& files, std::string_view line);

}  // namespace dovetail::cafe
