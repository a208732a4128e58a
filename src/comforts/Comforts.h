#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "comforts/ComfortSettings.h"
#include "comforts/HistoryView.h"
#include "comforts/MessageHistory.h"
#include "comforts/ReadPages.h"
#include "platform/GameEvents.h"
#include "scene/Choices.h"
#include "scene/PageComforts.h"
#include "screen/SceneContext.h"
#include "script/FolderPlayerFiles.h"

namespace dovetail {

// Texts of the comforts' menu (the drop-down "便利機能" after the game's own
// items) and the question before quitting with progress since the save.
inline constexpr const char* kComfortMenu = "便利機能";
inline constexpr const char* kQuitAskText = "前回のセーブ以降の進行は失われます。終了しますか？";

// The file of the pages read, in the player's folder.
inline constexpr std::string_view kReadPagesFile = "read-pages.txt";

// The player's comforts beyond the original, none of which acts until the
// player asks for it:
// - the message history (wheel up, Page Up, menu): the pages of the story
//   being played, over the darkened story; wheel and arrows scroll, wheel
//   down past the newest page, a right click, Escape or Enter close it;
//   offered at a click-wait or a choice while the message window shows;
// - auto-advance (key A, menu): a click-wait after a message ends by itself
//   after a pause that grows with the message's length; the player's own
//   advance turns it off; it acts at no other wait (choices, dialogs,
//   message boxes, the café, the ending wait for the player as before);
// - the skip of read text (Ctrl held, menu): click-waits after messages read
//   on any earlier play pass at once, until the first message never read, a
//   choice, a café stage or the ending;
// - screenshots (F12, menu) of the window as shown, into the screenshot
//   folder, with a note naming the file for two seconds;
// - a question before quitting (menu 終了, close box) with story progress
//   since the last save point.
// What the player chose is remembered in a settings file of our own, what
// was read in another; neither is ever one of the game's files.
class Comforts final : public PageComforts {
 public:
  Comforts(const SceneContext& scene, const Choices& choices);
  Comforts(const Comforts&) = delete;
  Comforts& operator=(const Comforts&) = delete;

  // Takes the window's key preview, the wheel, Ctrl's release and the menu
  // items of the comforts.
  void Wire();

  // Where screenshots go (the desktop's pictures folder, a runner's snapshot
  // folder); none: a screenshot reports that it has nowhere to go.
  void SetScreenshotFolder(FolderPlayerFiles folder) { screenshots_ = std::move(folder); }

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
  void SaveReadPages();

  // True while a click-wait will end without the player (auto-advance).
  bool EndsClickWaitItself() const;

  // The desktop view remembered (zoom, full screen): read at start-up and
  // written when the player changes it.
  const ComfortSettings& Settings() const { return settings_; }
  void ViewChanged(int16_t zoom, bool fullScreen);

  // The player's actions, as the keys and the menu give them.
  void OpenHistory();
  void ToggleAutoAdvance();
  void SetAutoSpeed(AutoSpeed speed);
  void StartSkipRead(bool held);
  void StopSkipRead(SkipStop why, int32_t at = -1);
  void TakeScreenshot();

  // PageComforts.
  void PageShown(const ShownPage& page) override;
  bool PassesPage() override;
  void ClickWaitBegins() override;
  void ClickWaitEnds() override;
  bool DrawsWholeLines() const override { return skipping_; }

  // The pause before auto-advance turns a page of `characters` characters.
  static uint32_t AutoPause(AutoSpeed speed, int32_t characters);

 private:
  bool HistoryOffered() const;
  void CloseHistory();
  void HistoryKeyDown(int16_t keyCode);
  bool KeyDown(int16_t keyCode);
  void Wheel(int32_t steps);
  void AutoTurnsPage();
  void SetAutoAdvance(bool on);
  void ShowAutoMark();
  void ShowNote(const std::string& text);
  void UpdateMenu();
  void SaveSettings();
  // Ends the click-wait running now on the comforts' behalf.
  void EndClickWait();

  SceneContext scene_;
  const Choices& choices_;
  ComfortSettings settings_;
  ComfortSettings savedSettings_;
  MessageHistory history_;
  HistoryView view_;
  ReadPages read_;
  FolderPlayerFiles screenshots_ = FolderPlayerFiles::Folder({});

  MenuItem& historyItem_;
  MenuItem& autoItem_;
  std::array<MenuItem*, 3> speedItems_{};
  MenuItem& skipItem_;
  MenuItem& screenshotItem_;
  Timer& autoTimer_;
  Timer& noteTimer_;
  Shape& autoMark_;
  PictureBox& note_;

  bool autoAdvance_ = false;
  bool skipping_ = false;
  bool skipHeld_ = false;
  bool inClickWait_ = false;
  bool endedByComforts_ = false;
  bool storyRunning_ = false;
  bool ending_ = false;
  int32_t progressSinceSave_ = 0;
  int32_t pagePosition_ = -1;
  bool pageReadBefore_ = false;
  int32_t pageCharacters_ = 0;
  bool readPagesKept_ = true;
  bool skipWasEnabled_ = false;
};

}  // namespace dovetail
