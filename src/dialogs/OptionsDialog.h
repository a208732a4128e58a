#pragma once

#include <functional>
#include <string>

#include "base/Result.h"
#include "screen/SceneContext.h"
#include "sound/Sound.h"
#include "sound/SoundFlags.h"
#include "window/Dialog.h"

namespace dovetail {

class DialogEvents;

// The options dialog (menu item "opt"): message speed, music and effects on
// or off, the fade on stop, and the music device. It opens over the disabled
// main window, on top, showing the current choices; every way of closing it
// enables the window again.
//
// OK, in this order: the message speed takes effect at once (it is not
// saved); a change of the music device asks whether the program may end
// (Cancel keeps the dialog open and changes nothing more); the first line of
// the settings file gets the four choices (every other character and line
// kept, the file replaced atomically); the sound choices take effect in memory
// (music switched off stops at once; switched on, it waits for the next
// piece); after a device change the program ends through its normal exit, the
// new device in force at the next start. A settings file that cannot be read
// or written is reported naming it; then nothing is saved, the sound choices
// stay as they were and the dialog stays open.
//
// Cancel and the close box close the dialog without changes.
class OptionsDialog {
 public:
  // `sound` is the run's sound options (the ones `sound` plays by).
  // `saveSoundFlags` rewrites the settings file's first line from the sound
  // options and the device for the next start (true: the looping player); its
  // error names the file. `form_Unload` ends the program through its normal
  // exit.
  OptionsDialog(const SceneContext& scene, DialogEvents& events, SoundFlags& flags, Sound& sound,
                std::function<Status(const SoundFlags& flags, bool useDirectMusic)> saveSoundFlags,
                std::function<void()> form_Unload);
  OptionsDialog(const OptionsDialog&) = delete;
  OptionsDialog& operator=(const OptionsDialog&) = delete;

  // Opens the dialog; returns at once (it is modeless).
  void Form_Load();
  bool IsOpen() const { return open_; }
  // The dialog's model, while it is open.
  Dialog& Model() { return dialog_; }

 private:
  void Command1_Click();
  void Form_Unload();
  // True when the device chosen differs from the one in use.
  bool DeviceChanged();
  bool Ticked(const char* control);
  void ApplyMessageSpeed();
  // The sound choices ticked; the device stays the one in use.
  SoundFlags ChosenSound();
  void ApplySoundChoices(const SoundFlags& chosen);

  SceneContext scene_;
  DialogEvents& events_;
  SoundFlags& flags_;
  Sound& sound_;
  std::function<Status(const SoundFlags&, bool)> saveSoundFlags_;
  std::function<void()> endProgram_;
  Dialog dialog_;
  bool open_ = false;
};

}  // namespace dovetail
