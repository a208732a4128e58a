#include "story/NewStory.h"

namespace dovetail {

void NewGame(StoryState& story) {
  CafeRecord& cafe = story.cafe;
  cafe = CafeRecord{};
  story.Ranking[0] = RankEntry{};
  story.StageNo = 2;
  const int16_t happy = story.counters.HappyCount;
  story.counters = StoryCounters{};
  story.counters.HappyCount = happy;
  for (int i = 1; i <= 8; ++i)
    story.Names[i] = kDefaultNames[i];
  story.ScriptPos = 0;
  story.NameEntered = false;
}

}  // namespace dovetail
