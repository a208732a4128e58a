#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "shell/WaitState.h"

namespace dovetail {

// One command of a play file: input for a headless run, one a line.
struct PlayCommand {
  enum class Kind {
    Wait,    // wait MS
    Until,   // until STATE
    Click,   // click X Y
    RClick,  // rclick X Y
    Move,    // move X Y
    Key,     // key NAME (a press; "key ctrl-up" releases Ctrl: KeyUp)
    KeyUp,
    Wheel,   // wheel up|down
    Menu,    // menu NAME
    Answer,  // answer ok|cancel
    Type,    // type TEXT
    Press,   // press CONTROL
    Close,   // close
    Snap,    // snap NAME
    // Café: serve the customer who has waited longest, correctly or wrongly,
    // by mouse on the board (waits for a customer first).
    Serve,       // serve
    ServeWrong,  // serve-wrong
  };
  Kind kind = Kind::Wait;
  int32_t x = 0;
  int32_t y = 0;
  int32_t ms = 0;
  int16_t keyCode = 0;
  int32_t wheel = 0;     // steps, positive up
  std::string argument;  // state, menu item, answer, text, control or snapshot name
  int line = 0;
};

// The states a play file can wait for: the program's own wait states, and a
// message box.
inline constexpr std::string_view kPlayStates[] = {WaitStateName(WaitState::Title),
                                                   WaitStateName(WaitState::ClickWait),
                                                   WaitStateName(WaitState::Choice),
                                                   WaitStateName(WaitState::Dialog),
                                                   WaitStateName(WaitState::Customer),
                                                   WaitStateName(WaitState::Ranking),
                                                   "message-box"};

// Parses a play file. Blank lines and lines starting with "#" are skipped.
// Errors name the file and line.
Result<std::vector<PlayCommand>> ParsePlayFile(std::string_view text, const std::string& name);

// The key code of a key name: "space", "enter" (or "return"), "escape", the
// arrows, "pageup", "pagedown", "f12", "ctrl" (also "ctrl-down"), a letter
// or a digit.
int16_t KeyCodeOf(std::string_view name);

// True when the commands play the café themselves (serve, serve-wrong or
// until customer); a run's café policy then stays out of the way.
bool PlaysCafe(const std::vector<PlayCommand>& commands);

}  // namespace dovetail
