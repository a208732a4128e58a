#include "platform/HeadlessHost.h"

#include <algorithm>
#include <utility>

#include "platform/Dialog.h"
#include "platform/Window.h"

namespace dovetail {

void HeadlessHost::DoEvents() {
  ++clock_;
  ++doEventsCount_;
  if (onDoEvents) onDoEvents();
  // One event at a time: a handler that lets events run again (a story started
  // by a click) receives the events still queued behind its own, as queued
  // window messages reach nested message loops.
  while (!inputs_.empty() && static_cast<int32_t>(clock_ - inputs_.front().at) >= 0) {
    const ScriptedInput input = std::move(inputs_.front());
    inputs_.pop_front();
    Deliver(input);
  }
  if (window_ != nullptr) {
    window_->RunDueTimers(clock_);
    window_->RepaintIfNeeded();
  }
}

void HeadlessHost::ShowDialog(Dialog& dialog) {
  if (std::find(dialogs_.begin(), dialogs_.end(), &dialog) == dialogs_.end()) {
    dialogs_.push_back(&dialog);
  }
}

void HeadlessHost::CloseDialog(Dialog& dialog) {
  dialogs_.erase(std::remove(dialogs_.begin(), dialogs_.end(), &dialog), dialogs_.end());
}

void HeadlessHost::DeliverToDialog(const ScriptedInput& input) {
  if (dialogs_.empty()) {
    if (input.kind == ScriptedInput::Kind::DialogClose && window_ != nullptr) {
      window_->DeliverCloseRequest();
    }
    return;
  }
  Dialog& dialog = *dialogs_.back();
  switch (input.kind) {
    case ScriptedInput::Kind::Type:
      for (const DialogControl& control : dialog.Controls()) {
        if (control.kind == DialogControlKind::TextBox) {
          dialog.Find(control.name)->text = input.text;
          dialog.Changed();
          break;
        }
      }
      break;
    case ScriptedInput::Kind::Press: {
      DialogControl* control = dialog.Find(input.text);
      if (control == nullptr || !control->enabled) return;
      if (control->kind == DialogControlKind::CheckBox) {
        dialog.SetChecked(control->name, !control->checked);
      } else if (control->kind == DialogControlKind::OptionButton) {
        dialog.SetChecked(control->name, true);
      }
      if (dialog.onClick) dialog.onClick(input.text);
      break;
    }
    default:
      if (dialog.onCloseRequest) dialog.onCloseRequest();
      break;
  }
}

void HeadlessHost::Deliver(const ScriptedInput& input) {
  switch (input.kind) {
    case ScriptedInput::Kind::Type:
    case ScriptedInput::Kind::Press:
    case ScriptedInput::Kind::DialogClose:
      DeliverToDialog(input);
      return;
    default:
      break;
  }
  if (window_ == nullptr) return;
  switch (input.kind) {
    case ScriptedInput::Kind::MouseDown:
      window_->DeliverMouseDown(input.x, input.y, input.button);
      break;
    case ScriptedInput::Kind::MouseUp:
      window_->DeliverMouseUp(input.x, input.y, input.button);
      break;
    case ScriptedInput::Kind::MouseMove:
      window_->DeliverMouseMove(input.x, input.y, input.button);
      break;
    case ScriptedInput::Kind::KeyDown:
      window_->DeliverKeyDown(input.keyCode);
      break;
    case ScriptedInput::Kind::MenuClick:
      window_->DeliverMenuClick(input.menu);
      break;
    case ScriptedInput::Kind::CloseRequest:
      window_->DeliverCloseRequest();
      break;
    default:
      break;
  }
}

void HeadlessHost::Present(const Surface& frame) {
  ++presentCount_;
  if (onPresent) onPresent(frame);
}

MessageBoxAnswer HeadlessHost::MessageBox(const MessageBoxRequest& request) {
  std::optional<MessageBoxAnswer> answer;
  if (onMessageBox) answer = onMessageBox(request);
  if (!answer && !answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  MessageBoxAnswer chosen = answer.value_or(MessageBoxAnswer::Ok);
  if (request.buttons == MessageBoxButtons::Ok) chosen = MessageBoxAnswer::Ok;
  messageBoxes_.push_back({clock_, request, chosen});
  return chosen;
}

void HeadlessHost::Post(ScriptedInput input) {
  // Keep the queue ordered by time; equal times keep their posting order.
  auto it = std::upper_bound(inputs_.begin(), inputs_.end(), input,
                             [](const ScriptedInput& a, const ScriptedInput& b) {
                               return static_cast<int32_t>(a.at - b.at) < 0;
                             });
  inputs_.insert(it, std::move(input));
}

void HeadlessHost::PostClick(int32_t x, int32_t y, MouseButton button) {
  ScriptedInput down{clock_, ScriptedInput::Kind::MouseDown, x, y, button, 0, {}, {}};
  ScriptedInput up = down;
  up.kind = ScriptedInput::Kind::MouseUp;
  Post(down);
  Post(up);
}

void HeadlessHost::PostKey(int16_t keyCode) {
  Post({clock_, ScriptedInput::Kind::KeyDown, 0, 0, MouseButton::None, keyCode, {}, {}});
}

void HeadlessHost::PostDialogInput(ScriptedInput::Kind kind, std::string text) {
  ScriptedInput input;
  input.at = clock_;
  input.kind = kind;
  input.text = std::move(text);
  Post(std::move(input));
}

void HeadlessHost::PostMenuClick(std::string name) {
  Post({clock_, ScriptedInput::Kind::MenuClick, 0, 0, MouseButton::None, 0, std::move(name), {}});
}

}  // namespace dovetail
