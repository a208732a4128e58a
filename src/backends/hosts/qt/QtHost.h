#pragma once

#include <QElapsedTimer>
#include <QTranslator>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "backends/hosts/qt/DialogWindow.h"
#include "backends/hosts/qt/MainWindowShell.h"
#include "host/Host.h"
#include "host/InputEvent.h"
#include "window/EventPump.h"

namespace dovetail {

// The desktop host: the program's window as a Qt main window.
//
// Set-up in main(): create the QApplication, then a QtHost, then the program's
// `Window` on it (the window attaches itself). The main window appears on the
// first DoEvents or Present after that (or at ShowWindow). After start-up,
// main() calls RunEventLoop(), which lets events run until a handler ends the
// program by throwing ProgramExit; main() catches it and returns its code.
//
// Input is recorded by the Qt widgets as it arrives and handed to the window
// model inside DoEvents, after Qt's own processing, one event at a time, so the
// program's handlers (which may wait, let events run again, or end the program)
// never run inside Qt's event dispatch and their exceptions leave DoEvents
// normally.
//
// Program dialogs are the same: each open `Dialog` has its own modeless
// DialogWindow over the main window. Its clicks, close box and loss of focus
// are recorded like the other input; before a dialog's handler runs, the
// player's edits are written into the model, and after events ran the
// program's changes to the model are shown. A dialog's model must stay alive
// until CloseDialog.
class QtHost : public Host, private EventSource {
 public:
  // Needs a QApplication. Installs the Japanese texts of Qt's standard buttons.
  QtHost();
  ~QtHost() override;
  QtHost(const QtHost&) = delete;
  QtHost& operator=(const QtHost&) = delete;

  uint32_t TickCount() override;
  void Sleep(uint32_t ms) override;
  void DoEvents() override;
  void WaitForPlayer(uint32_t ms) override;
  // Shows the frame before returning: the canvas repaints synchronously.
  void Present(const Surface& frame) override;
  // Copies and repaints only the area that changed.
  void PresentArea(const Surface& frame, int32_t x, int32_t y, int32_t width,
                   int32_t height) override;
  // Over the dialog opened last, if any, so that a topmost dialog does not
  // hide it; otherwise over the main window.
  MessageBoxAnswer MessageBox(const MessageBoxRequest& request) override;
  // Shows the dialog centred over the game's picture, enlarged by the
  // window's zoom; with `imeOpen` its first text box has the focus at once. Showing an
  // open dialog again raises it.
  void ShowDialog(Dialog& dialog) override;
  // Hides the dialog (its window is deleted once Qt is done with it) and
  // drops the input recorded for it. Safe from the dialog's own handlers.
  void CloseDialog(Dialog& dialog) override;
  void AttachWindow(Window* window) override;
  LocalDateTime LocalNow() override;
  // The screen the main window is on.
  ScreenFacts Screen() override;
  MemoryFacts Memory() override;
  SystemFacts System() override;
  ProcessorFacts Processor() override;
  bool OpenLink(const std::string& url) override;
  void Diagnostic(const std::string& line) override;
  // The desktop window of an open dialog, or null.
  DialogWindow* DialogWindowFor(const Dialog& dialog) const;

  Window* AttachedWindow() const override { return window_; }

  // Shows the main window now.
  void ShowWindow();

  // The window's event loop: waits for events, lets them run and fires the
  // window's timers, until a handler throws (ProgramExit ends the program).
  [[noreturn]] void RunEventLoop();

  MainWindowShell& Shell() { return *shell_; }
  CanvasWidget& Canvas() { return shell_->Canvas(); }

  // Called after each frame is on the screen (for the start-up report).
  std::function<void()> onPresented;

 private:
  // Sleeps until Qt has an event or the window's next timer is due.
  void SleepUntilSomethingHappens();
  void Post(InputEvent input);
  // The input the widgets recorded, once a window is attached.
  bool TakeInput(InputEvent& input) override;
  // The player's edits are written into the dialog's model first.
  void DeliverToDialog(const InputEvent& input) override;
  // Shows the program's cursor for the point the mouse moved to first.
  void DeliverToWindow(Window& window, const InputEvent& input) override;
  void SyncMenuAndDialogs() override;
  void SyncWindow();
  // Where a dialog of `size` goes: centred over the game's picture.
  QPoint PlaceOverPicture(QSize size);
  void ShowOnFirstUse();

  QElapsedTimer clock_;
  QTranslator translator_;
  bool translationLoaded_ = false;
  std::unique_ptr<MainWindowShell> shell_;
  Window* window_ = nullptr;
  bool shown_ = false;
  bool synced_ = false;
  uint64_t menuRevision_ = 0;
  // A disabled window (a dialog of the program is open) shows its menu
  // items disabled.
  bool windowEnabled_ = true;
  std::deque<InputEvent> inputs_;
  // The open dialogs, the one opened last at the back.
  std::vector<std::pair<const Dialog*, DialogWindow*>> dialogs_;
};

}  // namespace dovetail
