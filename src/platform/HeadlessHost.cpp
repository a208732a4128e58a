#include "platform/HeadlessHost.h"

#include <algorithm>
#include <utility>

#include "platform/Window.h"

namespace dovetail {

void HeadlessHost::DoEvents() {
  ++clock_;
  ++doEventsCount_;
  if (onDoEvents) onDoEvents();
  // Input that arrives while a handler runs waits for the next DoEvents, as
  // queued window messages do; take what is due now first.
  std::vector<ScriptedInput> due;
  while (!inputs_.empty() && static_cast<int32_t>(clock_ - inputs_.front().at) >= 0) {
    due.push_back(std::move(inputs_.front()));
    inputs_.pop_front();
  }
  for (const ScriptedInput& input : due)
    Deliver(input);
  if (window_ != nullptr) {
    window_->RunDueTimers(clock_);
    window_->RepaintIfNeeded();
  }
}

void HeadlessHost::Deliver(const ScriptedInput& input) {
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
  ScriptedInput down{clock_, ScriptedInput::Kind::MouseDown, x, y, button, 0, {}};
  ScriptedInput up = down;
  up.kind = ScriptedInput::Kind::MouseUp;
  Post(down);
  Post(up);
}

void HeadlessHost::PostKey(int16_t keyCode) {
  Post({clock_, ScriptedInput::Kind::KeyDown, 0, 0, MouseButton::None, keyCode, {}});
}

void HeadlessHost::PostMenuClick(std::string name) {
  Post({clock_, ScriptedInput::Kind::MenuClick, 0, 0, MouseButton::None, 0, std::move(name)});
}

}  // namespace dovetail
