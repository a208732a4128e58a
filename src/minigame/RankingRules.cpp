#include "minigame/RankingRules.h"

#include <cassert>

namespace dovetail {

int16_t RankingPlace(const RankingTable& ranking, int32_t score) {
  for (int16_t rank = 1; rank <= 5; ++rank) {
    if (score >= ranking[rank].Score) return rank;
  }
  return 0;
}

void InsertResult(RankingTable& ranking, int16_t pos) {
  assert(pos >= 1 && pos <= 5 && "a result is inserted at rank 1 to 5");
  for (int rank = 4; rank >= pos; --rank)
    ranking[rank + 1] = ranking[rank];
  ranking[pos] = ranking[0];
}

}  // namespace dovetail
