#include "platform/web/WebHost.h"

#include <emscripten.h>

#include <algorithm>
#include <iterator>

#include "base/JsonText.h"
#include "platform/Dialog.h"
#include "platform/Window.h"

// The page's side of the host (WebHostLibrary.js).
extern "C" {
double dovetail_web_now();
void dovetail_web_wait(uint32_t ms);
int dovetail_web_next_event(void* event);
void dovetail_web_present(const void* pixels, int32_t width, int32_t height);
int dovetail_web_message_box(const char* text, const char* title, int okCancel);
void dovetail_web_show_dialog(int32_t id, const char* description);
void dovetail_web_close_dialog(int32_t id);
void dovetail_web_set_menu(const char* description);
int dovetail_web_open_link(const char* url);
void dovetail_web_diagnostic(const char* line);
void dovetail_web_local_now(char* date, char* time);
void dovetail_web_machine(double* facts);
void dovetail_web_system(char* name, int32_t size);
}

namespace dovetail {

namespace {

// An input event as the page writes it: eight numbers, then the name and the
// text as NUL-terminated UTF-8.
struct PageEvent {
  int32_t kind;
  int32_t x;
  int32_t y;
  int32_t button;
  int32_t shift;
  int32_t keyCode;
  int32_t wheel;
  int32_t dialog;
  char name[256];
  char text[1024];
};

std::string Json(std::string_view text) {
  std::string out;
  AppendJsonString(out, text);
  return out;
}

const char* ControlKindName(DialogControlKind kind) {
  switch (kind) {
    case DialogControlKind::Label:
      return "label";
    case DialogControlKind::TextBox:
      return "text";
    case DialogControlKind::Button:
      return "button";
    case DialogControlKind::CheckBox:
      return "check";
    case DialogControlKind::OptionButton:
      return "option";
    case DialogControlKind::Frame:
      return "frame";
    case DialogControlKind::Link:
      return "link";
  }
  return "label";
}

std::string Describe(const Dialog& dialog) {
  std::string out = "{\"caption\":" + Json(dialog.caption) +
                    ",\"width\":" + std::to_string(dialog.width) +
                    ",\"height\":" + std::to_string(dialog.height) +
                    ",\"defaultButton\":" + Json(dialog.defaultButton) + ",\"controls\":[";
  bool first = true;
  for (const DialogControl& control : dialog.Controls()) {
    out += first ? "" : ",";
    first = false;
    out += "{\"name\":" + Json(control.name) + ",\"kind\":\"" + ControlKindName(control.kind) +
           "\",\"text\":" + Json(control.text) + ",\"left\":" + std::to_string(control.left) +
           ",\"top\":" + std::to_string(control.top) +
           ",\"width\":" + std::to_string(control.width) +
           ",\"height\":" + std::to_string(control.height) +
           ",\"enabled\":" + (control.enabled ? "true" : "false") +
           ",\"checked\":" + (control.checked ? "true" : "false") +
           ",\"multiLine\":" + (control.multiLine ? "true" : "false") +
           ",\"maxLength\":" + std::to_string(control.maxLength) +
           ",\"frame\":" + Json(control.frame) + "}";
  }
  return out + "]}";
}

}  // namespace

uint32_t WebHost::TickCount() {
  return static_cast<uint32_t>(static_cast<uint64_t>(dovetail_web_now()));
}

void WebHost::Sleep(uint32_t ms) {
  // What the program changed is shown before the page waits: the browser
  // paints only while the program waits.
  if (window_ != nullptr) window_->RepaintIfNeeded();
  // Even a sleep of 0 gives the page back to the browser once.
  uint32_t left = ms;
  do {
    const uint32_t slice = std::min(left, kLongestWaitMs);
    emscripten_sleep(slice);
    left -= slice;
    if (onTimePassed) onTimePassed();
  } while (left > 0);
}

void WebHost::WaitForPlayer(uint32_t ms) {
  if (window_ != nullptr) window_->RepaintIfNeeded();
  uint32_t wait = std::min(ms, kLongestWaitMs);
  if (window_ != nullptr) {
    if (auto due = window_->MsUntilNextTimer(TickCount())) wait = std::min(wait, *due);
  }
  dovetail_web_wait(wait);
  DoEvents();
}

void WebHost::RunEventLoop() {
  for (;;)
    WaitForPlayer(kLongestWaitMs);
}

bool WebHost::TakeInput(InputEvent& input, Dialog*& dialog) {
  PageEvent event{};
  if (dovetail_web_next_event(&event) == 0) return false;
  input = InputEvent{};
  input.kind = static_cast<InputEvent::Kind>(event.kind);
  input.x = event.x;
  input.y = event.y;
  input.button = static_cast<MouseButton>(event.button);
  input.shift = static_cast<int16_t>(event.shift);
  input.keyCode = static_cast<int16_t>(event.keyCode);
  input.wheel = event.wheel;
  input.name = event.name;
  input.text = event.text;
  auto open = dialogs_.find(event.dialog);
  dialog = open == dialogs_.end() ? nullptr : open->second.dialog;
  input.dialog = dialog;
  return true;
}

void WebHost::Deliver(const InputEvent& input, Dialog* dialog) {
  // A dialog's event for a dialog closed meanwhile goes nowhere.
  if (input.ForDialog()) {
    if (dialog != nullptr) dialog->TakePlayerInput(input);
    return;
  }
  if (window_ != nullptr) window_->Deliver(input);
}

void WebHost::DoEvents() {
  if (onTimePassed) onTimePassed();
  SyncMenu();
  // One event at a time: a handler that lets events run again takes the
  // next one, so the order of arrival is kept.
  InputEvent input;
  Dialog* dialog = nullptr;
  while (window_ != nullptr && TakeInput(input, dialog))
    Deliver(input, dialog);
  if (window_ != nullptr) {
    window_->RunDueTimers(TickCount());
    window_->RepaintIfNeeded();
  }
  SyncMenu();
  SyncDialogs();
}

void WebHost::Present(const Surface& frame) {
  dovetail_web_present(frame.Pixels().data(), frame.Width(), frame.Height());
}

MessageBoxAnswer WebHost::MessageBox(const MessageBoxRequest& request) {
  if (window_ != nullptr) window_->RepaintIfNeeded();
  const int answer =
      dovetail_web_message_box(request.text.c_str(), request.title.c_str(),
                               request.buttons == MessageBoxButtons::OkCancel ? 1 : 0);
  const MessageBoxAnswer answered = answer == 1 ? MessageBoxAnswer::Ok : MessageBoxAnswer::Cancel;
  if (onMessageBoxAnswered) onMessageBoxAnswered(request, answered);
  return answered;
}

void WebHost::ShowDialog(Dialog& dialog) {
  for (const auto& [id, open] : dialogs_) {
    if (open.dialog == &dialog) return;
  }
  const int32_t id = nextDialogId_++;
  dialogs_[id] = {&dialog, dialog.Revision()};
  dovetail_web_show_dialog(id, Describe(dialog).c_str());
}

void WebHost::CloseDialog(Dialog& dialog) {
  for (auto open = dialogs_.begin(); open != dialogs_.end(); ++open) {
    if (open->second.dialog == &dialog) {
      dovetail_web_close_dialog(open->first);
      dialogs_.erase(open);
      return;
    }
  }
}

void WebHost::SyncDialogs() {
  for (auto& [id, open] : dialogs_) {
    if (open.dialog->Revision() == open.revision) continue;
    open.revision = open.dialog->Revision();
    dovetail_web_show_dialog(id, Describe(*open.dialog).c_str());
  }
}

void WebHost::AttachWindow(Window* window) {
  window_ = window;
  menuSynced_ = false;
  if (window_ == nullptr) dovetail_web_set_menu("[]");
  SyncMenu();
}

void WebHost::SyncMenu() {
  if (window_ == nullptr) return;
  if (menuSynced_ && window_->MenuRevision() == menuRevision_ &&
      window_->Enabled() == windowEnabled_)
    return;
  menuSynced_ = true;
  menuRevision_ = window_->MenuRevision();
  windowEnabled_ = window_->Enabled();
  std::string out = "[";
  for (const auto& item : window_->MenuItems()) {
    out += out.size() > 1 ? "," : "";
    out += "{\"name\":" + Json(item->Name()) + ",\"caption\":" + Json(item->Caption()) +
           ",\"menu\":" + Json(item->Menu()) +
           ",\"enabled\":" + (item->Enabled() && windowEnabled_ ? "true" : "false") +
           ",\"checkable\":" + (item->Checkable() ? "true" : "false") +
           ",\"checked\":" + (item->Checked() ? "true" : "false") + "}";
  }
  dovetail_web_set_menu((out + "]").c_str());
}

LocalDateTime WebHost::LocalNow() {
  char date[32] = {};
  char time[32] = {};
  dovetail_web_local_now(date, time);
  return {date, time};
}

ScreenFacts WebHost::Screen() {
  double facts[6] = {};
  dovetail_web_machine(facts);
  return {static_cast<int32_t>(facts[0]), static_cast<int32_t>(facts[1]),
          static_cast<int32_t>(facts[2])};
}

MemoryFacts WebHost::Memory() {
  // The browser tells only the device's memory, roughly (in GiB), and
  // nothing of what is free.
  double facts[6] = {};
  dovetail_web_machine(facts);
  MemoryFacts memory;
  memory.totalPhysical = static_cast<uint64_t>(facts[3] * double(1ull << 30));
  return memory;
}

SystemFacts WebHost::System() {
  char name[256] = {};
  dovetail_web_system(name, sizeof name);
  SystemFacts system;
  system.name = name;
  return system;
}

ProcessorFacts WebHost::Processor() {
  double facts[6] = {};
  dovetail_web_machine(facts);
  ProcessorFacts processor;
  processor.architecture = "wasm32";
  processor.count = static_cast<int32_t>(facts[4]);
  return processor;
}

bool WebHost::OpenLink(const std::string& url) {
  return dovetail_web_open_link(url.c_str()) != 0;
}

void WebHost::Diagnostic(const std::string& line) {
  dovetail_web_diagnostic(line.c_str());
}

}  // namespace dovetail
