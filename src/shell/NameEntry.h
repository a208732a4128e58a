#pragma once

#include "screen/SceneContext.h"
#include "window/Dialog.h"

namespace dovetail {

class DialogEvents;

// The hero-name dialog (NameEnt) of the script command "g4": a label, a text
// box with the hero's surname and given name (it takes seven characters at
// the most), and an OK button. OK takes the typed name (see AcceptHeroName),
// and so does Enter; a name the rule does not take is told in a message box
// and the dialog stays open. Closing the dialog by
// its close box or Escape keeps the names. Either way the window is enabled
// again and the story's click-wait is released, so the story goes on.
class NameEntry {
 public:
  NameEntry(const SceneContext& scene, DialogEvents& events);
  NameEntry(const NameEntry&) = delete;
  NameEntry& operator=(const NameEntry&) = delete;

  // Opens the dialog over the disabled main window; returns at once (the
  // story waits for it in its click-wait).
  void Open();
  bool IsOpen() const { return open_; }
  // The dialog's model, while it is open.
  Dialog& NameEnt() { return nameEnt_; }

 private:
  // OK (or Enter): takes the name, or says why it cannot.
  void TakeTypedName();
  void Close(bool accept);

  SceneContext scene_;
  DialogEvents& events_;
  Dialog nameEnt_;
  bool open_ = false;
};

}  // namespace dovetail
