#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "screen/SceneContext.h"

namespace dovetail {

class SceneEvents;

// The ending with the staff roll is played when HappyCount is exactly 1.
inline bool PlaysStaffRoll(const StoryCounters& counters) {
  return counters.HappyCount == 1;
}

// The story's end (the script command "e"). With HappyCount at exactly 1 the
// ending with the staff roll ("p06.dat"): a small panel over the darkened
// picture grows open, shows the four credit blocks and shrinks away; any
// other count gives the quiet ending ("p05.dat"). Either way the screen then
// darkens in five steps and the ranking takes over. The player's input does
// not reach the story meanwhile: the story's controls and the menu bar's
// items are disabled until the ranking is called.
class Ending {
 public:
  // `dispRanking` shows the ranking screen (called with mode 1). An ending
  // picture that cannot be loaded throws GameFailure.
  Ending(const SceneContext& scene, SceneEvents& events,
         std::function<void(int16_t mode)> dispRanking);
  Ending(const Ending&) = delete;
  Ending& operator=(const Ending&) = delete;

  void PlayEnding();

 private:
  void EnableStoryInput(bool enabled);
  // Hides the message window and the characters.
  void HideStory();
  // Loads the ending's picture and brings it onto the screen.
  void ShowEndingPicture(const char* file);
  void PlayStaffRoll();
  void OpenPanel();
  void ShowCredits();
  void ClosePanel();

  const SceneContext scene_;
  SceneEvents& events_;
  std::function<void(int16_t mode)> dispRanking_;
};

}  // namespace dovetail
