#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "comforts/ComfortEvents.h"
#include "comforts/ComfortSettings.h"
#include "comforts/StoryCourse.h"
#include "graphics/TextRenderer.h"
#include "scene/ClickWait.h"
#include "screen/MainForm.h"

namespace dovetail {

// Auto-advance (key A, menu オート): a click-wait after a page ends by itself
// after a pause that grows with the page's length, at one of three speeds;
// the player's own advance turns it off. It acts at no other wait (choices,
// dialogs, message boxes, the café and the ending wait for the player as
// before). "AUTO" shows in the message window while it is on.
class AutoAdvance {
 public:
  // `historyOpen` tells whether the player looks back at the history;
  // `settingsChanged` is called after each change of `settings`.
  AutoAdvance(MainForm& form, TextRenderer& text, ComfortEvents& events, ClickWait& clickWait,
              const StoryCourse& course, ComfortSettings& settings,
              std::function<bool()> historyOpen, std::function<void()> settingsChanged);
  AutoAdvance(const AutoAdvance&) = delete;
  AutoAdvance& operator=(const AutoAdvance&) = delete;

  // The menu items and the pause's timer.
  void Wire();

  bool On() const { return on_; }
  void Toggle() { Set(!on_); }
  void Set(bool on);
  void SetSpeed(AutoSpeed speed);

  // A page of `characters` characters was shown.
  void PageShown(int32_t characters) { pageCharacters_ = characters; }
  // The click-wait after the page begins: the pause starts.
  void ClickWaitBegins();
  // The click-wait ended; `byPlayer`: the player went on, and auto-advance
  // gives way.
  void ClickWaitEnds(bool byPlayer);
  // The pause stands still (the history is open), and goes on.
  void Pause();
  void Resume();
  // True while the click-wait running now will end by itself.
  bool EndsClickWait() const;

  // The pause before a page of `characters` characters turns.
  static uint32_t Pause(AutoSpeed speed, int32_t characters);

 private:
  void TurnPage();
  // The page may turn: the player does not look back at the history, the
  // picture (the message window hidden) or a dialog (the window disabled).
  bool PageWatched() const;
  void ShowMark();
  void UpdateMenu();

  MainForm& form_;
  ComfortEvents& events_;
  ClickWait& clickWait_;
  const StoryCourse& course_;
  ComfortSettings& settings_;
  const std::function<bool()> historyOpen_;
  const std::function<void()> settingsChanged_;
  MenuItem& item_;
  std::array<MenuItem*, 3> speedItems_{};
  Timer& timer_;
  Shape& mark_;
  bool on_ = false;
  int32_t pageCharacters_ = 0;
};

}  // namespace dovetail
