#pragma once

#include <cstdint>

namespace dovetail {

// Mouse buttons with the original's numbers: 1 left, 2 right, 4 middle.
enum class MouseButton : int16_t { None = 0, Left = 1, Right = 2, Middle = 4 };

// Shift state bits: 1 Shift, 2 Ctrl, 4 Alt.
enum ShiftState : int16_t { kShiftNone = 0, kShiftShift = 1, kShiftCtrl = 2, kShiftAlt = 4 };

// A mouse event as a control receives it: coordinates are pixels relative to
// the control's top-left corner.
struct MouseEvent {
  MouseButton button = MouseButton::None;
  int16_t shift = kShiftNone;
  int32_t x = 0;
  int32_t y = 0;
};

// Virtual key codes the program looks at, and the others the page sends.
enum KeyCode : int16_t {
  kKeyBack = 8,
  kKeyTab = 9,
  kKeyReturn = 13,
  kKeyShift = 16,
  kKeyControl = 17,
  kKeyAlt = 18,
  kKeyEscape = 27,
  kKeySpace = 32,
  kKeyPageUp = 33,
  kKeyPageDown = 34,
  kKeyEnd = 35,
  kKeyHome = 36,
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40,
  kKeyInsert = 45,
  kKeyDelete = 46,
  kKeyDigit0 = 48,   // '0'; the digits follow
  kKeyA = 65,        // 'A'; the letters follow
  kKeyNumpad0 = 96,  // the keypad's 0; its digits follow
  kKeyF1 = 112,      // the function keys follow
  kKeyF12 = 123,
};

struct KeyEvent {
  int16_t keyCode = 0;
  int16_t shift = kShiftNone;
};

}  // namespace dovetail
