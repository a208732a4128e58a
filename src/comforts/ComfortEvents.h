#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dovetail {

// The message history opened or closed; it held `pages` pages.
struct HistoryEvent {
  bool open = true;
  int32_t pages = 0;
};

// Auto-advance was turned on or off.
struct AutoEvent {
  bool on = false;
};

// Why the skip of read text ended.
enum class SkipStop { Player, Unread, Choice, Stage, Ending };

// The skip of read text was turned on, or ended (`why`); at an unread page,
// `at` is the record of that page.
struct SkipEvent {
  bool on = false;
  SkipStop why = SkipStop::Player;
  int32_t at = -1;
};

// A screenshot was saved as `file`, or could not be (`error`).
struct ScreenshotEvent {
  std::string file;
  std::string error;
};

// The player was asked before quitting with progress since the last save
// point, and answered to quit or not.
struct QuitAskEvent {
  bool quit = false;
};

// The word the log uses for why a skip of read text ended.
constexpr std::string_view SkipStopName(SkipStop why) {
  switch (why) {
    case SkipStop::Player:
      return "player";
    case SkipStop::Unread:
      return "unread";
    case SkipStop::Choice:
      return "choice";
    case SkipStop::Stage:
      return "stage";
    case SkipStop::Ending:
      return "ending";
  }
  return "";
}

// Where the player's comforts beyond the original report (the run's events,
// GameEvents); none of them is reported unless the player uses it.
class ComfortEvents {
 public:
  virtual void Report(const HistoryEvent& event) = 0;
  virtual void Report(const AutoEvent& event) = 0;
  virtual void Report(const SkipEvent& event) = 0;
  virtual void Report(const ScreenshotEvent& event) = 0;
  virtual void Report(const QuitAskEvent& event) = 0;

 protected:
  ~ComfortEvents() = default;
};

}  // namespace dovetail
