#include "window/EventPump.h"

#include "window/Window.h"

namespace dovetail {

void EventSource::DeliverToWindow(Window& window, const InputEvent& input) {
  window.Deliver(input);
}

namespace {

void Deliver(EventSource& source, const InputEvent& input) {
  if (input.kind == InputEvent::Kind::KeyDown && source.DialogHasKeyboard()) {
    InputEvent key = input;
    key.kind = InputEvent::Kind::DialogKey;
    source.DeliverToDialog(key);
  } else if (input.ForDialog()) {
    source.DeliverToDialog(input);
  } else if (Window* window = source.AttachedWindow()) {
    source.DeliverToWindow(*window, input);
  }
}

}  // namespace

void PumpEvents(Host& host, EventSource& source) {
  InputEvent input;
  while (source.TakeInput(input))
    Deliver(source, input);
  if (Window* window = source.AttachedWindow()) {
    window->RunDueTimers(host.TickCount());
    window->RepaintIfNeeded();
  }
  source.SyncMenuAndDialogs();
}

}  // namespace dovetail
