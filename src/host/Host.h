#pragma once

#include <cstdint>
#include <string>

#include "host/MachineFacts.h"
#include "host/Surface.h"

namespace dovetail {

class Dialog;
class Window;

enum class MessageBoxButtons { Ok, OkCancel };
enum class MessageBoxAnswer { Ok, Cancel };

struct MessageBoxRequest {
  std::string text;   // exactly as the program words it; "\r\n" or "\n" break lines
  std::string title;  // the caption; the program's name when none is given
  MessageBoxButtons buttons = MessageBoxButtons::Ok;
  // Kept above every other window: a box that comes before the game's own
  // window (a second copy refused) must not slip behind another window.
  bool aboveOthers = false;
};

// Everything the engine needs from the machine. The engine never reads a wall
// clock and never talks to a toolkit: it goes through this interface, which
// three hosts implement: the desktop host (Qt), the headless host (virtual
// clock, scripted input) and the web host (a page in a browser).
class Host {
 public:
  virtual ~Host() = default;

  // Milliseconds since some start; 32 bits, wraps like the system tick count.
  virtual uint32_t TickCount() = 0;

  // Blocks for `ms` milliseconds. No events run meanwhile.
  virtual void Sleep(uint32_t ms) = 0;

  // Lets pending events run: input for the attached window, menu clicks,
  // dialog actions and due timers, and repaints of invalidated windows.
  // Handlers run nested inside this call.
  virtual void DoEvents() = 0;

  // One round of a loop that waits for the player (a click-wait, a choice):
  // sleeps `ms` milliseconds, then lets events run. Only events end such a
  // wait, so a host may sleep on past `ms` while no input has arrived and no
  // timer of the window is due, instead of waking every round for nothing.
  virtual void WaitForPlayer(uint32_t ms) {
    Sleep(ms);
    DoEvents();
  }

  // Shows the composed frame of the attached window at once.
  virtual void Present(const Surface& frame) = 0;
  // The same, when only the area at (x, y), `width` × `height`, changed since
  // the last frame shown; a host may show just that area.
  virtual void PresentArea(const Surface& frame, int32_t /*x*/, int32_t /*y*/, int32_t /*width*/,
                           int32_t /*height*/) {
    Present(frame);
  }

  // False when nobody looks at frames (a headless run, a test that watches
  // none): the window then composes nothing on refresh and only tells the
  // host, through FrameSkipped, that it would have shown a frame.
  virtual bool WantsFrames() const { return true; }
  virtual void FrameSkipped() {}

  // Shows a modal message box and returns the button chosen.
  virtual MessageBoxAnswer MessageBox(const MessageBoxRequest& request) = 0;

  // Shows a small modeless dialog over the window (name entry, options, about
  // box). Its handlers run while events are let run, until it is closed.
  virtual void ShowDialog(Dialog& dialog) = 0;
  // Takes the dialog off the screen; none of its handlers runs afterwards.
  virtual void CloseDialog(Dialog& dialog) = 0;

  // The window whose input, timers and frames this host handles.
  virtual void AttachWindow(Window* window) = 0;

  // Facts about the machine (see MachineFacts.h). Reading them never fails: a
  // figure the system does not give is 0, a text empty.
  virtual LocalDateTime LocalNow() = 0;
  virtual ScreenFacts Screen() = 0;
  virtual MemoryFacts Memory() = 0;
  virtual SystemFacts System() = 0;
  virtual ProcessorFacts Processor() = 0;

  // Opens a link ("https://…", "mailto:…") in the desktop's browser or mail
  // program; false when none could be started.
  virtual bool OpenLink(const std::string& url) = 0;

  // A line for whoever runs the program, not for the player: the reason
  // behind a failure the player sees only as the program's fixed message.
  // The desktop and headless hosts write it to the standard error stream, the
  // web host to the page's console.
  virtual void Diagnostic(const std::string& line) = 0;
};

}  // namespace dovetail
