#include "backends/hosts/headless/HeadlessHost.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <utility>

#include "window/Dialog.h"
#include "window/Window.h"

namespace dovetail {

void HeadlessHost::DoEvents() {
  ++clock_;
  ++doEventsCount_;
  if (onDoEvents) onDoEvents();
  PumpEvents(*this, *this);
}

bool HeadlessHost::TakeInput(InputEvent& input) {
  if (inputs_.empty() || static_cast<int32_t>(clock_ - inputs_.front().at) < 0) return false;
  input = std::move(inputs_.front().event);
  inputs_.pop_front();
  return true;
}

LocalDateTime HeadlessHost::LocalNow() {
  using namespace std::chrono;
  int y = 0;
  unsigned mo = 0;
  unsigned d = 0;
  int h = 0;
  int mi = 0;
  int s = 0;
  if (std::sscanf(machine.now.date.c_str(), "%d/%u/%u", &y, &mo, &d) != 3 ||
      std::sscanf(machine.now.time.c_str(), "%d:%d:%d", &h, &mi, &s) != 3) {
    return machine.now;
  }
  const year_month_day start{year{y}, month{mo}, day{d}};
  if (!start.ok()) return machine.now;
  const sys_seconds at =
      sys_days{start} + hours{h} + minutes{mi} + seconds{s} + seconds{clock_ / 1000};
  const sys_days date = floor<days>(at);
  const year_month_day ymd{date};
  const hh_mm_ss clock{at - date};
  char dateText[16];
  char timeText[16];
  std::snprintf(dateText, sizeof dateText, "%04d/%02u/%02u", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
  std::snprintf(timeText, sizeof timeText, "%d:%02d:%02d", static_cast<int>(clock.hours().count()),
                static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return {dateText, timeText};
}

void HeadlessHost::ShowDialog(Dialog& dialog) {
  if (std::find(dialogs_.begin(), dialogs_.end(), &dialog) == dialogs_.end()) {
    dialogs_.push_back(&dialog);
  }
}

void HeadlessHost::CloseDialog(Dialog& dialog) {
  dialogs_.erase(std::remove(dialogs_.begin(), dialogs_.end(), &dialog), dialogs_.end());
}

void HeadlessHost::DeliverToDialog(const InputEvent& input) {
  if (dialogs_.empty()) {
    if (input.kind == InputEvent::Kind::DialogClose && window_ != nullptr) {
      window_->DeliverCloseRequest();
    }
    return;
  }
  dialogs_.back()->TakePlayerInput(input);
}

void HeadlessHost::Diagnostic(const std::string& line) {
  std::cerr << line << '\n';
}

bool HeadlessHost::OpenLink(const std::string& url) {
  links_.push_back(url);
  return true;
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
  Post({clock_, InputEvent::Mouse(InputEvent::Kind::MouseDown, x, y, button)});
  Post({clock_, InputEvent::Mouse(InputEvent::Kind::MouseUp, x, y, button)});
}

void HeadlessHost::PostKey(int16_t keyCode) {
  InputEvent key;
  key.kind = InputEvent::Kind::KeyDown;
  key.keyCode = keyCode;
  Post({clock_, key});
}

void HeadlessHost::PostDialogInput(InputEvent::Kind kind, std::string text) {
  InputEvent input;
  input.kind = kind;
  // Press names the control; Type carries the text.
  if (kind == InputEvent::Kind::Press) {
    input.name = std::move(text);
  } else {
    input.text = std::move(text);
  }
  Post({clock_, std::move(input)});
}

void HeadlessHost::PostMenuClick(std::string name) {
  InputEvent click;
  click.kind = InputEvent::Kind::MenuClick;
  click.name = std::move(name);
  Post({clock_, std::move(click)});
}

}  // namespace dovetail
