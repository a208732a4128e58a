#pragma once

#include <cstdint>
#include <functional>

#include "comforts/AutoAdvance.h"
#include "comforts/ComfortEvents.h"
#include "comforts/ComfortSettings.h"
#include "comforts/HistoryComfort.h"
#include "comforts/ScreenshotComfort.h"
#include "comforts/SkipReadText.h"
#include "comforts/StoryCourse.h"
#include "scene/Choices.h"
#include "scene/ClickWait.h"
#include "scene/PageComforts.h"
#include "screen/SceneContext.h"
#include "storage/FolderPlayerFiles.h"

namespace dovetail {

// The player's comforts beyond the original, none of which acts until the
// player asks for it: the message history (HistoryComfort), auto-advance
// (AutoAdvance), the skip of read text (SkipReadText), screenshots
// (ScreenshotComfort) and the question before quitting (ConfirmQuit). This
// is the thin controller that wires them: it follows the story's course for
// them, hands them the keys, the wheel and the pages, and keeps what the
// player chose in a settings file of our own (never one of the game's files).
class Comforts final : public PageComforts {
 public:
  // `clickWait` is the message window's, which the comforts may end on the
  // player's behalf; `stageRunning` tells whether a café stage runs.
  Comforts(const SceneContext& scene, ComfortEvents& events, const Choices& choices,
           ClickWait& clickWait, std::function<bool()> stageRunning);
  Comforts(const Comforts&) = delete;
  Comforts& operator=(const Comforts&) = delete;

  // Takes the window's key preview, the wheel, Ctrl's release and the menu
  // items of the comforts.
  void Wire();

  void SetScreenshotFolder(FolderPlayerFiles folder) { screenshots_.SetFolder(std::move(folder)); }

  // The story's course, told by the game.
  void StoryStarts();
  void TitleShown();
  void SavePointReached();
  // The story reached a choice, a café stage or the ending: the skip of read
  // text ends there.
  void StoryReaches(SkipStop where);

  // Asks before quitting when the story has progress since its last save
  // point; true when the program is to quit.
  bool ConfirmQuit();
  // Writes the pages read, if any are new. Failures go to the diagnostics.
  void SaveReadPages() { skip_.Save(); }

  // True while a click-wait will end without the player (auto-advance).
  bool EndsClickWaitItself() const { return auto_.EndsClickWait(); }

  // The desktop view remembered (zoom, full screen): read at start-up and
  // written when the player changes it.
  const ComfortSettings& Settings() const { return settings_; }
  void ViewChanged(int16_t zoom, bool fullScreen);

  // PageComforts.
  void PageShown(const ShownPage& page) override;
  bool PassesPage() override { return skip_.PassesPage(); }
  void ClickWaitBegins() override;
  void ClickWaitEnds() override;
  bool DrawsWholeLines() const override { return skip_.Skipping(); }

 private:
  bool KeyDown(int16_t keyCode);
  void SaveSettings();

  const SceneContext scene_;
  ComfortEvents& events_;
  ClickWait& clickWait_;
  ComfortSettings settings_;
  ComfortSettings savedSettings_;
  StoryCourse course_;
  // Built in this order, so that their menu items, timers and pictures are
  // made in the order the menu shows them.
  HistoryComfort history_;
  AutoAdvance auto_;
  SkipReadText skip_;
  ScreenshotComfort screenshots_;
};

}  // namespace dovetail
