#pragma once

#include <QtCore/Qt>
#include <cstdint>

#include "host/Input.h"

namespace dovetail {

// Translation of Qt's keys, modifiers and mouse buttons into the values the
// program's handlers expect: Windows virtual key codes, the shift bits 1 Shift,
// 2 Ctrl, 4 Alt, and the button numbers 1 left, 2 right, 4 middle.

// The virtual key code of a Qt key, or 0 when the key has none the program
// could see (the key is then not delivered). Keypad digits and operators map
// to the numeric-pad codes, as with Num Lock on.
int16_t VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);

int16_t ShiftFromQt(Qt::KeyboardModifiers modifiers);

// One button; buttons the program does not know are None.
MouseButton ButtonFromQt(Qt::MouseButton button);

// Every held button as a bit set (for mouse moves).
MouseButton ButtonsFromQt(Qt::MouseButtons buttons);

}  // namespace dovetail
