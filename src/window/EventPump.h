#pragma once

#include "host/Host.h"
#include "host/InputEvent.h"

namespace dovetail {

class Window;

// What each host does its own way when events run: where its input comes
// from, how a dialog's input reaches the dialog, and how it shows the menu
// bar and the dialogs afterwards. The order around them is PumpEvents'.
class EventSource {
 public:
  virtual ~EventSource() = default;

  // The window the program has attached, or null.
  virtual Window* AttachedWindow() const = 0;
  // The next input to hand over now; false when there is none (yet).
  virtual bool TakeInput(InputEvent& input) = 0;
  // Whether an open dialog has the keyboard, so that a key pressed goes to
  // it as a DialogKey (where the host's dialogs do not take keys themselves).
  virtual bool DialogHasKeyboard() const { return false; }
  // A dialog's input (InputEvent::ForDialog), to the dialog it is for.
  virtual void DeliverToDialog(const InputEvent& input) = 0;
  // The window's own input.
  virtual void DeliverToWindow(Window& window, const InputEvent& input);
  // Shows the menu bar and the open dialogs as the program has left them.
  virtual void SyncMenuAndDialogs() {}
};

// Lets the program's events run once: the source's input, one event at a
// time, each to its place (a dialog's input to its dialog, a key to a dialog
// that has the keyboard, the rest to the window); then the window's timers
// due at the host's time, its repaint, and the menu and dialogs synced.
// A handler that lets events run again (a story started by a click) takes
// the input still waiting behind its own, so the order of arrival is kept.
void PumpEvents(Host& host, EventSource& source);

}  // namespace dovetail
