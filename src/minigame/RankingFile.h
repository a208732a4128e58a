#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "base/Result.h"
#include "storage/PlayerFiles.h"
#include "story/StoryState.h"

namespace dovetail {

// The largest ranking file read: five lines of a name, a grade and a score
// take well under a kilobyte.
inline constexpr uint64_t kMaxRankingFileBytes = uint64_t{16} << 10;

// The five best results, "30.dat": one line per rank, name, grade and score.
using RankingTable = std::array<RankEntry, 6>;

// Reads ranks 1 to 5 into entries 1 to 5 of `ranking` (entry 0, the current
// player, is left alone). A missing or malformed file gives an error and
// leaves entries 1 to 5 empty.
Status ReadRankingFile(const PlayerFiles& files, RankingTable& ranking);
// The same for the file's bytes held in memory; `name` names it in errors.
Status ParseRanking(const std::string& bytes, const std::string& name, RankingTable& ranking);

// Ranks 1 to 5 as the file's text (UTF-8): "name,grade,score" and CR LF per
// rank. A name or grade that holds a comma or a double quote is quoted the
// way the reader takes it back; any other keeps its bytes exactly.
std::string FormatRankingText(const RankingTable& ranking);

// Replaces the file with ranks 1 to 5 in code page 932, atomically: on any
// failure the old table stays whole. The error names the file and the reason.
Status WriteRankingFile(PlayerFiles& files, const RankingTable& ranking);

}  // namespace dovetail
