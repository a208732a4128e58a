#pragma once

#include <cstdint>

namespace dovetail {

// Where the story stands, as the comforts follow it from what the game tells
// them (Comforts::StoryStarts, TitleShown, the click-waits, …).
struct StoryCourse {
  // A story is being played (the title is not shown).
  bool running = false;
  // The ending is on: nothing after it can be saved.
  bool ending = false;
  // A click-wait after a page runs.
  bool inClickWait = false;
  // Pages shown and café stages played since the last save point.
  int32_t progressSinceSave = 0;
};

}  // namespace dovetail
