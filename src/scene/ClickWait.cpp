#include "scene/ClickWait.h"

namespace dovetail {

void Keys(MainForm& form, MessageState& message, Host& host) {
  message.WaitFlag = true;
  message.InKeys = true;
  form.Blinker.visible = true;
  form.Clicker.SetEnabled(true);
  form.window.Invalidate();
  while (message.WaitFlag)
    host.WaitForPlayer(10);
  message.InKeys = false;
  form.Blinker.visible = false;
  form.Clicker.SetEnabled(false);
  form.window.Invalidate();
}

void Clicker_Timer(MainForm& form) {
  form.Blinker.visible = !form.Blinker.visible;
  // Only the indicator changes: the blink composes and shows no more than it.
  form.MesBox[0]->InvalidateShape(form.Blinker);
}

}  // namespace dovetail
