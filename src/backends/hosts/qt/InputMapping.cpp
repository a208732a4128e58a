#include "backends/hosts/qt/InputMapping.h"

namespace dovetail {

namespace {

// Windows virtual key codes beyond letters and digits.
constexpr int16_t kVkBack = 8;
constexpr int16_t kVkTab = 9;
constexpr int16_t kVkShift = 16;
constexpr int16_t kVkControl = 17;
constexpr int16_t kVkMenu = 18;
constexpr int16_t kVkPause = 19;
constexpr int16_t kVkCapital = 20;
constexpr int16_t kVkPrior = 33;
constexpr int16_t kVkNext = 34;
constexpr int16_t kVkEnd = 35;
constexpr int16_t kVkHome = 36;
constexpr int16_t kVkLeft = 37;
constexpr int16_t kVkUp = 38;
constexpr int16_t kVkRight = 39;
constexpr int16_t kVkDown = 40;
constexpr int16_t kVkInsert = 45;
constexpr int16_t kVkDelete = 46;
constexpr int16_t kVkNumpad0 = 96;
constexpr int16_t kVkMultiply = 106;
constexpr int16_t kVkAdd = 107;
constexpr int16_t kVkSubtract = 109;
constexpr int16_t kVkDecimal = 110;
constexpr int16_t kVkDivide = 111;
constexpr int16_t kVkF1 = 112;
constexpr int kFunctionKeyCount = 24;

int16_t KeypadKey(int qtKey) {
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
    return static_cast<int16_t>(kVkNumpad0 + (qtKey - Qt::Key_0));
  }
  switch (qtKey) {
    case Qt::Key_Asterisk:
      return kVkMultiply;
    case Qt::Key_Plus:
      return kVkAdd;
    case Qt::Key_Minus:
      return kVkSubtract;
    case Qt::Key_Period:
    case Qt::Key_Comma:
      return kVkDecimal;
    case Qt::Key_Slash:
      return kVkDivide;
    default:
      return 0;
  }
}

}  // namespace

int16_t VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (modifiers.testFlag(Qt::KeypadModifier)) {
    const int16_t keypad = KeypadKey(qtKey);
    if (keypad != 0) return keypad;
  }
  // Qt's codes for letters and digits are their ASCII upper-case values, which
  // are also the virtual key codes.
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
    return static_cast<int16_t>(qtKey);
  }
  if (qtKey >= Qt::Key_F1 && qtKey < Qt::Key_F1 + kFunctionKeyCount) {
    return static_cast<int16_t>(kVkF1 + (qtKey - Qt::Key_F1));
  }
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kKeyReturn;
    case Qt::Key_Space:
      return kKeySpace;
    case Qt::Key_Escape:
      return kKeyEscape;
    case Qt::Key_Backspace:
      return kVkBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return kVkTab;
    case Qt::Key_Shift:
      return kVkShift;
    case Qt::Key_Control:
      return kVkControl;
    case Qt::Key_Alt:
      return kVkMenu;
    case Qt::Key_Pause:
      return kVkPause;
    case Qt::Key_CapsLock:
      return kVkCapital;
    case Qt::Key_PageUp:
      return kVkPrior;
    case Qt::Key_PageDown:
      return kVkNext;
    case Qt::Key_End:
      return kVkEnd;
    case Qt::Key_Home:
      return kVkHome;
    case Qt::Key_Left:
      return kVkLeft;
    case Qt::Key_Up:
      return kVkUp;
    case Qt::Key_Right:
      return kVkRight;
    case Qt::Key_Down:
      return kVkDown;
    case Qt::Key_Insert:
      return kVkInsert;
    case Qt::Key_Delete:
      return kVkDelete;
    default:
      return 0;
  }
}

int16_t ShiftFromQt(Qt::KeyboardModifiers modifiers) {
  int16_t shift = kShiftNone;
  if (modifiers.testFlag(Qt::ShiftModifier)) shift |= kShiftShift;
  if (modifiers.testFlag(Qt::ControlModifier)) shift |= kShiftCtrl;
  if (modifiers.testFlag(Qt::AltModifier)) shift |= kShiftAlt;
  return shift;
}

MouseButton ButtonFromQt(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return MouseButton::Left;
    case Qt::RightButton:
      return MouseButton::Right;
    case Qt::MiddleButton:
      return MouseButton::Middle;
    default:
      return MouseButton::None;
  }
}

MouseButton ButtonsFromQt(Qt::MouseButtons buttons) {
  int bits = 0;
  if (buttons.testFlag(Qt::LeftButton)) bits |= static_cast<int>(MouseButton::Left);
  if (buttons.testFlag(Qt::RightButton)) bits |= static_cast<int>(MouseButton::Right);
  if (buttons.testFlag(Qt::MiddleButton)) bits |= static_cast<int>(MouseButton::Middle);
  return static_cast<MouseButton>(bits);
}

}  // namespace dovetail
