#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "host/InputEvent.h"

namespace dovetail {

enum class DialogControlKind { Label, TextBox, Button, CheckBox, OptionButton, Frame, Link };

// One control of a small dialog. The dialog's logic reads and writes these
// fields; the host draws them and writes the player's edits (text typed,
// boxes ticked) back before it calls the dialog's handlers.
struct DialogControl {
  std::string name;
  DialogControlKind kind = DialogControlKind::Label;
  std::string text;  // caption, or the contents of a text box
  int32_t left = 0;  // layout in pixels of the dialog's client area
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool enabled = true;
  bool checked = false;    // check boxes and option buttons
  bool multiLine = false;  // text boxes
  // Text boxes: the most characters the box takes (one more typed is
  // refused, as the widget refuses it); 0 for no limit.
  int32_t maxLength = 0;
  std::string frame;  // the frame holding it; option buttons of one frame are one group
};

// A small modeless dialog (name entry, options, about box), toolkit-free. The
// program fills it and asks the host to show it; clicks, the close box and
// losing the focus reach the handlers while events are let run.
class Dialog {
 public:
  std::string caption;
  int32_t width = 0;  // client size in pixels
  int32_t height = 0;
  bool topmost = false;
  // The input method is opened for the text boxes while this is set.
  bool imeOpen = false;
  // The button Enter presses (none: Enter does nothing).
  std::string defaultButton;
  // Whether Escape acts as the close box.
  bool escapeCloses = false;

  DialogControl& Add(DialogControlKind kind, std::string name, std::string text, int32_t left,
                     int32_t top, int32_t controlWidth, int32_t controlHeight);
  DialogControl* Find(const std::string& name);
  const std::deque<DialogControl>& Controls() const { return controls_; }

  // Ticks an option button and clears the others of its frame, or sets a check
  // box; for the host and for scripted input.
  void SetChecked(const std::string& name, bool checked);

  // The player's input for this dialog, after the host has written the
  // player's edits into the controls: Press runs onClick for the control
  // (nothing when it is gone or disabled), DialogClose onCloseRequest,
  // DialogLostFocus onLostFocus; DialogKey is Enter, a press of the default
  // button, or Escape, the close box when `escapeCloses`. Type is the host's
  // business (it is the edit itself) and runs nothing.
  void Deliver(const InputEvent& input);
  // The same for a host whose widgets report the player's actions rather
  // than keeping edits of their own (the headless and the browser hosts):
  // Type puts the text into the first text box (cut to its length), Press
  // first ticks a check box or option button as its widget would.
  void TakePlayerInput(const InputEvent& input);

  // A button, check box, option button or link was clicked.
  std::function<void(const std::string& control)> onClick;
  // The close box.
  std::function<void()> onCloseRequest;
  // Another window took the focus.
  std::function<void()> onLostFocus;

  // Increases when the program changes the dialog, so the host re-reads it.
  uint64_t Revision() const { return revision_; }
  void Changed() { ++revision_; }

 private:
  // A click on the control, unless it is gone or disabled.
  void Press(const std::string& name);

  std::deque<DialogControl> controls_;  // a deque: references stay valid
  uint64_t revision_ = 0;
};

}  // namespace dovetail
