#pragma once

#include <cstdint>
#include <string>

#include "platform/Input.h"

namespace dovetail {

class Dialog;

// One piece of input the desktop window received, already translated into the
// window model's terms (client coordinates, original button numbers and key
// codes). Qt's event handlers only record these; the host hands them to the
// model while the program lets events run, so no program code ever runs inside
// Qt's own event dispatch.
struct HostInput {
  // The dialog kinds name the dialog and, for a click, the control (in `menu`).
  enum class Kind {
    MouseDown,
    DoubleClick,
    MouseUp,
    MouseMove,
    KeyDown,
    MenuClick,
    CloseRequest,
    DialogClick,
    DialogClose,
    DialogLostFocus
  };
  Kind kind = Kind::MouseMove;
  int32_t x = 0;
  int32_t y = 0;
  // The button pressed or released; for a move, the buttons held (bit set).
  MouseButton button = MouseButton::None;
  int16_t shift = kShiftNone;
  int16_t keyCode = 0;
  std::string menu;
  const Dialog* dialog = nullptr;
};

}  // namespace dovetail
