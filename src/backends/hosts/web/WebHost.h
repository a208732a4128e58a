#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "host/Host.h"
#include "host/InputEvent.h"
#include "window/EventPump.h"

namespace dovetail {

// The host of the game in a web browser (the page of web/, with the
// functions of WebHostLibrary.js). Time is the browser's clock; a wait gives
// the page back to the browser (the program is built with ASYNCIFY, so a
// blocking wait unwinds to the browser's event loop and resumes after it).
// Frames go to the page's canvas, input comes from the page's queue, and the
// message boxes, dialogs and menu bar are HTML over the canvas, drawn by the
// page from descriptions this host gives it.
class WebHost final : public Host, private EventSource {
 public:
  WebHost() = default;
  WebHost(const WebHost&) = delete;
  WebHost& operator=(const WebHost&) = delete;

  uint32_t TickCount() override;
  void Sleep(uint32_t ms) override;
  void DoEvents() override;
  // Sleeps until input arrives or a window timer is due, at most `ms` and
  // never longer than kLongestWaitMs.
  void WaitForPlayer(uint32_t ms) override;
  void Present(const Surface& frame) override;
  MessageBoxAnswer MessageBox(const MessageBoxRequest& request) override;
  void ShowDialog(Dialog& dialog) override;
  void CloseDialog(Dialog& dialog) override;
  void AttachWindow(Window* window) override;
  LocalDateTime LocalNow() override;
  ScreenFacts Screen() override;
  MemoryFacts Memory() override;
  SystemFacts System() override;
  ProcessorFacts Processor() override;
  bool OpenLink(const std::string& url) override;
  void Diagnostic(const std::string& line) override;

  // The program's own loop once start-up is done: events as they come.
  // Returns never; the program ends by ProgramExit.
  [[noreturn]] void RunEventLoop();

  // Called at every DoEvents, and every kLongestWaitMs at most while the
  // program sleeps (the music is sequenced by the clock on this thread).
  std::function<void()> onTimePassed;
  // Called with every message box once the player has answered it.
  std::function<void(const MessageBoxRequest&, MessageBoxAnswer)> onMessageBoxAnswered;

  static constexpr uint32_t kLongestWaitMs = 20;

 private:
  Window* AttachedWindow() const override { return window_; }
  // The next input from the page, once a window is attached, with the open
  // dialog it is for (null for the window's input, or a dialog closed since).
  bool TakeInput(InputEvent& input) override;
  // A dialog's event for a dialog closed meanwhile goes nowhere.
  void DeliverToDialog(const InputEvent& input) override;
  void SyncMenuAndDialogs() override;
  void SyncMenu();
  void SyncDialogs();

  Window* window_ = nullptr;
  uint64_t menuRevision_ = 0;
  bool menuSynced_ = false;
  bool windowEnabled_ = true;
  // Open dialogs by the number the page knows them by, and the revision shown.
  struct OpenDialog {
    Dialog* dialog = nullptr;
    uint64_t revision = 0;
  };
  std::map<int32_t, OpenDialog> dialogs_;
  int32_t nextDialogId_ = 1;
};

}  // namespace dovetail
