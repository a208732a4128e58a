#pragma once

#include <cstdint>
#include <string>

#include "host/Input.h"

namespace dovetail {

class Dialog;

// One piece of the player's input in the window model's terms: client
// coordinates, the original button numbers and key codes, menu item and
// dialog control names. Each host translates what it receives into these and
// hands them, one at a time while the program lets events run, to
// Window::Deliver (the main window) or Dialog::Deliver (a program dialog).
struct InputEvent {
  enum class Kind {
    // The main window.
    MouseDown,
    DoubleClick,  // the second press of a double click
    MouseUp,
    MouseMove,
    KeyDown,
    KeyUp,
    Wheel,         // `wheel` steps at (x, y): positive turned away from the player
    MenuClick,     // `name` is the menu item
    CloseRequest,  // the window's close box
    // A program dialog (`dialog`; none: the one opened last).
    Type,         // the player typed `text` into the dialog's first text box
    Press,        // the player clicked the control named `name`
    DialogClose,  // the dialog's close box
    DialogLostFocus,
    DialogKey,  // the player pressed `keyCode` (Enter or Escape) in the dialog
  };
  Kind kind = Kind::MouseMove;
  int32_t x = 0;
  int32_t y = 0;
  // The button pressed or released; for a move, the buttons held.
  MouseButton button = MouseButton::None;
  int16_t shift = kShiftNone;
  int16_t keyCode = 0;
  int32_t wheel = 0;
  std::string name;
  std::string text;
  const Dialog* dialog = nullptr;

  bool ForDialog() const { return kind >= Kind::Type; }

  // A mouse event at client point (x, y).
  static InputEvent Mouse(Kind kind, int32_t x, int32_t y, MouseButton button) {
    InputEvent event;
    event.kind = kind;
    event.x = x;
    event.y = y;
    event.button = button;
    return event;
  }
};

}  // namespace dovetail
