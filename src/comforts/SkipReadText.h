#pragma once

#include <cstdint>
#include <functional>

#include "comforts/ComfortEvents.h"
#include "comforts/ComfortSettings.h"
#include "comforts/ReadPages.h"
#include "comforts/StoryCourse.h"
#include "host/Input.h"
#include "scene/ClickWait.h"
#include "screen/MainForm.h"
#include "storage/PlayerFiles.h"

namespace dovetail {

// The file of the pages read, among the player's files of our own.
inline constexpr std::string_view kReadPagesFile = "read-pages.txt";

// The skip of read text (Ctrl held, menu 既読スキップ): the click-waits
// after pages read on any earlier pass end at once, until the first page
// never read, a choice, a café stage or the ending. What was read is kept in
// a file of our own, written at the save points, the title and the quit.
class SkipReadText {
 public:
  SkipReadText(MainForm& form, Host& host, ComfortEvents& events, PlayerFiles& ownFiles,
               ClickWait& clickWait, const StoryCourse& course, ComfortSettings& settings,
               std::function<void()> settingsChanged);
  SkipReadText(const SkipReadText&) = delete;
  SkipReadText& operator=(const SkipReadText&) = delete;

  // The menu item, and Ctrl's release.
  void Wire();

  bool Skipping() const { return skipping_; }
  // `held`: while Ctrl is held, else until turned off.
  void Start(bool held);
  void Stop(SkipStop why, int32_t at = -1);
  // Told before a skip starts (the history closes).
  std::function<void()> onStarting;

  // A page at record `position` was shown; it is marked read.
  void PageShown(int32_t position);
  // True when the click-wait after the page just shown is passed.
  bool PassesPage();
  // Writes the pages read, if any are new. Failures go to the diagnostics.
  void Save();

 private:
  MainForm& form_;
  Host& host_;
  ComfortEvents& events_;
  PlayerFiles& ownFiles_;
  ClickWait& clickWait_;
  const StoryCourse& course_;
  ComfortSettings& settings_;
  const std::function<void()> settingsChanged_;
  ReadPages read_;
  MenuItem& item_;
  bool skipping_ = false;
  bool held_ = false;
  int32_t pagePosition_ = -1;
  bool pageReadBefore_ = false;
  bool kept_ = true;
};

}  // namespace dovetail
