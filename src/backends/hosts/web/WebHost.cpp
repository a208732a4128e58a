#include "backends/hosts/web/WebHost.h"

#include <emscripten.h>

#include <algorithm>
#include <iterator>

#include "backends/hosts/web/PageSeam.h"
#include "backends/hosts/web/PageTables.h"
#include "base/JsonText.h"
#include "window/Dialog.h"
#include "window/Window.h"

namespace dovetail {

namespace {

// The dialog as the page draws it (web/page/dialogs.js).
std::string Describe(const Dialog& dialog) {
  JsonWriter json;
  json.BeginObject().Key("caption").String(dialog.caption);
  json.Key("width").Number(dialog.width).Key("height").Number(dialog.height);
  json.Key("defaultButton").String(dialog.defaultButton).Key("controls").BeginArray();
  for (const DialogControl& control : dialog.Controls()) {
    json.BeginObject().Key("name").String(control.name);
    json.Key("kind").String(page::ControlKindName(control.kind));
    json.Key("text").String(control.text);
    json.Key("left").Number(control.left).Key("top").Number(control.top);
    json.Key("width").Number(control.width).Key("height").Number(control.height);
    json.Key("enabled").Bool(control.enabled).Key("checked").Bool(control.checked);
    json.Key("multiLine").Bool(control.multiLine).Key("maxLength").Number(control.maxLength);
    json.Key("frame").String(control.frame).EndObject();
  }
  return json.EndArray().EndObject().Text();
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

bool WebHost::TakeInput(InputEvent& input) {
  PageEvent event{};
  if (window_ == nullptr || dovetail_web_next_event(&event) == 0) return false;
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
  input.dialog = open == dialogs_.end() ? nullptr : open->second.dialog;
  return true;
}

void WebHost::DeliverToDialog(const InputEvent& input) {
  for (const auto& [id, open] : dialogs_) {
    if (open.dialog == input.dialog) {
      open.dialog->TakePlayerInput(input);
      return;
    }
  }
}

void WebHost::DoEvents() {
  if (onTimePassed) onTimePassed();
  SyncMenu();
  PumpEvents(*this, *this);
}

void WebHost::SyncMenuAndDialogs() {
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
  JsonWriter json;
  json.BeginArray();
  for (const auto& item : window_->MenuItems()) {
    json.BeginObject().Key("name").String(item->Name()).Key("caption").String(item->Caption());
    json.Key("menu").String(item->Menu()).Key("enabled").Bool(item->Enabled() && windowEnabled_);
    json.Key("checkable").Bool(item->Checkable()).Key("checked").Bool(item->Checked()).EndObject();
  }
  dovetail_web_set_menu(json.EndArray().Text().c_str());
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
