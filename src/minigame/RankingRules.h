#pragma once

#include <cstdint>

#include "minigame/RankingFile.h"

namespace dovetail {

// The rank (1 to 5) that a result of `score` takes: the first whose score it
// reaches, so a tie places the new result above the old one. 0 when it
// reaches none. An empty rank holds 0, which a negative result never reaches.
int16_t RankingPlace(const RankingTable& ranking, int32_t score);

// Puts the current result (entry 0) at rank `pos` (1 to 5); the ranks from
// `pos` on move down one and the old rank 5 drops out.
void InsertResult(RankingTable& ranking, int16_t pos);

}  // namespace dovetail
