#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace dovetail {

// What a run reports while it plays, one typed event each: the record the
// story steps to, the text and choices the player sees, the screen
// transitions and the sound. The headless runner writes them as its JSON
// Lines log; tests record them; the desktop program ignores them.
//
// A subsystem that has something to tell adds its event type here and to
// GameEvent; every sink that looks at the events (the runner's writer visits
// them all) then fails to compile until it handles the new one.

// The interpreter copied record `position` (label, trimmed command) and is
// about to act on it.
struct StepEvent {
  int32_t position = 0;
  int16_t label = 0;
  std::string command;
};

// A message was drawn: the speaker's number, the tag shown before the text and
// the text itself.
struct TextEvent {
  int16_t speaker = 0;
  std::string tag;
  std::string text;
};

// The player chose entry `chosen` (from 0) of the captions offered.
struct ChoiceEvent {
  std::vector<std::string> texts;
  int chosen = 0;
};

// A screen transition starts, named by its effect code.
struct EffectEvent {
  std::string code;
};

// What the music did to a piece.
enum class BgmAction { Open, Play, Stop, Rewind };

struct BgmEvent {
  BgmAction action = BgmAction::Open;
  std::string file;  // the piece's path as the program named it
};

// A sound effect started.
struct WaveEvent {
  int32_t id = 0;
};

// The master volume was set.
struct VolumeEvent {
  uint32_t value = 0;
};

// A café stage starts or ends.
struct StageEvent {
  int16_t stage = 0;
  bool start = true;
};

// A customer sits at `seat` (1..3) with look `look` and waits with an order
// (dish codes, up to three; none for an empty order) that can be served now.
struct CustomerEvent {
  int16_t seat = 0;
  int16_t look = 0;
  std::vector<int16_t> order;
};

// The customer at `seat` was served, correctly or not, `ms` after arriving.
struct ServeEvent {
  int16_t seat = 0;
  bool correct = false;
  uint32_t ms = 0;
};

// The customer at `seat` gave up waiting and left.
struct GiveUpEvent {
  int16_t seat = 0;
};

// A day was evaluated: speed, accuracy and count scores, their sum and the
// daily grade 0..4.
struct DayEvent {
  int32_t s1 = 0;
  int32_t s2 = 0;
  int32_t s3 = 0;
  int32_t day = 0;
  int32_t grade = 0;
};

// The whole game was evaluated: the sum of the days, the bonus, the score and
// the grade letter.
struct FinalEvent {
  int32_t total = 0;
  int32_t bonus = 0;
  int32_t score = 0;
  std::string grade;
};

// A dialog of the program opened or closed, named as the program names it
// ("Option_Window", "frmAbout", "NameEnt").
enum class DialogAction { Open, Close };

struct DialogEvent {
  std::string name;
  DialogAction action = DialogAction::Open;
};

// The story's ending starts, with the staff roll or without it.
struct EndingEvent {
  bool staffroll = false;
};

// One row of the ranking screen as drawn.
struct RankingRow {
  int16_t rank = 0;
  std::string name;
  int32_t score = 0;
  std::string grade;
};

// The ranking screen was asked for (mode 0 from the title, 1 after the
// ending): the rank the current result took (0: none highlighted), whether
// the screen is shown (a result that takes no rank goes straight back to the
// title) and the rows drawn, best first.
struct RankingEvent {
  int16_t mode = 0;
  int16_t pos = 0;
  bool shown = false;
  std::vector<RankingRow> rows;
};

// The player's comforts beyond the original. None of them is reported unless
// the player uses it.

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

using GameEvent = std::variant<StepEvent, TextEvent, ChoiceEvent, EffectEvent, BgmEvent, WaveEvent,
                               VolumeEvent, StageEvent, CustomerEvent, ServeEvent, GiveUpEvent,
                               DayEvent, FinalEvent, DialogEvent, EndingEvent, RankingEvent,
                               HistoryEvent, AutoEvent, SkipEvent, ScreenshotEvent, QuitAskEvent>;

// The word the log uses for a music action.
constexpr std::string_view BgmActionName(BgmAction action) {
  switch (action) {
    case BgmAction::Open:
      return "open";
    case BgmAction::Play:
      return "play";
    case BgmAction::Stop:
      return "stop";
    case BgmAction::Rewind:
      return "rewind";
  }
  return "";
}

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

// The word the log uses for a dialog action.
constexpr std::string_view DialogActionName(DialogAction action) {
  return action == DialogAction::Open ? "open" : "close";
}

// The sink every subsystem of a run reports to. Report runs at once, inside
// the subsystem's own call; it must not call back into the program.
class GameEvents {
 public:
  virtual void Report(const GameEvent& event) = 0;

 protected:
  ~GameEvents() = default;
};

// A sink for runs nobody watches.
class IgnoredEvents final : public GameEvents {
 public:
  void Report(const GameEvent&) override {}
};

}  // namespace dovetail
