#pragma once

// The numbers and names the page shares with the program, in one place: the
// input kinds it posts, the mouse buttons, shift bits and key codes it
// translates the browser's input into, the dialog control kinds it draws,
// the layout of PageEvent and the page functions that suspend the program.
// tools/pageseam writes the page's module and the link's list of suspending
// imports from these tables; the program reads the control kinds' names
// from here too. A value added to one of the enums needs its entry here (a
// test checks every named value of each against its table).

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "backends/hosts/web/PageSeam.h"
#include "host/Input.h"
#include "host/InputEvent.h"
#include "window/Dialog.h"

namespace dovetail::page {

// A name the page uses for one value of the program's.
struct Named {
  std::string_view name;
  int32_t value;
};

constexpr int32_t Value(InputEvent::Kind kind) {
  return static_cast<int32_t>(kind);
}

// Every InputEvent::Kind, in the enum's order.
inline constexpr Named kInputKinds[] = {
    {"MouseDown", Value(InputEvent::Kind::MouseDown)},
    {"DoubleClick", Value(InputEvent::Kind::DoubleClick)},
    {"MouseUp", Value(InputEvent::Kind::MouseUp)},
    {"MouseMove", Value(InputEvent::Kind::MouseMove)},
    {"KeyDown", Value(InputEvent::Kind::KeyDown)},
    {"KeyUp", Value(InputEvent::Kind::KeyUp)},
    {"Wheel", Value(InputEvent::Kind::Wheel)},
    {"MenuClick", Value(InputEvent::Kind::MenuClick)},
    {"CloseRequest", Value(InputEvent::Kind::CloseRequest)},
    {"Type", Value(InputEvent::Kind::Type)},
    {"Press", Value(InputEvent::Kind::Press)},
    {"DialogClose", Value(InputEvent::Kind::DialogClose)},
    {"DialogLostFocus", Value(InputEvent::Kind::DialogLostFocus)},
    {"DialogKey", Value(InputEvent::Kind::DialogKey)},
};

// A mouse button, and the browser's number for it (MouseEvent.button;
// -1: none).
struct Button {
  std::string_view name;
  MouseButton value;
  int32_t browserButton;
};

inline constexpr Button kMouseButtons[] = {
    {"None", MouseButton::None, -1},
    {"Left", MouseButton::Left, 0},
    {"Middle", MouseButton::Middle, 1},
    {"Right", MouseButton::Right, 2},
};

inline constexpr Named kShiftBits[] = {
    {"Shift", kShiftShift},
    {"Ctrl", kShiftCtrl},
    {"Alt", kShiftAlt},
};

// Keys the page knows by the browser's name for them (KeyboardEvent.key).
inline constexpr Named kNamedKeys[] = {
    {"Backspace", kKeyBack},    {"Tab", kKeyTab},         {"Enter", kKeyReturn},
    {"Shift", kKeyShift},       {"Control", kKeyControl}, {"Alt", kKeyAlt},
    {"Escape", kKeyEscape},     {" ", kKeySpace},         {"PageUp", kKeyPageUp},
    {"PageDown", kKeyPageDown}, {"End", kKeyEnd},         {"Home", kKeyHome},
    {"ArrowLeft", kKeyLeft},    {"ArrowUp", kKeyUp},      {"ArrowRight", kKeyRight},
    {"ArrowDown", kKeyDown},    {"Insert", kKeyInsert},   {"Delete", kKeyDelete},
};

// Where the browser tells a key: its name (KeyboardEvent.key) or its place
// on the keyboard, whatever the layout (KeyboardEvent.code).
enum class KeySource { Name, Place };

// A run of keys with consecutive codes: `prefix` and the first label, then
// the labels that follow it (digits count up as numbers, letters through the
// alphabet): "F1" to "F12", "KeyA" to "KeyZ".
struct KeyRun {
  KeySource source;
  std::string_view prefix;
  char first;
  int32_t count;
  int16_t code;
};

inline constexpr KeyRun kKeyRuns[] = {
    {KeySource::Name, "F", '1', 12, kKeyF1},
    {KeySource::Place, "Key", 'A', 26, kKeyA},
    {KeySource::Place, "Digit", '0', 10, kKeyDigit0},
    {KeySource::Place, "Numpad", '0', 10, kKeyNumpad0},
};

// A dialog control kind: the enum's name for it and the page's (in the
// dialogs' descriptions), in the enum's order.
struct ControlKind {
  std::string_view name;
  std::string_view pageName;
  DialogControlKind value;
};

inline constexpr ControlKind kControlKinds[] = {
    {"Label", "label", DialogControlKind::Label},
    {"TextBox", "text", DialogControlKind::TextBox},
    {"Button", "button", DialogControlKind::Button},
    {"CheckBox", "check", DialogControlKind::CheckBox},
    {"OptionButton", "option", DialogControlKind::OptionButton},
    {"Frame", "frame", DialogControlKind::Frame},
    {"Link", "link", DialogControlKind::Link},
};

constexpr std::string_view ControlKindName(DialogControlKind kind) {
  return kControlKinds[static_cast<size_t>(kind)].pageName;
}

// PageEvent's fields: where each lies and how many bytes it holds (a
// number is one 32-bit word; a text's size includes its NUL).
struct Field {
  std::string_view name;
  size_t offset;
  size_t size;
  bool text;
};

inline constexpr Field kPageEventFields[] = {
    {"kind", offsetof(PageEvent, kind), sizeof(PageEvent::kind), false},
    {"x", offsetof(PageEvent, x), sizeof(PageEvent::x), false},
    {"y", offsetof(PageEvent, y), sizeof(PageEvent::y), false},
    {"button", offsetof(PageEvent, button), sizeof(PageEvent::button), false},
    {"shift", offsetof(PageEvent, shift), sizeof(PageEvent::shift), false},
    {"keyCode", offsetof(PageEvent, keyCode), sizeof(PageEvent::keyCode), false},
    {"wheel", offsetof(PageEvent, wheel), sizeof(PageEvent::wheel), false},
    {"dialog", offsetof(PageEvent, dialog), sizeof(PageEvent::dialog), false},
    {"name", offsetof(PageEvent, name), sizeof(PageEvent::name), true},
    {"text", offsetof(PageEvent, text), sizeof(PageEvent::text), true},
};

// The page functions that suspend the program until the page answers
// (emscripten's ASYNCIFY unwinds the program's stack through them).
inline constexpr std::string_view kSuspendingFunctions[] = {
    "dovetail_web_wait",
    "dovetail_web_message_box",
    "dovetail_web_store_file",
};

}  // namespace dovetail::page
