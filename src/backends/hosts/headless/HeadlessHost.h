#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/InputEvent.h"
#include "window/EventPump.h"

namespace dovetail {

// One piece of scripted input, delivered by the first DoEvents at or after its
// virtual time. The dialog kinds act on the dialog opened last, as the player
// would: Type puts the text into its first text box, Press ticks a check box
// or option button first, as its widget would, then clicks it; DialogClose
// with no dialog open is the main window's close box. A key goes to the
// dialog opened last, if any (it has the keyboard), as a DialogKey.
struct ScriptedInput {
  uint32_t at = 0;
  InputEvent event;
};

struct RecordedMessageBox {
  uint32_t at = 0;
  MessageBoxRequest request;
  MessageBoxAnswer answer = MessageBoxAnswer::Ok;
};

// The host for tests, the headless runner and benchmarks. Time is virtual:
// Sleep advances the clock by its argument and every DoEvents by 1 ms, so loops
// that poll the tick count end, and a run with long pauses takes no real time.
// Input comes from a queue; message boxes are recorded and answered from a
// queue of answers (OK when it is empty).
class HeadlessHost : public Host, private EventSource {
 public:
  explicit HeadlessHost(uint32_t startTick = 0) : clock_(startTick) {}

  uint32_t TickCount() override { return clock_; }
  void Sleep(uint32_t ms) override { clock_ += ms; }
  void DoEvents() override;
  void Present(const Surface& frame) override;
  // Frames are composed only for someone watching them (onPresent); a
  // snapshot or a picture test composes the window itself when it needs to.
  bool WantsFrames() const override { return wantsFrames_ && onPresent != nullptr; }
  // Counted as a present: PresentCount is how often the window was shown.
  void FrameSkipped() override { ++presentCount_; }
  MessageBoxAnswer MessageBox(const MessageBoxRequest& request) override;
  void AttachWindow(Window* window) override { window_ = window; }
  void ShowDialog(Dialog& dialog) override;
  void CloseDialog(Dialog& dialog) override;
  // machine.now moved on by the virtual clock's whole seconds, when it is in
  // the "yyyy/MM/dd" and "H:mm:ss" forms; otherwise as it is.
  LocalDateTime LocalNow() override;
  ScreenFacts Screen() override { return machine.screen; }
  MemoryFacts Memory() override { return machine.memory; }
  SystemFacts System() override { return machine.system; }
  ProcessorFacts Processor() override { return machine.processor; }
  // Records the link and reports it opened.
  bool OpenLink(const std::string& url) override;
  const std::vector<std::string>& OpenedLinks() const { return links_; }
  void Diagnostic(const std::string& line) override;

  // The machine this host reports: fixed values, the same on every run, that
  // a test changes to try the paths that depend on them. The local time is
  // that of virtual time 0.
  struct Machine {
    LocalDateTime now{"2026/01/01", "12:00:00"};
    ScreenFacts screen{1920, 1080, 32};
    MemoryFacts memory{8ull << 30,   4ull << 30,   2ull << 30, 2ull << 30,
                       128ull << 40, 127ull << 40, 50};
    SystemFacts system{"Linux", "6.1.0", 6, 1, 0};
    ProcessorFacts processor{"x86_64", 6, 85, 7, 4};
  };
  Machine machine;
  // Open dialogs, the last opened last.
  const std::vector<Dialog*>& OpenDialogs() const { return dialogs_; }

  Window* AttachedWindow() const override { return window_; }

  // Whether the window may compose frames on refresh (on by default, for a
  // watcher set in onPresent; a long headless run turns it off and composes
  // only for snapshots).
  void SetWantsFrames(bool wants) { wantsFrames_ = wants; }

  // Queues input. Events with equal times are delivered in the order queued.
  void Post(ScriptedInput input);
  void PostClick(int32_t x, int32_t y, MouseButton button = MouseButton::Left);
  void PostKey(int16_t keyCode);
  void PostMenuClick(std::string name);
  // Type (`text` typed), Press (`text` is the control) or DialogClose.
  void PostDialogInput(InputEvent::Kind kind, std::string text = {});
  bool InputPending() const { return !inputs_.empty(); }

  void QueueAnswer(MessageBoxAnswer answer) { answers_.push_back(answer); }
  const std::vector<RecordedMessageBox>& MessageBoxes() const { return messageBoxes_; }

  // Called at the start of every DoEvents (the driver of a headless run looks
  // at the program's state here and queues the next input).
  std::function<void()> onDoEvents;
  // Called for every message box before the queued answer is used; an answer
  // returned here wins.
  std::function<std::optional<MessageBoxAnswer>(const MessageBoxRequest&)> onMessageBox;
  // Called for every presented frame.
  std::function<void(const Surface&)> onPresent;

  uint64_t PresentCount() const { return presentCount_; }
  uint64_t DoEventsCount() const { return doEventsCount_; }

 private:
  // The input due by the virtual clock.
  bool TakeInput(InputEvent& input) override;
  bool DialogHasKeyboard() const override { return !dialogs_.empty(); }
  // To the dialog opened last; with none open, a DialogClose is the main
  // window's close box.
  void DeliverToDialog(const InputEvent& input) override;

  uint32_t clock_;
  Window* window_ = nullptr;
  bool wantsFrames_ = true;
  std::deque<ScriptedInput> inputs_;
  std::vector<Dialog*> dialogs_;
  std::deque<MessageBoxAnswer> answers_;
  std::vector<RecordedMessageBox> messageBoxes_;
  std::vector<std::string> links_;
  uint64_t presentCount_ = 0;
  uint64_t doEventsCount_ = 0;
};

}  // namespace dovetail
