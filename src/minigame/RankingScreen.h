#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "screen/SceneContext.h"
#include "sound/Sound.h"

namespace dovetail {

class CafeEvents;
struct RankingRow;

// The ranking screen: the five best results ("30.dat", the story's Ranking 1
// to 5) drawn over the ranking picture "p07.dat" on PicMainBak, with an exit
// button (Ranking_exit) that returns to the title. After the ending the
// current result (Ranking 0) first takes its rank when it reaches one; its
// row is drawn yellow and the file is rewritten. The screen stays up until
// the exit button is clicked; DispRanking itself returns at once.
class RankingScreen {
 public:
  // Adds the exit button to the window and wires it and PicMainBak's mouse
  // moves to this object. `showTitle` builds the title screen. A picture
  // that cannot be loaded throws GameFailure.
  RankingScreen(const SceneContext& scene, CafeEvents& events, Sound& sound,
                std::function<void()> showTitle);
  RankingScreen(const RankingScreen&) = delete;
  RankingScreen& operator=(const RankingScreen&) = delete;

  // Mode 0 (the title) shows the table as it is; mode 1 (the ending) inserts
  // the current result first. A result that takes no rank goes straight back
  // to the title and leaves the file alone. A file that cannot be written is
  // reported once per run and the screen shows the new table all the same.
  void DispRanking(int16_t mode);

  // The hover look of the button, from the user-interface sheet.
  void Ranking_exit_MouseMove();
  // The normal look of the button, from the ranking picture, while the
  // screen is shown.
  void PicMainBak_MouseMove();
  // Leaves the screen for the title.
  void Ranking_exit_Click();

  PictureBox& Ranking_exit;
  // The screen is shown (from DispRanking until it is left).
  bool RankingShown = false;

 private:
  // Draws ranks 1 to 5 (empty ones skipped) with row `pos` in yellow;
  // returns the rows drawn.
  std::vector<RankingRow> DrawRows(int16_t pos);
  void HideScreen();

  const SceneContext scene_;
  CafeEvents& events_;
  Sound& sound_;
  std::function<void()> showTitle_;
  bool writeFailureReported_ = false;
};

}  // namespace dovetail
