#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "base/Result.h"
#include "script/StoryState.h"

namespace dovetail {

// The largest ranking file read: five lines of a name, a grade and a score
// take well under a kilobyte.
inline constexpr uint64_t kMaxRankingFileBytes = uint64_t{16} << 10;

// The five best results, "30.dat": one line per rank, name, grade and score.
using RankingTable = std::array<RankEntry, 6>;

// Reads ranks 1 to 5 into entries 1 to 5 of `ranking` (entry 0, the current
// player, is left alone). A missing or malformed file gives an error and
// leaves entries 1 to 5 empty.
Status ReadRankingFile(const std::filesystem::path& path, RankingTable& ranking);
// The same for the file's bytes held in memory; `name` names it in errors.
Status ParseRanking(const std::string& bytes, const std::string& name, RankingTable& ranking);

}  // namespace dovetail
