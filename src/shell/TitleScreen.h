#pragma once

#include <cstdint>
#include <functional>

#include "scene/Pictures.h"
#include "screen/PictureRegions.h"
#include "screen/SceneContext.h"
#include "shell/Settings.h"
#include "shell/Shutdown.h"
#include "sound/Sound.h"
#include "story/Interpreter.h"

namespace dovetail {

// The title's entries, Tmenu 1 to 5 from the top.
constexpr int kNewStoryEntry = 1;
constexpr int kLoadEntry = 2;
constexpr int kExtraStoryEntry = 3;
constexpr int kRankingEntry = 4;
constexpr int kQuitEntry = 5;
constexpr int kTitleEntries = 5;

// A point in the window's 640 × 480 client area.
struct TitlePoint {
  int32_t x = 0;
  int32_t y = 0;
};

// Where a press on title entry `entry` is aimed by whoever plays from outside
// the program (the auto-player, the runner's play files): the middle of the
// entry's place on the title picture, where the title puts its box.
constexpr TitlePoint TitleEntryPoint(int entry) {
  const Rect place = TitleItem(entry);
  return {place.x + place.w / 2, place.y + place.h / 2};
}

// The label where title entry 3 starts the extra story.
constexpr int16_t kExtraStoryLabel = 1059;

// What entry 3 does to the fresh story before it runs: stage 2, the script
// at the extra story's label (a missing label is reported and the story
// starts where it stood).
void EnterExtraStory(StoryState& story, Interpreter& interpreter);

// The title screen: the title picture with its five menu entries (Tmenu 1 to
// 5: new story, load, the extra story, the ranking, quit) over it, the title
// music, and the start of a story from it.
//
// The highlighted entry (CurCategory) follows the mouse: the
// entry under it takes its highlighted look from the user-interface sheet and
// the one highlighted before returns to the picture beneath it. When the
// pointer leaves the entries for the picture around them, or an entry is
// pressed, the highlighted entry returns to its normal look too (CurCategory
// keeps naming it); moving onto it again highlights it again. A press on an
// entry hides the menu and runs what it names; the story runs inside that
// press, and when it ends the title is shown again. The extra story is offered
// only once the settings carry the clear marker.
class TitleScreen {
 public:
  // Wires the menu entries' mouse events to this object. `dispRanking` shows
  // the ranking screen (mode 0: from the title); it must be set.
  TitleScreen(const SceneContext& scene, const Settings& settings, Sound& sound,
              Interpreter& interpreter, Pictures& pictures, Shutdown& shutdown,
              std::function<void(int16_t mode)> dispRanking, std::function<bool()> rankingShown);
  TitleScreen(const TitleScreen&) = delete;
  TitleScreen& operator=(const TitleScreen&) = delete;

  // Shows the title: its music (kept when it already plays), the picture and
  // the menu; hides the story's controls, enables the menu bar and resets
  // the story to a new one.
  void ShowTitle();

  // The entry highlighted (1 to 5; 0 none).
  int16_t CurCategory = 0;

  void Tmenu_MouseMove(int index);
  void Tmenu_MouseDown(int index);

  // Prepares the story screen before the interpreter runs: the stage, the
  // message window, the choice buttons and the click-wait indicator.
  void StoryInit();

  // Told when the title has been shown, and when a story is about to run
  // (after StoryInit): for the player's comforts. Optional.
  std::function<void()> onTitleShown;
  std::function<void()> onStoryStarts;

  // True while the menu waits for the player.
  bool Waiting() const;

  // Keyboard play on the title (none of it in the original): the up and down
  // arrows move the highlight the mouse gives over the entries offered, Enter
  // takes the highlighted entry as a press on it would. True when the key
  // was the title's.
  bool KeyDown(int16_t keyCode);
  // Lets the keys above reach the title first (GiveKeysFirstTo).
  void WireKeys();

 private:
  // Shows the five entries in their normal look, the window picture beneath
  // them; the extra story only after the clear marker.
  void ShowTitleItems();
  // Puts entry `index` back to its normal look (the window picture beneath).
  void ShowNormalLook(int index);
  // The highlighted entry, if shown, returns to its normal look.
  void ClearHighlight();

  SceneContext scene_;
  const Settings& settings_;
  Sound& sound_;
  Interpreter& interpreter_;
  Pictures& pictures_;
  Shutdown& shutdown_;
  std::function<void(int16_t mode)> dispRanking_;
  std::function<bool()> rankingShown_;
  // Whether the entry CurCategory names shows its highlighted look.
  bool highlightShown_ = false;
};

}  // namespace dovetail
