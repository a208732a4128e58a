#include "scene/ClickWait.h"

namespace dovetail {

ClickWait::ClickWait(MainForm& form, MessageState& message, Host& host)
    : form_(form), message_(message), host_(host) {}

void ClickWait::Keys() {
  endedOnRequest_ = false;
  message_.WaitFlag = true;
  message_.InKeys = true;
  form_.Blinker.visible = true;
  form_.Clicker.SetEnabled(true);
  form_.window.Invalidate();
  while (message_.WaitFlag)
    host_.WaitForPlayer(10);
  message_.InKeys = false;
  form_.Blinker.visible = false;
  form_.Clicker.SetEnabled(false);
  form_.window.Invalidate();
}

void ClickWait::End() {
  if (!Running()) return;
  endedOnRequest_ = true;
  message_.WaitFlag = false;
}

void ClickWait::Clicker_Timer() {
  form_.Blinker.visible = !form_.Blinker.visible;
  // Only the indicator changes: the blink composes and shows no more than it.
  form_.MesBox[0]->InvalidateShape(form_.Blinker);
}

}  // namespace dovetail
